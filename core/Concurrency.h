#pragma once
// How many threads a calculation may share its work among. A calculation run
// by one of several threads that already share a larger one (a batch's rows,
// a Monte Carlo's draws) finds the cores busy and keeps to its own thread.

#include <functional>

namespace qex {

// Every core on a thread of its own; 1 on a thread marked below.
int AvailableThreads();

// While one lives, AvailableThreads() is 1 on its thread.
class CSharedWorkThread {
public:
    CSharedWorkThread();
    ~CSharedWorkThread();
    CSharedWorkThread(const CSharedWorkThread&) = delete;
    CSharedWorkThread& operator=(const CSharedWorkThread&) = delete;
};

// Items 0 .. count-1 shared among at most `threads` threads, taken `chunk`
// at a time from one counter: each call work(participant, first, last)
// handles items first..last, participant 0 being the calling thread, which
// works too and alone calls progress(items done) after each of its chunks.
// False from progress stops the others after their chunk. Fewer threads when
// the system gives no more. False when stopped.
using SharedWork = std::function<void(int participant, int first, int last)>;
bool ShareWork(int count, int threads, int chunk, const SharedWork& work,
               const std::function<bool(int done)>& progress = {});

// How many threads ShareWork uses at most (participants 0 .. n-1).
int ShareWorkParticipants(int count, int threads, int chunk);

} // namespace qex
