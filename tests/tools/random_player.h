#pragma once

// The random player: headless runs of a game with seeded random scripts of presses, drags,
// releases, Shift, right clicks and the keys Ctrl, F4, F5, F11 and F12, closing the window at a
// random moment. After each run the program must have ended normally, with nothing on stderr
// (no sanitizer report, no complaint), no message box, and a Kiv.ini that holds thirty valid
// ranks.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace kiv::randomplay {

// The script of one seed: about `frames` frames of random input, then (or earlier, at a random
// moment) the window is closed. The same seed always gives the same script.
std::string MakeScript(uint32_t seed, int frames);

// What is wrong with a Kiv.ini after a run ("" when nothing): it must have the records'
// section with "Stage" and Rank01..Rank30, each rank a five-character code ("*****" or five
// letters a-z), a six-character name (letters a-z and "_", or presetName padded as the game
// pads it) and five digits, best first.
std::string CheckRecordsFile(const std::string& path, const std::string& presetName);

struct Setup {
    std::string binary;      // the kiv program
    std::string gameDir;     // the game folder the runs play (and write Kiv.ini into)
    std::string workDir;     // scripts, traces and stderr of the runs
    std::string presetName;  // the game's preset ranking name (line 12 of its Kiv.txt)
    int frames = 20000;
    int timeoutSeconds = 900;  // a run that takes longer hangs
    bool keep = false;         // keep the script, trace and stderr of clean runs too
};

struct Outcome {
    uint32_t seed = 0;
    int status = -1;                    // exit status, or -1 when it did not end normally
    std::set<int> scenes;               // scene numbers whose frames ran
    long frames = 0;                    // frames run
    std::vector<std::string> problems;  // empty when the run was clean
};

// Plays one seed; the script, trace and stderr stay in workDir as seed-N.* when it fails (or
// always, with keep).
Outcome PlayOnce(const Setup& setup, uint32_t seed);

// The preset name a game's Kiv.txt gives (its line 12, "//du" meaning "master").
std::string PresetNameOf(const std::string& gameDir);

}  // namespace kiv::randomplay
