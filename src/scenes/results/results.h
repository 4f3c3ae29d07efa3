#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace kiv {
struct Game;

namespace results {

// What the SceneCounters hold during the results.
enum Counter : int {
    kSubFrame = 0,  // frames of the typewriter and the blinking cursor
    kStep = 1,      // during name entry, step - 64 letters have been entered
    kTotal = 2,     // the run's total time
    kRank = 3,      // the new result's rank 1..30, 0 when it was not ranked
};

// The steps of ResultsScene.
enum Step : int16_t {
    kStepStart = 0,
    kStepSetup = 50,
    kStepFirstStageLine = 51,  // 51..58: the line of stage step - 50
    kStepLastStageLine = 58,
    kStepTotalLine = 59,
    kStepTypeTotal = 60,
    kStepRankRow = 61,
    kStepTypeRankRow = 62,
    kStepNameStart = 63,
    kStepNameEntry = 64,  // 64..70: step - 64 letters entered, waiting for presses
    kStepNameFull = 70,
    kStepStoreName = 71,
    kStepWaitNotRanked = 79,
    kStepClear = 80,
    kStepLeave = 99,
};

constexpr int kNameLength = 6;

}  // namespace results

// Scene 13: one frame of the results. A completed challenge run sums the kept stage times,
// ranks the total, shows the ranking, the stage times and the total, and takes a six-letter
// name for a ranked result; any other run passes on at once. Always returns to the opening.
void ResultsScene(Game& g);
// A press in scene 13: during name entry a left press adds the letter under the pointer (the
// seventh stores the entry) and any other button removes the last one; after an unranked total
// any press leads on. Ignored otherwise.
void ResultsClick(Game& g, MouseButton button, bool shift, int x, int y);
// The letter of the alphabet a press at (x, y) picks: rows of 28 pixels, odd letters (a, c, ..
// "_") left of x = 177 and even ones (b, d, .. z) from there on.
char LetterUnderPointer(int x, int y);

}  // namespace kiv
