#pragma once
// Many files for one folder, written one by one as they are ready and put in
// place together at the end: a batch's reports, thousands of them, without
// a descriptor or the text of each held until then. Each file is written
// whole into a hidden folder inside the target folder (".qex-batch-XXXXXX",
// registered for removal on the termination signals); Commit syncs them and
// renames them into place; Discard, or a failure, removes them and leaves
// the folder as it was. A killed process (SIGKILL) can leave the hidden
// folder behind: the next one to open a staging folder there removes it.

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace qex {

struct TemporaryEntry;

class CStagingFolder {
public:
    explicit CStagingFolder(std::string folder);
    ~CStagingFolder(); // discards what was not committed
    CStagingFolder(const CStagingFolder&) = delete;
    CStagingFolder& operator=(const CStagingFolder&) = delete;

    // Makes the folder (and its parents) when missing and the hidden folder
    // in it, and removes hidden folders that killed processes left there.
    // Call with the folder locked (CFolderLock), so that no other process
    // takes a new hidden folder for a left one. False with errno in `error`.
    bool Open(int& error);

    // Writes the text as the file `name` will hold it once committed; any
    // thread may call it. A name that is a link is written through (not a
    // link another user planted in a shared folder); a link leading to
    // another file system, a folder or a device is refused. False with
    // errno in `error` (and a reason without one in `reason`).
    bool Write(const std::string& name, std::string_view text, int& error, std::string& reason);

    // The file `name` of the folder is removed at the commit (when it is a
    // regular file): a file that would otherwise tell an old story.
    void RemoveAtCommit(const std::string& name);

    // Puts every byte written on disk (one sync of the file system, which
    // may take seconds while other programs write much), asking `goOn` about
    // every 20 ms whether it is still wanted: false from it gives up, with
    // `error` 0. False with errno when the sync fails.
    bool Sync(int& error, const std::function<bool()>& goOn = {});

    // Renames every file written into place, then removes those asked, with
    // the termination signals held back; call after Sync. False, with errno
    // and the path that failed, when a rename fails: the files renamed
    // before it stay in place, the others are removed.
    bool Commit(int& error, std::string& failedPath);

    // Removes every file written; the folder stays as it was.
    void Discard();

    const std::string& Folder() const { return m_folder; }

private:
    struct Staged {
        std::string temporary; // in the hidden folder
        std::string target;
    };

    std::string m_folder;
    std::string m_staging; // the hidden folder, once open
    int m_stagingFd = -1;  // holds its lock while this process lives
    TemporaryEntry* m_entry = nullptr;
    std::mutex m_mutex;
    std::vector<Staged> m_staged;
    std::vector<std::string> m_removed;
    unsigned long m_count = 0;
};

} // namespace qex
