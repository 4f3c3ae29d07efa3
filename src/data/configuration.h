#pragma once

#include <string>
#include <vector>

namespace kiv {
struct Game;

// Sets AppDir and reads Kiv.txt from it. A missing file shows "not find  Kiv.txt" and takes
// the halt path (the tables stay empty). Returns false, with the message in error, when the
// file holds a malformed number: the program must then end without running a frame.
bool LoadConfiguration(Game& g, std::string& error);

// The game folder, with its trailing '/': dataDir when given, else the folder of the program at
// exePath; an installed program (PREFIX/bin/kiv, /usr/games/kiv) with no Kiv.txt beside it
// plays the demo installed with it, and shared is then set (that folder belongs to every user).
std::string FindGameFolder(const std::string& dataDir, const std::string& exePath, bool& shared);

// Where an installed program whose folder is exeDir finds the demo installed with it, in the
// order tried: where the build's install layout put it, then the two usual layouts, a user's
// own (PREFIX/bin/ and PREFIX/share/kiv/demo/) and a system package's (PREFIX/games/ and
// PREFIX/share/games/kiv/demo/). Each is a folder with its trailing '/', its ".." steps taken.
std::vector<std::string> InstalledDemoFolders(const std::string& exeDir);

}  // namespace kiv
