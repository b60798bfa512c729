#pragma once
// Output files are written whole or not at all. The text goes to a temporary
// file in the target's folder, unnamed where the file system allows it
// (O_TMPFILE: a killed process leaves nothing), otherwise named after the
// target and removed on the usual termination signals (core/TemporaryFiles).
// Only once every byte is on disk does the file take the target's name, by
// one rename. A failure at any point leaves the previous file untouched.
//
// A target that is a symbolic link, dangling or not, is written through: the
// file the link leads to is replaced and the link stays. A link in a sticky,
// world-writable folder that neither the caller nor the folder's owner owns
// is refused instead, as the kernel's fs.protected_symlinks refuses it.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qex {

class CPreparedFile;

class CAtomicFile {
public:
    // With a failure message, every failure shows it with the path and the
    // system's reason as its detail; without, the caller says what it wants.
    explicit CAtomicFile(std::string targetPath, std::string failureMessage = std::string());
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Creates the temporary file. False when the target cannot be written:
    // an empty path, a folder, a missing or read-only folder, a read-only file.
    bool Open();

    // The stream to write to (valid after a successful Open).
    std::FILE* Stream() const { return m_stream; }

    // Flushes, syncs and puts the file in place (or, while a CFileTransaction
    // lives, hands it over to be put in place with the others). False (and the
    // target unchanged) when any write failed.
    bool Commit();

    // Drops the temporary file; the target stays as it was.
    void Discard();

    const std::string& TargetPath() const { return m_path; }

    // After a failure: the system's error number, and "path: reason".
    int Error() const { return m_error; }
    std::string FailureDetail() const;

    // Test seam: every file opened after this call fails with "no space left"
    // once it has taken this many bytes; a negative limit means no limit.
    static void SetByteLimitForTesting(std::int64_t limit);

private:
    bool Fail(int error, const char* reason = nullptr);

    std::string m_path; // as given: messages name it
    std::string m_failureMessage;
    std::unique_ptr<CPreparedFile> m_file;
    std::FILE* m_stream = nullptr;
    unsigned m_mode = 0644;
    std::int64_t m_written = 0;
    std::int64_t m_limit = -1;
    int m_error = 0;
    std::string m_reason; // a reason without an error number

    friend struct AtomicFileCookie;
};

// Writes the whole text to the path, or leaves the path as it was. With a
// failure message, a failure shows it with its detail.
bool WriteFileAtomically(const std::string& path, const std::string& text,
                         const std::string& failureMessage = std::string());

// Several outputs of one command, committed together. While one lives on this
// thread, every CAtomicFile::Commit only completes its file (all bytes synced)
// and hands it over; Commit() here then renames them all into place, or none
// when any write failed while it lived. Between the first and the last rename
// a few microseconds pass in which a SIGKILL could leave some new files beside
// some old ones; the catchable signals are held back for that moment.
class CFileTransaction {
public:
    CFileTransaction();
    ~CFileTransaction(); // drops what was not committed
    CFileTransaction(const CFileTransaction&) = delete;
    CFileTransaction& operator=(const CFileTransaction&) = delete;

    // A write failed while it lived (that write has shown its message).
    bool Failed() const { return m_failed; }
    // Puts every completed file in place. False when a write had failed
    // (nothing is put in place) or when putting one in place failed (after
    // its message). With `between`, it runs once every file is complete and
    // has a name of its own, just before they take their targets' (with the
    // signals held back): other files to be put in place first. False from
    // it puts none of these in place (its caller says why).
    bool Commit(const std::function<bool()>& between = {});

private:
    friend class CAtomicFile;
    std::vector<std::unique_ptr<CPreparedFile>> m_files;
    bool m_failed = false;
    CFileTransaction* m_outer;
};

} // namespace qex
