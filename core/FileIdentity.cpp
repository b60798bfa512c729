#include "core/FileIdentity.h"

#include "core/Format.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace qex {

namespace {

// The kernel's own limit on links followed in one lookup.
constexpr int kMostLinks = 40;

struct Identity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::string place; // canonical folder and name, for a file not yet there
};

Identity IdentityOf(const std::string& path)
{
    Identity id;
    int error = 0;
    std::string resolved = ResolveLinks(path, error);
    if (resolved.empty())
        resolved = path;
    struct stat st {};
    if (::stat(resolved.c_str(), &st) == 0) {
        id.exists = true;
        id.device = st.st_dev;
        id.inode = st.st_ino;
        return id;
    }
    std::string folder = FolderOf(resolved);
    if (char* real = ::realpath(folder.c_str(), nullptr)) {
        folder = real;
        std::free(real);
    }
    id.place = folder + "/" + NameOf(resolved);
    return id;
}

bool Same(const Identity& a, const Identity& b)
{
    if (a.exists != b.exists)
        return false;
    return a.exists ? a.device == b.device && a.inode == b.inode : a.place == b.place;
}

} // namespace

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

// The kernel's rule for links in shared folders (fs.protected_symlinks): a
// link in a sticky, world-writable folder is followed only by its owner, or
// when the folder's owner owns it too.
bool MayFollow(const std::string& link, const struct stat& linkStat)
{
    struct stat folder {};
    if (::stat(FolderOf(link).c_str(), &folder) != 0)
        return true; // the write that follows finds the folder missing
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkStat.st_uid == ::geteuid() || linkStat.st_uid == folder.st_uid;
}

std::string FollowLinks(const std::string& path, int& error, bool guarded)
{
    error = 0;
    std::string current = path;
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        if (guarded && !MayFollow(current, st)) {
            error = EACCES;
            return std::string();
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
        if (length < 0)
            return current;
        target[length] = '\0';
        if (target[0] == '/' || current.find('/') == std::string::npos)
            current = target;
        else
            current = FolderOf(current) + "/" + target;
    }
    error = ELOOP;
    return std::string();
}

} // namespace

std::string ResolveLinks(const std::string& path, int& error)
{
    return FollowLinks(path, error, false);
}

std::string ResolveOutputLinks(const std::string& path, int& error)
{
    return FollowLinks(path, error, true);
}

FileClash FindSameFile(const std::vector<FileUse>& uses)
{
    std::vector<Identity> ids;
    ids.reserve(uses.size());
    for (const FileUse& use : uses)
        ids.push_back(use.path.empty() ? Identity{} : IdentityOf(use.path));
    for (std::size_t i = 0; i < uses.size(); ++i) {
        if (uses[i].role != FileRole::Output || uses[i].path.empty())
            continue;
        for (std::size_t j = 0; j < uses.size(); ++j) {
            if (j == i || uses[j].path.empty() || !Same(ids[i], ids[j]))
                continue;
            // Each pair of outputs is named once, the later one first.
            if (uses[j].role == FileRole::Output && j > i)
                continue;
            FileClash clash;
            clash.detail = uses[i].path;
            clash.message =
                uses[j].role == FileRole::Input
                    ? Format("%s names the same file as %s: an output may not replace an input!",
                             uses[i].name.c_str(), uses[j].name.c_str())
                    : Format("%s names the same file as %s: two outputs may not share one file!",
                             uses[i].name.c_str(), uses[j].name.c_str());
            return clash;
        }
    }
    return FileClash{};
}

} // namespace qex
