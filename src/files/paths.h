#pragma once

// Paths as the file system has them: links followed by hand, folders made.

#include <string>

namespace kiv {

// Why a file operation failed: the errno it ended with (0 when there was none) and a sentence
// that names the path and the reason ("cannot create /a/b: Permission denied").
struct FileError {
    int Code = 0;
    std::string Why;
};

// The folder part of a path with its trailing '/' ("" for a bare name) and the last part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// Follows symbolic links from path to the path they end at, which need not exist (a dangling
// link ends at the name it holds). A relative link is taken from the folder of the link.
// False for a loop, a chain of more than 40 links or a link that cannot be read.
bool FollowLinks(const std::string& path, std::string& target, FileError& error);

// Creates dir and its missing parents (mode 0700 for new ones); true when dir is a folder then.
bool MakeFolders(const std::string& dir, FileError& error);
// The same with the mode for new folders (less the umask).
bool MakeFolders(const std::string& dir, unsigned mode, FileError& error);

}  // namespace kiv
