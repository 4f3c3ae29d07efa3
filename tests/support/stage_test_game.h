#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scenes/stage/stage_counters.h"
#include "test_game.h"

namespace kiv::stage_test {

// Colours of the stage folder's pictures (0x00RRGGBB).
constexpr uint32_t kBackColour = 0x2040A0;     // background "C01": everywhere
constexpr uint32_t kPictureColour = 0xC08040;  // picture "D01" right of x = 200 (black left of it)
constexpr uint32_t kSecondPicture = 0x60C060;  // picture "D02" below y = 240 (black above)
constexpr uint32_t kTagColour = 0x00C000;      // the tag sprite on the parts sheet
constexpr uint32_t kBadgeColour = 0x00E0E0;    // the badge inside it
constexpr uint32_t kIconColour = 0xE000E0;     // the refill icon sprite
constexpr uint32_t kBonusColour = 0xF0F000;    // bonus picture "G01"
constexpr uint32_t kDecorColour = 0x40E040;    // decoration "D03"
constexpr int kPictureLeft = 200;

// Pixel (x, y) of cel c (1..4) of cel set `set` (1, or 2 for the bonus): each pixel its own colour.
constexpr uint32_t CelPixel(int set, int c, int x, int y) {
    return (static_cast<uint32_t>(set) << 20) | (static_cast<uint32_t>(c) << 16) | (static_cast<uint32_t>(x) << 8) |
           static_cast<uint32_t>(y);
}

// Layout of stage 1 (and 2): speech origin, refill spot, face rectangles.
constexpr int kTextX = 20, kTextY = 60;
constexpr int kRefillX = 60, kRefillY = 420;
constexpr int kCelLeft = 400, kCelTop = 100;  // the cel's (0, 0) on the screen
constexpr int kEyeL = 404, kEyeT = 104, kEyeR = 412, kEyeB = 110;
constexpr int kEye2L = 420, kEye2R = 428;
constexpr int kMouthL = 408, kMouthT = 130, kMouthR = 424, kMouthB = 136;

// The texts of stage 1 (two-byte units): the introduction has two rows.
inline const std::vector<std::string> kStage1Texts{"Hi__Ok_/", "Lost_/", "Cleared!_/", "Finish_/", "Aa_/",
                                                   "Bb_/",     "Cc_/",   "Dd_/",       "Ee_/",     "Ff_/"};

// Check point k of stage 1: the first `open` of them on the picture's black part (open from the
// start), the rest on the picture.
int PointX(int k, int open = 0);
constexpr int PointY(int k) { return 240 + 8 * k; }

struct StageFolderOptions {
    int openPoints = 0;  // check points of stage 1 on the picture's transparent part
    std::string playerName = "Player";
    std::vector<std::string> stage1Texts = kStage1Texts;
    int bonusRight = 0;       // w11 of stage 1 (the bonus rectangle is (100, 100, w11, 200))
    int bonusCels = 0;        // w7 div 10 of stage 1
    int carryIntoStage2 = 0;  // w7 mod 10 of stage 2
    int decoration = 0;  // byte 9 of stage 1: 3 puts "D03" (kDecorColour in (100, 300, 150, 350)) on the background
    // Stages 3..10 are copies of stage 1 (each leading to the next), stage 2 shows "D02" and
    // leads to scene 12.
    int speechColour = 1;
    FontRenderer* fonts = nullptr;  // the font of the texts; none: they draw nothing
};

// A game folder with two playable stages: Kiv.txt, the sheets, pictures, cels, stamp, voices,
// effects and the music of slots 1, 2, 3, 12.
void WriteStageFolder(const TempDir& dir, const StageFolderOptions& o = {});

// A headless game in a stage folder, with a trace.
struct StageGame {
    explicit StageGame(const StageFolderOptions& o = {});

    Game& g() { return game->game; }
    int16_t& Sc(int k) { return g().Shell.SceneCounters[static_cast<size_t>(k)]; }
    int Step() { return g().Shell.SceneCounters[kStep]; }
    uint32_t Window(int x, int y) const { return game->platform.WindowImage()[static_cast<size_t>(y) * 640 + x]; }
    uint32_t Back(int x, int y) const { return game->game.Media.BackBmp.Pixels[static_cast<size_t>(y) * 640 + x]; }

    // Enters stage `stage` (scene stage + 1) as the menu does, and runs its set-up frame.
    void Enter(int stage, bool challenge = false);
    void Frames(int n) { game->Frames(n); }
    // Runs frames until the step is `step` (at most max); false if it never came.
    bool RunToStep(int step, int max = 400);
    void Click(MouseButton b = MouseButton::Left, bool shift = false, int x = 320, int y = 240);
    // The introduction typed and clicked away: the stage (stage 1 unless one was entered) is in
    // play (step 50).
    void ToPlay();
    // Marks check point k open in the erase map.
    void OpenPoint(int k);

    // The trace so far (the file is flushed by reopening it elsewhere).
    std::string TraceText();
    // The trace's lines of event ev.
    std::vector<std::string> Events(const std::string& ev);

    TempDir dir;
    std::unique_ptr<HeadlessGame> game;
    int traceRound = 0;
};

}  // namespace kiv::stage_test
