#include "files/new_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kiv {

namespace {

FileError ErrorOf(int code, const std::string& what, const std::string& path) {
    return FileError{code, what + " " + path + ": " + std::strerror(code)};
}

// The names of an open folder; the descriptor stays the caller's.
bool Names(int fd, const std::string& path, std::vector<std::string>& names, FileError& error) {
    names.clear();
    const int copy = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* d = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (!d) {
        error = ErrorOf(errno, "cannot read", path);
        if (copy >= 0) ::close(copy);
        return false;
    }
    while (const dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.emplace_back(e->d_name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return true;
}

}  // namespace

bool NewFolder::Open(const std::string& dir, FileError& error) {
    std::string path = dir;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path.empty() || path == "/" || path == "." || path == "..") {
        error = FileError{EINVAL, "cannot make a new folder at '" + dir + "'"};
        return false;
    }
    const std::string parent = FolderOf(path);
    name_ = NameOf(path);
    if (name_ == "." || name_ == "..") {
        error = FileError{EINVAL, "cannot make a new folder at '" + dir + "'"};
        return false;
    }
    if (!parent.empty() && !MakeFolders(parent, 0777, error)) return false;
    if (!parent_.Open(parent, error)) return false;
    made_ = ::mkdirat(parent_.Fd(), name_.c_str(), 0777) == 0;
    if (!made_ && errno != EEXIST) {
        error = ErrorOf(errno, "cannot create", path);
        return false;
    }
    if (!made_) {
        struct stat st {};
        if (::fstatat(parent_.Fd(), name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            error = ErrorOf(errno, "cannot reach", path);
            return false;
        }
        if (S_ISLNK(st.st_mode)) {
            error = FileError{ELOOP, path + " is a link: name a new folder, or an empty one, not a link to one"};
            return false;
        }
        if (!S_ISDIR(st.st_mode)) {
            error = FileError{ENOTDIR, path + " is there and is no folder"};
            return false;
        }
    }
    if (!folder_.OpenIn(parent_, name_, path + "/", error)) return false;
    std::vector<std::string> names;
    if (!Names(folder_.Fd(), path, names, error)) return false;
    if (!names.empty()) {
        error =
            FileError{ENOTEMPTY, path + " is not empty (it holds " + names.front() +
                                     (names.size() > 1 ? " and more" : "") + "): name a new folder, or an empty one"};
        folder_ = Folder();
        return false;
    }
    return true;
}

bool NewFolder::Create(const std::string& name, std::string_view bytes, mode_t mode, FileError& error) {
    const std::string path = folder_.Path() + name;
    // O_EXCL with O_CREAT never follows a link: whatever is at the name already is an error.
    const int fd = ::openat(folder_.Fd(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
        error = ErrorOf(errno, "cannot create", path);
        return false;
    }
    created_.push_back(name);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = ErrorOf(n < 0 ? errno : ENOSPC, "cannot write", path);
            ::close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        error = ErrorOf(errno, "cannot write", path);
        return false;
    }
    return true;
}

void NewFolder::Abandon() {
    if (!folder_.IsOpen()) return;
    for (const std::string& name : created_) ::unlinkat(folder_.Fd(), name.c_str(), 0);
    created_.clear();
    folder_ = Folder();
    if (made_) ::unlinkat(parent_.Fd(), name_.c_str(), AT_REMOVEDIR);
    made_ = false;
}

bool ListFolder(const Folder& folder, std::vector<std::string>& names, FileError& error) {
    return Names(folder.Fd(), folder.Path().empty() ? "." : folder.Path(), names, error);
}

}  // namespace kiv
