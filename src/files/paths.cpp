#include "files/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kiv {

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FollowLinks(const std::string& path, std::string& target, FileError& error) {
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = at;
            return true;
        }
        char buf[4096];
        ssize_t n = ::readlink(at.c_str(), buf, sizeof buf - 1);
        if (n <= 0) {
            error = {n < 0 ? errno : ENOENT, ""};
            error.Why = "cannot follow the link " + at + ": " + std::strerror(error.Code);
            return false;
        }
        std::string to(buf, static_cast<size_t>(n));
        if (to.front() == '/') {
            at = to;
        } else {
            at = FolderOf(at);
            at += to;
        }
    }
    error = {ELOOP, "cannot follow the link " + at + ": too many levels of links"};
    return false;
}

bool MakeFolders(const std::string& dir, FileError& error) { return MakeFolders(dir, 0700, error); }

bool MakeFolders(const std::string& dir, unsigned mode, FileError& error) {
    std::string path;
    size_t from = 0;
    while (from < dir.size()) {
        size_t slash = dir.find('/', from);
        if (slash == std::string::npos) slash = dir.size();
        path = dir.substr(0, slash);
        from = slash + 1;
        if (path.empty()) continue;
        if (::mkdir(path.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) {
            error = {errno, ""};
            error.Why = "cannot create " + path + ": " + std::strerror(error.Code);
            return false;
        }
    }
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = {ENOTDIR, "cannot create " + dir};
        return false;
    }
    return true;
}

}  // namespace kiv
