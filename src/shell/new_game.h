#pragma once

#include <cstdio>
#include <string>

namespace kiv {

// Where the program at exePath finds the demo it comes with, with its trailing '/': the demo
// installed with it, else the game folder beside it (a build's); "" when there is none.
std::string FindBundledDemo(const std::string& exePath);

// kiv --new DIR: a copy of the bundled demo's game files (Kiv.txt, the pictures, sounds and
// music; no records) and a README.txt for the maker, in a folder made for them or one that is
// empty. Says on out what it made and returns 0; on failure says why on stderr, leaves nothing
// it wrote behind and returns 1.
int MakeNewGame(const std::string& dir, const std::string& exePath, std::FILE* out);

// The README.txt of a new game.
std::string NewGameReadme();

}  // namespace kiv
