#include "core/FolderLock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace qex {

namespace {

constexpr auto kWaitStep = std::chrono::milliseconds(100);

struct Held {
    int fd;
    dev_t device;
    ino_t inode;
    std::string folder;
};

} // namespace

bool CFolderLock::Lock(const std::vector<std::string>& folders, int& error, std::string& failed,
                       const FolderLockWait& wait)
{
    Unlock();
    error = 0;
    std::vector<Held> held;
    auto giveUp = [&] {
        for (const Held& h : held)
            ::close(h.fd);
        return false;
    };
    for (const std::string& folder : folders) {
        const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            error = errno;
            failed = folder;
            if (fd >= 0)
                ::close(fd);
            return giveUp();
        }
        const bool again = std::any_of(held.begin(), held.end(), [&st](const Held& h) {
            return h.device == st.st_dev && h.inode == st.st_ino;
        });
        if (again)
            ::close(fd);
        else
            held.push_back({fd, st.st_dev, st.st_ino, folder});
    }
    std::sort(held.begin(), held.end(), [](const Held& a, const Held& b) {
        return std::tie(a.device, a.inode) < std::tie(b.device, b.inode);
    });
    bool first = true;
    for (const Held& h : held) {
        while (::flock(h.fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK) {
                error = errno;
                failed = h.folder;
                return giveUp();
            }
            if (wait && !wait(first))
                return giveUp(); // closing the descriptors frees what was locked
            first = false;
            std::this_thread::sleep_for(kWaitStep);
        }
    }
    for (const Held& h : held)
        m_fds.push_back(h.fd);
    return true;
}

void CFolderLock::Unlock()
{
    for (int fd : m_fds)
        ::close(fd); // frees its lock
    m_fds.clear();
}

} // namespace qex
