#include "core/Concurrency.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace qex {

namespace {
thread_local int t_sharedWork = 0;
} // namespace

int AvailableThreads()
{
    if (t_sharedWork > 0)
        return 1;
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

CSharedWorkThread::CSharedWorkThread()
{
    ++t_sharedWork;
}

CSharedWorkThread::~CSharedWorkThread()
{
    --t_sharedWork;
}

int ShareWorkParticipants(int count, int threads, int chunk)
{
    chunk = std::max(chunk, 1);
    return std::max(1, std::min(threads, (count + chunk - 1) / chunk));
}

bool ShareWork(int count, int threads, int chunk, const SharedWork& work, const std::function<bool(int done)>& progress)
{
    chunk = std::max(chunk, 1);
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::atomic<bool> stop{false};
    // One chunk; false when none is left or the work was stopped.
    auto take = [&](int participant) {
        const int first = next.fetch_add(chunk, std::memory_order_relaxed);
        if (stop.load(std::memory_order_relaxed) || first >= count)
            return false;
        const int last = std::min(first + chunk, count) - 1;
        work(participant, first, last);
        done.fetch_add(last - first + 1, std::memory_order_relaxed);
        return true;
    };
    // What a participant threw (memory running out): the others stop, and
    // the calling thread throws it once they have.
    std::mutex failureMutex;
    std::exception_ptr failure;
    auto participate = [&](int participant) {
        try {
            while (take(participant))
                if (participant == 0 && progress && !progress(done.load()))
                    stop.store(true);
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failureMutex);
            if (!failure)
                failure = std::current_exception();
            stop.store(true);
        }
    };
    std::vector<std::thread> helpers;
    try {
        for (int i = 1; i < ShareWorkParticipants(count, threads, chunk); ++i)
            helpers.emplace_back(participate, i);
    } catch (...) {
        // No more threads to be had (or no memory for them): those started
        // and this one do the work.
    }
    participate(0);
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
    return !stop.load();
}

} // namespace qex
