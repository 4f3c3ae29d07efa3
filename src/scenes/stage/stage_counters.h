#pragma once

#include <cstdint>

namespace kiv {

// What the twenty SceneCounters hold during stage play.
enum StageCounter : int {
    kSubFrame = 0,  // six-frame pause of step 95; the two-byte unit being typed
    kStep = 1,      // the stage's step
    kEyeRow = 2,
    kEyeIndex = 3,
    kEyeCel = 4,  // 0: the eye sequence has ended
    kMood = 5,    // the face's current mood (0 at stage start)
    kMouthRow = 6,
    kMouthIndex = 7,
    kMouthCel = 8,      // 0: the mouth sequence has ended
    kInk = 9,           // ink left: 0 at stage start, 141 after a refill
    kIconBlink = 10,    // blink counter of the refill icon in the introduction
    kIdleFrames = 11,   // frames without erasing
    kLastEyeCel = 12,   // the eye cel drawn last
    kSpeechLine = 13,   // the reaction line being typed
    kSpeechState = 14,  // 0 none, -1 typing a reaction line, > 0 frames it still shows
    kToggleBody = 15,   // alternation of reaction lines 5/6
    kToggleFeet = 16,   // 7/8
    kToggleHand = 17,   // 9/10
};

// The steps of StageScene; the numbers are the ones the press routine and the keys test.
enum StageStep : int16_t {
    kStepSetup = 0,
    kStepIntroStart = 1,
    kStepTypeIntro = 2,
    kStepIntroCursor = 3,
    kStepWaitIntroClick = 4,
    kStepIntroDone = 5,
    kStepPlay = 50,
    kStepPauseStart = 81,
    kStepTypePrompt = 82,
    kStepPromptCursor = 83,
    kStepWaitPromptClick = 84,
    kStepFinish = 85,
    kStepResume = 86,
    kStepBonus = 90,
    kStepWaitBonusClick = 91,
    kStepEndPause = 95,
    kStepTypeClosing = 96,
    kStepClosingCursor = 97,
    kStepWaitClosingClick = 98,
    kStepLeave = 99,
};

}  // namespace kiv
