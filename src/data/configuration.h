#pragma once

#include <string>

namespace kiv {
struct Game;

// Sets AppDir and reads Kiv.txt from it. A missing file shows "not find  Kiv.txt" and takes
// the halt path (the tables stay empty). Returns false, with the message in error, when the
// file holds a malformed number: the program must then end without running a frame.
bool LoadConfiguration(Game& g, std::string& error);

// Where an installed program whose folder is exeDir (".../bin/") finds the installed demo
// game: the prefix's share/kiv/demo/.
std::string InstalledDemoFolder(const std::string& exeDir);

}  // namespace kiv
