#include "shell/new_game.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "data/configuration.h"
#include "data/data_files.h"
#include "files/folder.h"
#include "files/new_folder.h"

namespace kiv {

namespace {

// The largest file of a game the copy takes (a picture file of the game is at most 257 MB).
constexpr size_t kMaxGameFile = size_t(257) << 20;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return char(std::tolower(ch)); });
    return s;
}

// The files that make a game: Kiv.txt and the pictures, sounds and music. The program, the
// records and anything else beside them stay behind.
bool IsGameFile(const std::string& name) {
    const std::string n = Lower(name);
    if (n == "kiv.txt") return true;
    const size_t dot = n.rfind('.');
    if (dot == std::string::npos || dot == 0) return false;
    const std::string ext = n.substr(dot);
    return ext == ".bmp" || ext == ".jpg" || ext == ".wav" || ext == ".mid";
}

std::string FolderOfProgram(const std::string& exePath) {
    const size_t slash = exePath.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : exePath.substr(0, slash + 1);
}

}  // namespace

std::string FindBundledDemo(const std::string& exePath) {
    const std::string own = FolderOfProgram(exePath);
    for (const std::string& installed : InstalledDemoFolders(own))
        if (DataFileExists(installed, "Kiv.txt")) return installed;
    return DataFileExists(own, "Kiv.txt") ? own : std::string();
}

std::string NewGameReadme() {
    return "A new game for Kiv, made from its demo\r\n"
           "======================================\r\n"
           "\r\n"
           "This folder is a complete copy of the demo game: Kiv.txt holds every number and text\r\n"
           "of the game (213 lines, by position; keep its CR LF line ends), and the pictures,\r\n"
           "sounds and music are named after what they are (C01.jpg is the background of stage 1,\r\n"
           "D01.bmp the picture the player rubs away, V010.wav its first voice ...).\r\n"
           "\r\n"
           "  kiv --data THIS_FOLDER                     play it\r\n"
           "  kiv --data THIS_FOLDER --stage 3           start at stage 3\r\n"
           "  kiv --check --data THIS_FOLDER             check it: every problem on a line of its own\r\n"
           "  kiv --check --render OUT --data THIS_FOLDER\r\n"
           "                                             also draw each stage's check points and\r\n"
           "                                             zones into OUT/stage-NN.png\r\n"
           "\r\n"
           "Change one thing at a time and check after each change. The guide for game makers,\r\n"
           "docs/game-makers.md, explains the folder, Kiv.txt block by block, picture sizes and\r\n"
           "masks, and the sounds. It comes with Kiv's sources, and with the Debian package in\r\n"
           "/usr/share/doc/kiv/game-makers.md.\r\n";
}

int MakeNewGame(const std::string& dir, const std::string& exePath, std::FILE* out) {
    const std::string demo = FindBundledDemo(exePath);
    if (demo.empty()) {
        std::fprintf(stderr,
                     "kiv: cannot make a new game: no demo game was found beside the program or installed "
                     "with it\n");
        return 1;
    }
    FileError error;
    Folder source;
    std::vector<std::string> names;
    if (!source.Open(demo, error) || !ListFolder(source, names, error)) {
        std::fprintf(stderr, "kiv: cannot make a new game: %s\n", error.Why.c_str());
        return 1;
    }
    names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& n) { return !IsGameFile(n); }),
                names.end());
    NewFolder target;
    if (!target.Open(dir, error)) {
        std::fprintf(stderr, "kiv: cannot make a new game: %s\n", error.Why.c_str());
        return 1;
    }
    auto fail = [&](const std::string& why) {
        target.Abandon();
        std::fprintf(stderr, "kiv: cannot make a new game: %s\n", why.c_str());
        return 1;
    };
    size_t copied = 0;
    for (const std::string& name : names) {
        const FileRead read = ReadFileIn(source, name, kMaxGameFile);
        // Only the demo's regular files are copied; a link or anything else there is no part of it.
        if (read.Result == FileRead::Status::Link || read.Result == FileRead::Status::NotRegular) continue;
        if (read.Result != FileRead::Status::Read)
            return fail(read.Error.Why.empty() ? std::string("cannot read ").append(demo).append(name)
                                               : read.Error.Why);
        if (!target.Create(name, read.Bytes, 0666, error)) return fail(error.Why);
        ++copied;
    }
    if (!target.Create("README.txt", NewGameReadme(), 0666, error)) return fail(error.Why);
    std::fprintf(out,
                 "kiv: made a new game in %s from the demo in %s (%zu files)\n"
                 "play it with: kiv --data %s\n"
                 "check it with: kiv --check --data %s\n",
                 target.Path().c_str(), demo.c_str(), copied + 1, target.Path().c_str(), target.Path().c_str());
    return 0;
}

}  // namespace kiv
