#include "core/Concurrency.h"

#include <algorithm>
#include <thread>

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

} // namespace qex
