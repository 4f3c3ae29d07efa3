#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/audio.h"

namespace kiv {

// One problem of a game folder: an error stops or breaks the game, a warning is something the
// player will hear or see amiss.
struct CheckFinding {
    bool Error = true;
    std::string File;  // a file of the game folder: Kiv.txt, a picture, a sound
    int Line = 0;      // 1-based line of Kiv.txt; 0 when the finding is about a whole file
    std::string Text;
};

struct CheckReport {
    std::vector<CheckFinding> Findings;
    int Errors() const;
    int Warnings() const;
};

// Checks a game folder without playing it: Kiv.txt through the game's own reader (every
// malformed number, the texts, the chains of stages, the check points), every picture the
// start-up, the stages and the ending load (present, readable, of a size that fits what the
// scenes take from it), and the sounds and tunes. Whether a WAV file plays is asked of the
// sound back end's probe; without one, only that it is there and readable is checked.
CheckReport CheckGameFolder(const std::string& dir, WaveProbe canPlayWave);

// "Kiv.txt:30: text" for an error at a line of Kiv.txt, "D04.bmp: text" for one about a whole
// file; a warning has "warning: " before its text.
std::string FormatFinding(const CheckFinding& finding);

// Checks dir and prints every finding, one a line, then a line with the counts; returns the
// exit status: 0 without errors (warnings allowed), 1 with errors.
int RunCheck(const std::string& dir, std::FILE* out, WaveProbe canPlayWave);

}  // namespace kiv
