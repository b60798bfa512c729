#pragma once
// Output files are written whole or not at all: the text goes to a temporary
// file beside the target, which is renamed over the target only once every
// byte is on disk. A failure at any point leaves the previous file untouched.

#include <cstdint>
#include <cstdio>
#include <string>

namespace qex {

class CAtomicFile {
public:
    explicit CAtomicFile(std::string targetPath);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Creates the temporary file. False when the target cannot be written:
    // an empty path, a folder, a missing or read-only folder, a read-only file.
    bool Open();

    // The stream to write to (valid after a successful Open).
    std::FILE* Stream() const { return m_stream; }

    // Flushes, syncs and renames into place. False (and the target unchanged)
    // when any write failed.
    bool Commit();

    // Drops the temporary file; the target stays as it was.
    void Discard();

    const std::string& TargetPath() const { return m_target; }

    // Test seam: every file opened after this call fails with "no space left"
    // once it has taken this many bytes; a negative limit means no limit.
    static void SetByteLimitForTesting(std::int64_t limit);

private:
    std::string m_target;    // where the file ends up
    std::string m_temporary; // where it is written meanwhile
    std::FILE* m_stream = nullptr;
    int m_fd = -1;
    unsigned m_mode = 0644;
    std::int64_t m_written = 0;
    std::int64_t m_limit = -1;

    friend struct AtomicFileCookie;
};

// Writes the whole text to the path, or leaves the path as it was.
bool WriteFileAtomically(const std::string& path, const std::string& text);

} // namespace qex
