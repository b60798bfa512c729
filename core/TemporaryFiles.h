#pragma once
// Named temporary files that a signal must not leave behind. Where the file
// system cannot create unnamed files, the atomic writer registers each
// temporary name here, and a batch registers the hidden folder its reports
// wait in; the handlers installed by InstallTemporaryFileCleanup remove every
// registered file and folder on SIGINT, SIGTERM, SIGHUP and SIGPIPE and then
// end the process by the same signal, as if no handler had run. (SIGKILL
// cannot be caught: only unnamed temporaries survive it without trace.)
// There is no limit on how many are registered at once.

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

// One registered temporary.
struct TemporaryEntry;

// Registers a temporary file; any thread may call it. The entry is handed to
// ForgetTemporaryFile once the file has its final name or is removed.
TemporaryEntry* RegisterTemporaryFile(const std::string& path);
// Registers a folder of temporary files: on a signal the files in it, and
// then the folder, are removed.
TemporaryEntry* RegisterTemporaryFolder(const std::string& path);
// Forgets the entry; null is ignored.
void ForgetTemporaryFile(TemporaryEntry* entry);

// Removes the files of a folder (not its subfolders) and then the folder
// itself; only system calls, so a signal handler may call it. False, with
// errno, when the folder is still there.
bool RemoveFolderOfFiles(const char* path);

} // namespace qex
