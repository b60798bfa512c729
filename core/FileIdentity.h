#pragma once
// Which file a path names, whatever its spelling: "./x", "a/../x", a symbolic
// link (dangling included) and the file it leads to are one file. Used to
// write through links and to refuse an output that would replace an input.

#include <string>
#include <vector>

namespace qex {

// Follows the chain of symbolic links that `path` itself is (not its folders),
// relative links from the folder of the link; returns the last path, which may
// not exist. Empty, with `error` set (ELOOP), for a chain that does not end.
std::string ResolveLinks(const std::string& path, int& error);

// The same for a file about to be written, with the kernel's rule for shared
// folders (fs.protected_symlinks) whatever the system's setting: a link in a
// sticky, world-writable folder (/tmp) is followed only when the caller or the
// folder's owner owns it. Empty, with `error` EACCES, for a link another user
// planted there: it could lead to any file the caller may write.
std::string ResolveOutputLinks(const std::string& path, int& error);

// The folder part of a path ("." for a bare name) and its last part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

enum class FileRole { Input, Output };

// One file a command reads or writes, named as the user knows it (an option
// such as "--report", or a label).
struct FileUse {
    std::string name;
    std::string path; // empty: not used this time
    FileRole role = FileRole::Input;
};

struct FileClash {
    std::string message; // empty when every output names a file of its own
    std::string detail;  // the path of the output
};

// The first output that names the same file as an input or as another
// output: existing files compare by device and inode; a file still to be
// created by its resolved folder and name.
FileClash FindSameFile(const std::vector<FileUse>& uses);

} // namespace qex
