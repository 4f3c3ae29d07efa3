#pragma once

#include <string>
#include <vector>

#include "data/config.h"

namespace kiv {

// What became of reading Kiv.txt.
enum class ConfigLoad {
    Read,       // the tables are filled (a short file leaves zeros and empty texts, with a warning on stderr)
    Missing,    // there is no Kiv.txt in the folder: the tables stay empty
    Malformed,  // it cannot be read or holds a malformed number: the error says where
};

// Sets AppDir := dir (ending in '/') and reads Kiv.txt from it into the tables.
ConfigLoad LoadConfiguration(const std::string& dir, Config& cfg, std::string& error);

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
