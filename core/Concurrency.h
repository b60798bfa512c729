#pragma once
// How many threads a calculation may share its work among. A calculation run
// by one of several threads that already share a larger one (a batch's rows,
// a Monte Carlo's draws) finds the cores busy and keeps to its own thread.

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

} // namespace qex
