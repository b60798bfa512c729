#include "core/AtomicFile.h"

#include "core/FileIdentity.h"
#include "core/Message.h"
#include "core/TemporaryFiles.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace qex {

namespace {

std::int64_t g_byteLimit = -1;
thread_local CFileTransaction* t_transaction = nullptr;

// The temporary's name: the target's, cut short so that the whole stays
// within the file system's limit on a name, and a random tail.
constexpr const char* kTemporaryTail = ".qex-XXXXXX";
constexpr std::size_t kTemporaryTailLength = 11;
constexpr std::size_t kNameMax = NAME_MAX;
constexpr int kLinkAttempts = 100;

std::string TemporaryPattern(const std::string& folder, const std::string& name)
{
    return folder + "/" + name.substr(0, kNameMax - kTemporaryTailLength) + kTemporaryTail;
}

// Replaces the X's of the pattern's tail with random letters.
void Randomise(std::string& pattern)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    for (std::size_t i = pattern.size() - 6; i < pattern.size(); ++i)
        pattern[i] = letters[random() % (sizeof letters - 1)];
}

// Unnamed files need /proc/self/fd to be given a name later (linkat with
// AT_SYMLINK_FOLLOW, open to every user). QEX_NAMED_TEMPORARY_FILES=1 asks
// for named temporaries everywhere (to try the fallback on any file system).
bool UnnamedFilesUsable()
{
    static const bool usable = [] {
        const char* named = std::getenv("QEX_NAMED_TEMPORARY_FILES");
        if (named != nullptr && named[0] == '1')
            return false;
        return ::access("/proc/self/fd", X_OK) == 0;
    }();
    return usable;
}

} // namespace

// A file written and synced, waiting for its name.
class CPreparedFile {
public:
    CPreparedFile(std::string target, std::string shownPath, std::string failureMessage)
        : target(std::move(target)), shownPath(std::move(shownPath)), failureMessage(std::move(failureMessage))
    {
    }
    ~CPreparedFile() { Drop(); }
    CPreparedFile(const CPreparedFile&) = delete;
    CPreparedFile& operator=(const CPreparedFile&) = delete;

    // Creates the temporary file in the target's folder; false with errno.
    bool Create(mode_t mode)
    {
        const std::string folder = FolderOf(target);
        if (UnnamedFilesUsable()) {
            fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
            if (fd >= 0) {
                unnamed = true;
                return true;
            }
            // File systems without unnamed files say so in one of these ways;
            // anything else (a missing or read-only folder) fails either way.
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
                return false;
        }
        CCleanupSignalsBlocked blocked;
        std::string pattern = TemporaryPattern(folder, NameOf(target));
        fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0)
            return false;
        temporary = pattern;
        entry = RegisterTemporaryFile(temporary);
        return true;
    }

    // Gives an unnamed file a temporary name in its folder (call with the
    // signals blocked); a named one has its name already.
    bool Link(int& error)
    {
        if (!unnamed || !temporary.empty())
            return true;
        std::string name = TemporaryPattern(FolderOf(target), NameOf(target));
        for (int attempt = 0; attempt < kLinkAttempts; ++attempt) {
            Randomise(name);
            if (LinkTo(name)) {
                temporary = name;
                entry = RegisterTemporaryFile(temporary);
                return true;
            }
            if (errno != EEXIST)
                break;
        }
        error = errno;
        return false;
    }

    // The temporary takes the target's name (call with the signals blocked).
    bool Rename(int& error)
    {
        if (::rename(temporary.c_str(), target.c_str()) != 0) {
            error = errno;
            return false;
        }
        ForgetTemporaryFile(entry);
        entry = nullptr;
        temporary.clear();
        Drop();
        return true;
    }

    // One file on its own: an unnamed file for a target not there yet is
    // linked straight to it, with no named moment at all.
    bool Publish(int& error)
    {
        CCleanupSignalsBlocked blocked;
        if (unnamed && temporary.empty()) {
            if (LinkTo(target)) {
                Drop();
                return true;
            }
            if (errno != EEXIST) {
                error = errno;
                return false;
            }
        }
        return Link(error) && Rename(error);
    }

    void Drop()
    {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
        if (!temporary.empty()) {
            CCleanupSignalsBlocked blocked;
            ::unlink(temporary.c_str());
            ForgetTemporaryFile(entry);
            entry = nullptr;
            temporary.clear();
        }
    }

    std::string target;         // where the file ends up (links resolved)
    std::string shownPath;      // the path as given, for messages
    std::string failureMessage; // shown when putting it in place fails
    int fd = -1;
    bool unnamed = false;
    std::string temporary; // the temporary name, once it has one
    TemporaryEntry* entry = nullptr; // its registration for the signal handlers

private:
    bool LinkTo(const std::string& name)
    {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
};

// glibc custom stream: every buffered chunk goes through here, which lets the
// byte limit of the test seam fail a write halfway, as a full disk would, and
// keeps the first error's number for the message.
struct AtomicFileCookie {
    static ssize_t Write(void* cookie, const char* data, size_t size)
    {
        auto* file = static_cast<CAtomicFile*>(cookie);
        size_t allowed = size;
        if (file->m_limit >= 0) {
            const std::int64_t room = file->m_limit - file->m_written;
            allowed = room <= 0 ? 0 : (static_cast<std::int64_t>(size) < room ? size : static_cast<size_t>(room));
        }
        size_t done = 0;
        while (done < allowed) {
            const ssize_t n = ::write(file->m_file->fd, data + done, allowed - done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (file->m_error == 0)
                    file->m_error = errno;
                return -1;
            }
            done += static_cast<size_t>(n);
        }
        file->m_written += static_cast<std::int64_t>(done);
        if (done < size) {
            errno = ENOSPC;
            if (file->m_error == 0)
                file->m_error = ENOSPC;
            return done > 0 ? static_cast<ssize_t>(done) : -1;
        }
        return static_cast<ssize_t>(size);
    }
    static int Close(void*) { return 0; }
};

void CAtomicFile::SetByteLimitForTesting(std::int64_t limit)
{
    g_byteLimit = limit;
}

CAtomicFile::CAtomicFile(std::string targetPath, std::string failureMessage)
    : m_path(std::move(targetPath)), m_failureMessage(std::move(failureMessage))
{
}

CAtomicFile::~CAtomicFile()
{
    Discard();
}

std::string CAtomicFile::FailureDetail() const
{
    const std::string shown = m_path.empty() ? std::string("(no file name)") : m_path;
    if (!m_reason.empty())
        return shown + ": " + m_reason;
    return FileErrorDetail(shown, m_error != 0 ? m_error : EIO);
}

bool CAtomicFile::Fail(int error, const char* reason)
{
    m_error = error != 0 ? error : EIO;
    if (reason != nullptr)
        m_reason = reason;
    Discard();
    if (!m_failureMessage.empty())
        ShowMessage(FileFailureText(m_failureMessage, m_error), FailureDetail());
    return false;
}

bool CAtomicFile::Open()
{
    if (m_stream != nullptr)
        return false;
    m_error = 0;
    m_reason.clear();
    if (m_path.empty())
        return Fail(ENOENT);

    // Write through a link to the file it leads to, so the link survives;
    // but not through a link another user planted in a shared folder.
    int error = 0;
    const std::string target = ResolveOutputLinks(m_path, error);
    if (target.empty())
        return Fail(error, error == EACCES ? "a link another user owns in a shared folder; not followed" : nullptr);
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return Fail(EISDIR);
        if (!S_ISREG(st.st_mode))
            return Fail(EINVAL, "not a regular file");
        if (::access(target.c_str(), W_OK) != 0)
            return Fail(errno);
        m_mode = st.st_mode & 07777;
    } else {
        if (errno != ENOENT)
            return Fail(errno);
        const mode_t mask = ::umask(0);
        ::umask(mask);
        m_mode = 0666 & ~mask;
    }
    const std::string name = NameOf(target);
    if (name.empty() || name == "." || name == "..")
        return Fail(EISDIR);
    if (name.size() > kNameMax)
        return Fail(ENAMETOOLONG);

    m_file = std::make_unique<CPreparedFile>(target, m_path, m_failureMessage);
    if (!m_file->Create(static_cast<mode_t>(m_mode)))
        return Fail(errno);
    m_written = 0;
    m_limit = g_byteLimit;

    cookie_io_functions_t io{};
    io.write = &AtomicFileCookie::Write;
    io.close = &AtomicFileCookie::Close;
    m_stream = ::fopencookie(this, "w", io);
    if (m_stream == nullptr)
        return Fail(errno);
    std::setvbuf(m_stream, nullptr, _IOFBF, 1 << 16);
    return true;
}

bool CAtomicFile::Commit()
{
    if (m_stream == nullptr)
        return false;
    const bool flushed = std::fflush(m_stream) == 0 && !std::ferror(m_stream);
    int error = flushed ? 0 : (m_error != 0 ? m_error : errno);
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    if (flushed && !closed)
        error = errno;
    if (error == 0 && ::fchmod(m_file->fd, static_cast<mode_t>(m_mode)) != 0)
        error = errno;
    if (error == 0 && ::fsync(m_file->fd) != 0)
        error = errno;
    if (error != 0)
        return Fail(error);

    if (t_transaction != nullptr) {
        t_transaction->m_files.push_back(std::move(m_file));
        return true;
    }
    if (!m_file->Publish(error))
        return Fail(error);
    m_file.reset();
    return true;
}

void CAtomicFile::Discard()
{
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    m_file.reset();
    // A file given up after a failed write fails the files written with it.
    if (m_error != 0 && t_transaction != nullptr)
        t_transaction->m_failed = true;
}

bool WriteFileAtomically(const std::string& path, const std::string& text, const std::string& failureMessage)
{
    CAtomicFile file(path, failureMessage);
    if (!file.Open())
        return false;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file.Stream()) != text.size()) {
        file.Commit(); // reports the write's failure
        return false;
    }
    return file.Commit();
}

CFileTransaction::CFileTransaction() : m_outer(t_transaction)
{
    t_transaction = this;
}

CFileTransaction::~CFileTransaction()
{
    t_transaction = m_outer;
    m_files.clear();
}

bool CFileTransaction::Commit(const std::function<bool()>& between)
{
    if (t_transaction == this)
        t_transaction = m_outer;
    std::vector<std::unique_ptr<CPreparedFile>> files = std::move(m_files);
    m_files.clear();
    if (m_failed)
        return false;
    auto fail = [&files](const CPreparedFile& file, int error) {
        const std::string message =
            file.failureMessage.empty() ? std::string("Can not find Output file!") : file.failureMessage;
        ShowMessage(FileFailureText(message, error), FileErrorDetail(file.shownPath, error));
        files.clear();
        return false;
    };
    int error = 0;
    if (files.size() == 1 && !between)
        return files.front()->Publish(error) ? true : fail(*files.front(), error);

    // Every file gets its temporary name before any takes its target's, so a
    // failure here leaves every target as it was.
    CCleanupSignalsBlocked blocked;
    for (const auto& file : files)
        if (!file->Link(error))
            return fail(*file, error);
    if (between && !between())
        return false;
    for (const auto& file : files)
        if (!file->Rename(error))
            return fail(*file, error);
    return true;
}

} // namespace qex
