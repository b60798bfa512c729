#pragma once
// An advisory lock on folders (flock(2) on the folder itself), so that
// programs writing many files into one folder put them in place one after
// the other: two batches writing to one output folder never leave a mixture
// of their files. The lock goes with the process: a killed holder frees it.

#include <functional>
#include <string>
#include <vector>

namespace qex {

// Called when the lock is held elsewhere: first with true, then about every
// tenth of a second with false while the wait goes on; false gives up.
using FolderLockWait = std::function<bool(bool first)>;

class CFolderLock {
public:
    CFolderLock() = default;
    ~CFolderLock() { Unlock(); }
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;

    // Takes the lock of every folder (each once, in one order for every
    // process, so two programs locking the same folders never wait for each
    // other forever), waiting while another holds one. False, with errno in
    // `error` and the folder in `failed`, when a folder cannot be opened, or
    // with error 0 when `wait` gave up; nothing is then held.
    bool Lock(const std::vector<std::string>& folders, int& error, std::string& failed,
              const FolderLockWait& wait = {});
    void Unlock();

private:
    std::vector<int> m_fds;
};

} // namespace qex
