#pragma once
// Named temporary files that a signal must not leave behind. Where the file
// system cannot create unnamed files, the atomic writer registers each
// temporary name here; the handlers installed by InstallTemporaryFileCleanup
// remove every registered file on SIGINT, SIGTERM, SIGHUP and SIGPIPE and then
// end the process by the same signal, as if no handler had run. (SIGKILL
// cannot be caught: only unnamed temporaries survive it without trace.)

#include <csignal>
#include <string>

namespace qex {

// Installs the handlers; a signal the process was started with ignored (a
// SIGHUP under nohup, a SIGPIPE ignored by the caller) stays ignored.
void InstallTemporaryFileCleanup();

// Blocks the four signals while it lives, so that creating a file and
// registering it (or renaming it and forgetting it) cannot be torn apart.
class CCleanupSignalsBlocked {
public:
    CCleanupSignalsBlocked();
    ~CCleanupSignalsBlocked();
    CCleanupSignalsBlocked(const CCleanupSignalsBlocked&) = delete;
    CCleanupSignalsBlocked& operator=(const CCleanupSignalsBlocked&) = delete;

private:
    sigset_t m_previous;
};

// Registers a temporary path (call with the signals blocked); returns its
// slot, or -1 when every slot is taken or the path is too long to keep.
int RegisterTemporaryFile(const std::string& path);
// Forgets the slot (call with the signals blocked); -1 is ignored.
void ForgetTemporaryFile(int slot);

} // namespace qex
