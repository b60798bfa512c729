#include "core/StagingFolder.h"

#include "core/FileIdentity.h"
#include "core/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace qex {

namespace {

constexpr const char* kPrefix = ".qex-batch-";

// Removes the hidden folders of this kind that no living process holds.
void RemoveLeftFolders(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    std::vector<std::string> left;
    while (const dirent* entry = ::readdir(dir))
        if (std::string_view(entry->d_name).starts_with(kPrefix))
            left.push_back(folder + "/" + entry->d_name);
    ::closedir(dir);
    for (const std::string& path : left) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            RemoveFolderOfFiles(path.c_str());
        ::close(fd);
    }
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

CStagingFolder::CStagingFolder(std::string folder) : m_folder(std::move(folder))
{
    if (m_folder.empty())
        m_folder = ".";
}

CStagingFolder::~CStagingFolder()
{
    Discard();
}

bool CStagingFolder::Open(int& error)
{
    error = 0;
    std::error_code made;
    std::filesystem::create_directories(m_folder, made);
    if (made) {
        error = made.value();
        return false;
    }
    RemoveLeftFolders(m_folder);
    std::string pattern = m_folder + "/" + kPrefix + "XXXXXX";
    {
        CCleanupSignalsBlocked blocked;
        if (::mkdtemp(pattern.data()) == nullptr) {
            error = errno;
            return false;
        }
        m_entry = RegisterTemporaryFolder(pattern);
    }
    m_staging = pattern;
    m_stagingFd = ::open(m_staging.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_stagingFd < 0 || ::flock(m_stagingFd, LOCK_EX) != 0) {
        error = errno;
        Discard();
        return false;
    }
    return true;
}

bool CStagingFolder::Write(const std::string& name, std::string_view text, int& error, std::string& reason)
{
    error = 0;
    reason.clear();
    if (m_stagingFd < 0) {
        error = EBADF;
        return false;
    }
    const std::string target = ResolveOutputLinks(m_folder + "/" + name, error);
    if (target.empty()) {
        if (error == EACCES)
            reason = "a link another user owns in a shared folder; not followed";
        return false;
    }
    mode_t mode = 0;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
            if (error == EINVAL)
                reason = "not a regular file";
            return false;
        }
        mode = st.st_mode & 07777;
    } else {
        if (errno != ENOENT) {
            error = errno;
            return false;
        }
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    // A rename moves a file only within its file system.
    struct stat folder {};
    struct stat staging {};
    if (::stat(FolderOf(target).c_str(), &folder) != 0 || ::fstat(m_stagingFd, &staging) != 0) {
        error = errno;
        return false;
    }
    if (folder.st_dev != staging.st_dev) {
        error = EXDEV;
        reason = "a link to another file system; not followed";
        return false;
    }
    if (NameOf(target).size() > NAME_MAX) {
        error = ENAMETOOLONG;
        return false;
    }

    std::string temporary;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        temporary = std::to_string(++m_count);
    }
    const int fd = ::openat(m_stagingFd, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        error = errno;
        return false;
    }
    const bool written = WriteAll(fd, text) && ::fchmod(fd, mode) == 0;
    if (!written)
        error = errno;
    if (::close(fd) != 0 && written)
        error = errno;
    if (error != 0) {
        ::unlinkat(m_stagingFd, temporary.c_str(), 0);
        return false;
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_staged.push_back({temporary, target});
    return true;
}

void CStagingFolder::RemoveAtCommit(const std::string& name)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_removed.push_back(m_folder + "/" + name);
}

bool CStagingFolder::Sync(int& error, const std::function<bool()>& goOn)
{
    error = 0;
    if (m_stagingFd < 0) {
        error = EBADF;
        return false;
    }
    // On a thread of its own, so that a stop asked for meanwhile is heard:
    // the sync goes on alone, on a descriptor of its own, and the files are
    // removed at once.
    struct State {
        std::atomic<bool> done{false};
        int error = 0;
    };
    auto state = std::make_shared<State>();
    const int fd = ::dup(m_stagingFd);
    auto sync = [state, fd] {
        if (::syncfs(fd) != 0)
            state->error = errno;
        ::close(fd);
        state->done.store(true, std::memory_order_release);
    };
    if (fd < 0) {
        error = errno;
        return false;
    }
    try {
        std::thread(sync).detach();
    } catch (...) {
        sync(); // no thread to be had: here, not to be interrupted
    }
    while (!state->done.load(std::memory_order_acquire)) {
        if (goOn && !goOn())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    error = state->error;
    return error == 0;
}

bool CStagingFolder::Commit(int& error, std::string& failedPath)
{
    error = 0;
    if (m_stagingFd < 0) {
        error = EBADF;
        failedPath = m_folder;
        return false;
    }
    {
        CCleanupSignalsBlocked blocked;
        for (const Staged& file : m_staged) {
            if (::renameat(m_stagingFd, file.temporary.c_str(), AT_FDCWD, file.target.c_str()) != 0) {
                error = errno;
                failedPath = file.target;
                break;
            }
        }
        if (error == 0) {
            for (const std::string& path : m_removed) {
                struct stat st {};
                if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                    ::unlink(path.c_str());
            }
        }
    }
    // The new names on disk too.
    const int folderFd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    m_staged.clear();
    m_removed.clear();
    Discard();
    return error == 0;
}

void CStagingFolder::Discard()
{
    if (m_staging.empty())
        return;
    RemoveFolderOfFiles(m_staging.c_str());
    if (m_stagingFd >= 0)
        ::close(m_stagingFd);
    m_stagingFd = -1;
    ForgetTemporaryFile(m_entry);
    m_entry = nullptr;
    m_staging.clear();
    m_staged.clear();
    m_removed.clear();
}

} // namespace qex
