#pragma once

// A folder that a tool fills with files of its own, such as a new game: made afresh, or taken
// as it stands when it is an empty folder, and never reached through a link in its own place.

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

#include "files/folder.h"

namespace kiv {

class NewFolder {
public:
    NewFolder() = default;
    NewFolder(const NewFolder&) = delete;
    NewFolder& operator=(const NewFolder&) = delete;

    // Makes dir (and its missing parents, mode 0777 less the umask), or takes it when it is an
    // empty folder. Refuses, with a sentence in error, a dir that is a link, that is no folder
    // or that holds anything; nothing is written then.
    bool Open(const std::string& dir, FileError& error);
    // Creates name in the folder with bytes: only a new regular file (a name already there, a
    // link included, is an error, and nothing is written through it).
    bool Create(const std::string& name, std::string_view bytes, mode_t mode, FileError& error);
    // Removes the files Create made, and the folder when Open made it.
    void Abandon();
    // dir with its trailing '/'.
    const std::string& Path() const { return folder_.Path(); }

private:
    Folder parent_;
    Folder folder_;
    std::string name_;
    bool made_ = false;
    std::vector<std::string> created_;
};

// The names in a folder held open (without "." and ".."), sorted; false with the reason when it
// cannot be read.
bool ListFolder(const Folder& folder, std::vector<std::string>& names, FileError& error);

}  // namespace kiv
