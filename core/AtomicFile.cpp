#include "core/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qex {

namespace {
std::int64_t g_byteLimit = -1;
}

// glibc custom stream: every buffered chunk goes through here, which lets the
// byte limit of the test seam fail a write halfway, as a full disk would.
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
            const ssize_t n = ::write(file->m_fd, data + done, allowed - done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return -1;
            }
            done += static_cast<size_t>(n);
        }
        file->m_written += static_cast<std::int64_t>(done);
        if (done < size) {
            errno = ENOSPC;
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

CAtomicFile::CAtomicFile(std::string targetPath) : m_target(std::move(targetPath)) {}

CAtomicFile::~CAtomicFile()
{
    Discard();
}

bool CAtomicFile::Open()
{
    namespace fs = std::filesystem;
    if (m_target.empty() || m_stream != nullptr)
        return false;

    std::error_code ec;
    fs::path target(m_target);
    // Write beside the file a link points to, so the link survives.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    const fs::file_status status = fs::status(target, ec);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status) || ::access(target.c_str(), W_OK) != 0)
            return false;
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0)
            m_mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        m_mode = 0666 & ~mask;
    }
    if (target.filename().empty())
        return false;
    m_target = target.string();

    std::string pattern = m_target + ".qex-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = ::mkstemp(name.data());
    if (m_fd < 0)
        return false;
    m_temporary = name.data();
    m_written = 0;
    m_limit = g_byteLimit;

    cookie_io_functions_t io{};
    io.write = &AtomicFileCookie::Write;
    io.close = &AtomicFileCookie::Close;
    m_stream = ::fopencookie(this, "w", io);
    if (m_stream == nullptr) {
        Discard();
        return false;
    }
    std::setvbuf(m_stream, nullptr, _IOFBF, 1 << 16);
    return true;
}

bool CAtomicFile::Commit()
{
    if (m_stream == nullptr)
        return false;
    bool ok = std::fflush(m_stream) == 0 && !std::ferror(m_stream);
    ok = (std::fclose(m_stream) == 0) && ok;
    m_stream = nullptr;
    ok = ok && ::fchmod(m_fd, m_mode) == 0;
    ok = ok && ::fsync(m_fd) == 0;
    ok = (::close(m_fd) == 0) && ok;
    m_fd = -1;
    if (ok && ::rename(m_temporary.c_str(), m_target.c_str()) == 0) {
        m_temporary.clear();
        return true;
    }
    Discard();
    return false;
}

void CAtomicFile::Discard()
{
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

bool WriteFileAtomically(const std::string& path, const std::string& text)
{
    CAtomicFile file(path);
    if (!file.Open())
        return false;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file.Stream()) != text.size())
        return false;
    return file.Commit();
}

} // namespace qex
