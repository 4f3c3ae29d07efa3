#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"

namespace kiv {
struct Game;

namespace ending {

// What the SceneCounters hold during the ending.
enum Counter : int {
    kSubFrame = 0,  // frames of the typewriter and the blinking cursor; the final flicker
    kStep = 1,
    kInsetBPhase = 2,  // frames since inset B was last shown
    kRhythmIndex = 3,  // the entry of kBlinkRhythm that inset B follows
    kInsetAPhase = 4,  // 0 .. 2 * gap: inset A shows from 15 to gap + 14
    kInsetAGap = 5,    // 46..59 frames, drawn afresh each cycle
};

// The steps of EndingScene; 0 leads on by the stage's outcome.
enum Step : int16_t {
    kStepStart = 0,
    kStepLoadPictures = 50,
    kStepBlinkBeforeThanks = 51,
    kStepTypeThanks = 52,
    kStepBlinkAfterThanks = 53,
    kStepShowPicture = 54,
    kStepWaitClick = 55,  // the insets flicker until a press
    kStepClicked = 56,
    kStepFinalFlicker = 57,
    kStepClearPicture = 58,
    kStepTimeOver = 70,
    kStepBlinkBeforeTimeOver = 71,
    kStepTypeTimeOver = 72,
    kStepBlinkAfterTimeOver = 73,
    kStepClearTimeOver = 74,
    kStepLeave = 99,
};

// Entry k: the frames inset B stays hidden after its k-th one-frame flash; slow in the middle.
constexpr std::array<uint8_t, 35> kBlinkRhythm = {1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 5,
                                                  4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1};

}  // namespace ending

// Scene 12: one frame of the ending. After a clear the message is typed, then the End1 picture
// shows with its insets (End2 and End3, placed by StageLayout record 10) flickering until a
// press; after a time-out "time over" is typed; after a stage that was not cleared it passes on
// at once. It always ends on a black window and hands over to scene 13.
void EndingScene(Game& g);
// A press in scene 12 (any button, anywhere): ends the waiting picture; ignored otherwise.
void EndingClick(Game& g, MouseButton button, bool shift, int x, int y);
// One frame of the inset flicker: inset A shows for gap frames and hides for gap + 1, inset B
// flashes for one frame at a time; both are presented from WorkBmp and hidden from BackBmp.
void AnimateEnding(Game& g);
// A fresh gap of inset A: 46 + Random(14).
void NewBlinkGap(Game& g);

}  // namespace kiv
