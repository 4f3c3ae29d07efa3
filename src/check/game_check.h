#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/font.h"

namespace kiv {

// One problem of a game folder: an error stops or breaks the game, a warning is something the
// player will hear or see amiss.
struct CheckFinding {
    bool Error = true;
    std::string File;  // a file of the game folder: Kiv.txt, a picture, a sound
    int Line = 0;      // 1-based line of Kiv.txt; 0 when the finding is about a whole file
    std::string Text;
};

// What the check found of one check point of a stage.
enum class PointCheck : uint8_t {
    NotChecked,     // the stage is not in use, or its values or pictures did not allow the test
    Rubbable,       // covered at the start, and some press rubs it away
    OpenFromStart,  // the stage picture is transparent there: it counts from the start
    OffPicture,     // outside the 640 x 480 picture: it counts from the start
    Never           // covered, and no press that the game allows rubs it away (an error)
};

struct CheckReport {
    std::vector<CheckFinding> Findings;
    // Every check point of the ten stages: for the stages that can be played, and with a
    // render for every stage in use.
    std::array<std::array<PointCheck, 20>, 10> Points{};
    // The pictures a render wrote, and why it stopped when it could not write them all.
    std::vector<std::string> Rendered;
    std::string RenderError;
    int Errors() const;
    int Warnings() const;
};

// Checks a game folder without playing it: Kiv.txt through the game's own reader (every
// malformed number, the texts, the chains of stages, the check points), every picture the
// start-up, the stages and the ending load (present, readable, of a size that fits what the
// scenes take from it), and the sounds and tunes. Whether a WAV file plays is asked of the
// sound back end's probe; without one, only that it is there and readable is checked.
CheckReport CheckGameFolder(const std::string& dir, WaveProbe canPlayWave);

// A picture of each stage's data besides the check: where to write it and the font of its
// numbers and letters (null, or one that is not available: the marks go without them).
struct StageRender {
    std::string Dir;
    FontRenderer* Fonts = nullptr;
};

// The check, and then, for every stage in use, Dir/stage-NN.png (640 x 480): the stage as it
// starts (background, decorations, insert, and the stage picture over them), the check points
// numbered and marked after what the check found, the reaction zones A to E, the ink spot, the
// tag's area and the protected circle outlined. Dir is made when missing; a picture is written
// afresh beside its name and renamed over it, so a link found there is replaced, not followed.
CheckReport CheckGameFolder(const std::string& dir, WaveProbe canPlayWave, const StageRender& render);

// "Kiv.txt:30: text" for an error at a line of Kiv.txt, "D04.bmp: text" for one about a whole
// file; a warning has "warning: " before its text.
std::string FormatFinding(const CheckFinding& finding);

// Checks dir and prints every finding, one a line, then a line with the counts; returns the
// exit status: 0 without errors (warnings allowed), 1 with errors.
int RunCheck(const std::string& dir, std::FILE* out, WaveProbe canPlayWave);
// The same with a render: what it wrote and any failure go to stderr, and a failure makes
// the status 1.
int RunCheck(const std::string& dir, std::FILE* out, WaveProbe canPlayWave, const StageRender& render);

}  // namespace kiv
