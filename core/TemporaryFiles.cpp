#include "core/TemporaryFiles.h"

#include <climits>
#include <cstring>
#include <unistd.h>

namespace qex {

namespace {

// A command writes at most a few files at once.
constexpr int kSlots = 16;

// Written only with the signals blocked, read only by the handler.
char g_paths[kSlots][PATH_MAX];
volatile std::sig_atomic_t g_used[kSlots];

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

sigset_t CleanupSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kSignals)
        sigaddset(&set, signal);
    return set;
}

// Only async-signal-safe calls: unlink and raise.
extern "C" void RemoveTemporariesAndDie(int signal)
{
    for (int i = 0; i < kSlots; ++i)
        if (g_used[i] != 0)
            ::unlink(g_paths[i]);
    // SA_RESETHAND restored the default action; the signal, blocked while
    // this handler runs, ends the process as soon as it returns.
    ::raise(signal);
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

int RegisterTemporaryFile(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        if (g_used[i] == 0) {
            std::memcpy(g_paths[i], path.c_str(), path.size() + 1);
            g_used[i] = 1;
            return i;
        }
    }
    return -1;
}

void ForgetTemporaryFile(int slot)
{
    if (slot >= 0 && slot < kSlots)
        g_used[slot] = 0;
}

} // namespace qex
