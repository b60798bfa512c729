#include "core/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/syscall.h>
#include <unistd.h>

namespace qex {

struct TemporaryEntry {
    char* path = nullptr;
    bool folder = false;
    TemporaryEntry* previous = nullptr;
    TemporaryEntry* next = nullptr;
};

namespace {

// The registered temporaries, a list changed only while g_busy is held. The
// handler takes g_busy too and never gives it back (the process ends): it
// waits for a change on another thread to finish and then reads a list no
// one changes. A thread changing the list has the signals blocked, so the
// handler never runs on it while it holds g_busy; and nothing is allocated
// or freed while g_busy is held, so it never waits for a lock the handler's
// own thread might hold.
TemporaryEntry* g_first = nullptr;
std::atomic_flag g_busy = ATOMIC_FLAG_INIT;

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// A folder being filled while it is removed is emptied again, this often.
constexpr int kFolderAttempts = 100;

sigset_t CleanupSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kSignals)
        sigaddset(&set, signal);
    return set;
}

void Acquire()
{
    while (g_busy.test_and_set(std::memory_order_acquire)) {
    }
}

void Release()
{
    g_busy.clear(std::memory_order_release);
}

// Only async-signal-safe calls: unlink, the folder's system calls, sigaction and raise.
extern "C" void RemoveTemporariesAndDie(int signal)
{
    Acquire();
    for (const TemporaryEntry* entry = g_first; entry != nullptr; entry = entry->next) {
        if (entry->folder)
            RemoveFolderOfFiles(entry->path);
        else
            ::unlink(entry->path);
    }
    // The default action, whoever installed this handler and how; the
    // signal, blocked while the handler runs, ends the process as it returns.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

TemporaryEntry* Register(const std::string& path, bool folder)
{
    auto* entry = new TemporaryEntry;
    entry->path = ::strdup(path.c_str());
    entry->folder = folder;
    if (entry->path == nullptr) {
        delete entry;
        throw std::bad_alloc();
    }
    CCleanupSignalsBlocked blocked;
    Acquire();
    entry->next = g_first;
    if (g_first != nullptr)
        g_first->previous = entry;
    g_first = entry;
    Release();
    return entry;
}

} // namespace

void InstallTemporaryFileCleanup()
{
    for (int signal : kSignals) {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = RemoveTemporariesAndDie;
        action.sa_flags = SA_RESETHAND;
        action.sa_mask = CleanupSignals();
        ::sigaction(signal, &action, nullptr);
    }
}

CCleanupSignalsBlocked::CCleanupSignalsBlocked()
{
    const sigset_t set = CleanupSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, &m_previous);
}

CCleanupSignalsBlocked::~CCleanupSignalsBlocked()
{
    ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

TemporaryEntry* RegisterTemporaryFile(const std::string& path)
{
    return Register(path, false);
}

TemporaryEntry* RegisterTemporaryFolder(const std::string& path)
{
    return Register(path, true);
}

void ForgetTemporaryFile(TemporaryEntry* entry)
{
    if (entry == nullptr)
        return;
    {
        CCleanupSignalsBlocked blocked;
        Acquire();
        if (entry->previous != nullptr)
            entry->previous->next = entry->next;
        else
            g_first = entry->next;
        if (entry->next != nullptr)
            entry->next->previous = entry->previous;
        Release();
    }
    std::free(entry->path);
    delete entry;
}

bool RemoveFolderOfFiles(const char* path)
{
    // The layout of the kernel's directory entries (getdents64(2)).
    struct Entry {
        std::uint64_t inode;
        std::int64_t offset;
        unsigned short length;
        unsigned char type;
        char name[1];
    };
    alignas(8) char buffer[4096];
    for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
        const int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return errno == ENOENT;
        for (;;) {
            const long got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            for (long at = 0; at < got;) {
                const auto* entry = reinterpret_cast<const Entry*>(buffer + at);
                const char* name = buffer + at + offsetof(Entry, name);
                if (!(name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))))
                    ::unlinkat(fd, name, 0);
                at += entry->length;
            }
        }
        ::close(fd);
        if (::rmdir(path) == 0 || errno == ENOENT)
            return true;
        if (errno != ENOTEMPTY && errno != EEXIST)
            return false;
    }
    return false;
}

} // namespace qex
