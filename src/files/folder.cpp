#include "files/folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

namespace kiv {

namespace {

FileError ErrorOf(int code, const std::string& what, const std::string& path) {
    return FileError{code, what + " " + path + ": " + std::strerror(code)};
}

}  // namespace

Folder::~Folder() {
    if (fd_ >= 0) ::close(fd_);
}

Folder::Folder(Folder&& other) noexcept : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

bool Folder::Open(const std::string& dir, FileError& error) {
    if (fd_ >= 0) ::close(fd_);
    path_ = dir;
    fd_ = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) error = ErrorOf(errno, "cannot reach", dir.empty() ? "." : dir);
    return fd_ >= 0;
}

bool Folder::OpenIn(const Folder& parent, const std::string& name, const std::string& path, FileError& error) {
    if (fd_ >= 0) ::close(fd_);
    path_ = path;
    fd_ = ::openat(parent.Fd(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0) error = ErrorOf(errno, "cannot reach", path);
    return fd_ >= 0;
}

FileRead ReadFileIn(const Folder& folder, const std::string& name, size_t maxBytes) {
    FileRead r;
    const std::string path = folder.Path() + name;
    // A first look keeps devices and FIFOs from being opened at all; the file as opened is
    // what counts.
    struct stat st {};
    if (::fstatat(folder.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        r.Result = errno == ENOENT ? FileRead::Status::Missing : FileRead::Status::Failed;
        r.Error = ErrorOf(errno, "cannot read", path);
        return r;
    }
    if (S_ISLNK(st.st_mode)) {
        r.Result = FileRead::Status::Link;
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.Result = FileRead::Status::NotRegular;
        return r;
    }
    const int fd = ::openat(folder.Fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        r.Result = errno == ENOENT  ? FileRead::Status::Missing
                   : errno == ELOOP ? FileRead::Status::Link
                                    : FileRead::Status::Failed;
        r.Error = ErrorOf(errno, "cannot read", path);
        return r;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        r.Result = FileRead::Status::NotRegular;
        ::close(fd);
        return r;
    }
    r.Mode = st.st_mode & 07777;
    if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        r.Result = FileRead::Status::TooLarge;
        ::close(fd);
        return r;
    }
    r.Result = FileRead::Status::Read;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            r.Result = FileRead::Status::Failed;
            r.Error = ErrorOf(errno, "cannot read", path);
            break;
        }
        if (n == 0) break;
        // A file that grows while it is read is still held to the limit.
        if (r.Bytes.size() + static_cast<size_t>(n) > maxBytes) {
            r.Result = FileRead::Status::TooLarge;
            break;
        }
        r.Bytes.append(buf, static_cast<size_t>(n));
    }
    if (r.Result != FileRead::Status::Read) r.Bytes.clear();
    ::close(fd);
    return r;
}

bool ReplaceFileIn(const Folder& folder, const std::string& name, const std::string& tmpName, std::string_view bytes,
                   mode_t mode, FileError& error) {
    const int dir = folder.Fd();
    const std::string tmpPath = folder.Path() + tmpName;
    struct stat leftover {};
    if (::fstatat(dir, tmpName.c_str(), &leftover, AT_SYMLINK_NOFOLLOW) == 0 &&
        (S_ISREG(leftover.st_mode) || S_ISLNK(leftover.st_mode)))
        ::unlinkat(dir, tmpName.c_str(), 0);
    // O_EXCL with O_CREAT never follows a link: one put there since is an error, not a target.
    const int fd = ::openat(dir, tmpName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
        error = ErrorOf(errno, "cannot create", tmpPath);
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = ErrorOf(n < 0 ? errno : ENOSPC, "cannot write", tmpPath);
            ::close(fd);
            ::unlinkat(dir, tmpName.c_str(), 0);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    // The data must be on the disk before the rename makes it the file.
    if (::fsync(fd) != 0) {
        error = ErrorOf(errno, "cannot write", tmpPath);
        ::close(fd);
        ::unlinkat(dir, tmpName.c_str(), 0);
        return false;
    }
    if (::close(fd) != 0) {
        error = ErrorOf(errno, "cannot write", tmpPath);
        ::unlinkat(dir, tmpName.c_str(), 0);
        return false;
    }
    if (::renameat(dir, tmpName.c_str(), dir, name.c_str()) != 0) {
        error = ErrorOf(errno, "cannot replace", folder.Path() + name);
        ::unlinkat(dir, tmpName.c_str(), 0);
        return false;
    }
    // The rename itself is made durable with the folder. Some file systems cannot sync a folder
    // (EINVAL) and that is no failure; a write error is (and in the browser it is the refusal of
    // its storage, which keeps the folder).
    if (::fsync(dir) != 0 && errno == EIO) {
        error = ErrorOf(EIO, "cannot write", folder.Path());
        return false;
    }
    return true;
}

}  // namespace kiv
