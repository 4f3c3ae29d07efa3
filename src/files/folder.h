#pragma once

// Reading and durably replacing the files of a folder held open, so that the file checked is the
// file written, whatever links change meanwhile.

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "files/paths.h"

namespace kiv {

// A folder held open by its descriptor. The names given to the functions below are looked up in
// this folder, even when a link on the path it was opened by is changed afterwards.
class Folder {
public:
    Folder() = default;
    ~Folder();
    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&& other) noexcept;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    // Opens dir ("" is the current folder), following links on the way; dir ends in '/' or is "".
    bool Open(const std::string& dir, FileError& error);
    // Opens the folder name of parent, which must be a folder itself and not a link; path is
    // what Path() says afterwards.
    bool OpenIn(const Folder& parent, const std::string& name, const std::string& path, FileError& error);
    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    // The path it was opened by: names in messages are Path() + name.
    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

// What ReadFileIn found at a name.
struct FileRead {
    enum class Status {
        Read,        // a regular file, read whole into Bytes
        Missing,     // nothing of that name
        Link,        // a symbolic link, not followed
        NotRegular,  // a folder, a device, a FIFO, a socket: not opened or not read
        TooLarge,    // a regular file of more than maxBytes
        Failed       // it could not be opened or read: Error says why
    };
    Status Result = Status::Failed;
    std::string Bytes;
    mode_t Mode = 0;  // the permission bits of the file read
    FileError Error;
};

// Reads the file name of folder whole. A link in its place is not followed, and only a regular
// file is read; that is checked on the file as opened, so that nothing put in its place between
// a look and the opening is read instead, and nothing waits on a FIFO or a device.
FileRead ReadFileIn(const Folder& folder, const std::string& name, size_t maxBytes);

// Replaces name in folder with bytes so that at every moment, a crash or a power cut included,
// name is either the old file or the new one, whole. The bytes go to tmpName, made afresh and
// exclusively (whatever file or link an earlier crash or anyone else left at that name is
// removed, never written through), flushed to the disk, then renamed over name (the entry is
// replaced: a link there is replaced, not followed); the folder is flushed so that the rename
// lasts. The new file gets mode, less the umask. On failure the temporary is removed, name is
// as it was, and error names the file that failed.
bool ReplaceFileIn(const Folder& folder, const std::string& name, const std::string& tmpName, std::string_view bytes,
                   mode_t mode, FileError& error);

}  // namespace kiv
