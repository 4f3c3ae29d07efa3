#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace kiv {
struct Game;

namespace menu {

// What the SceneCounters hold in the title menu.
enum Counter : int {
    kSubFrame = 0,  // frame sub-counter; the scroll position while the help line runs
    kStep = 1,
    kRingFrame = 2,  // rings show while it is below 30; it runs 0..80
    kItem = 3,       // the chosen item
    kRankRow = 4,    // frames of the ranking reset, 0..59
};

// The steps of MenuScene; the press routine tests the same numbers.
enum Step : int16_t {
    kStepFirstSlice = 0,    // 0..7: the slices slide in, one every six frames
    kStepFirstButton = 8,   // 8..10: the three buttons slide in
    kStepShowMenu = 11,     // title panel, ranking, 40 ms a frame
    kStepWait = 12,         // waiting for a choice
    kStepSelect = 13,       // the chosen element moves out
    kStepWaitConfirm = 14,  // its marker blinks: left press confirms, another cancels
    kStepCancel = 15,       // marker hidden
    kStepCancelBack = 16,   // the element moves back
    kStepCancelDone = 17,
    kStepConfirm = 18,       // confirm sound
    kStepConfirmFlash = 19,  // the confirm marker flashes (26 frames)
    kStepCarryOut = 20,
};

// The items of the menu: 1..8 are the stages.
enum Item : int16_t {
    kItemLastStage = 8,
    kItemChallenge = 9,
    kItemEnd = 10,
    kItemHelp = 11,
    kItemMemories = 12,  // "memories clear"; 13..18 carry its slice animation on
    kItemMemoriesLast = 18,
    kItemRanking = 19,  // "ranking clear"
};

}  // namespace menu

// Scene 1: one frame of the title menu.
void MenuScene(Game& g);
// A press in the title menu.
void MenuClick(Game& g, MouseButton button, bool shift, int x, int y);

// Moves emblem slice a (0..7) one pixel: the frame with SceneCounters[0] = 0 plays the slide
// sound, later frames first remove the slice from offset (b - [0] + 1) * c; it is then added at
// offset (b - [0]) * c, open or closed as stage a + 1 is.
void DrawSlice(Game& g, int a, int b, int c);
// Shows button a (0..3) at offset (b - [0]) * c; the frame with [0] = 0 plays the slide sound.
void DrawButton(Game& g, int a, int b, int c);
// The two rings over the emblem, in the window only; 30 frames of rings, 51 of pause.
void PulseRings(Game& g);
// One frame of the blinking marker of an item (kind 0 select, 1 confirm; i = item - 1).
void BlinkItemMarker(Game& g, int kind, int i);
// One frame of the help line; when it has run out, the step becomes kStepCancel.
void TickerStep(Game& g);
// Shows picture k (0..2) beside the help line.
void DrawMenuPiece(Game& g, int k);
// A press chose item c: the pointer hides and the selection animation begins.
void ChooseMenuItem(Game& g, int c);
// Starts a stage scene (2..11) on a black screen, as choosing it does: in the challenge run or
// as a single stage, no assist used yet.
void StartStage(Game& g, uint8_t scene, bool challenge);
// Starts stage n (1..10) straight after the start-up, as choosing it does; entering it opens no
// stage in the menu (clearing it may open the next, as in play).
void StartStageDirectly(Game& g, int n);
// Back to the opening on a black screen.
void ReturnToOpening(Game& g);

// Stops the help line at once, blanking its strip and the picture beside it.
void StopTicker(Game& g);
// A left press during the help line: it jumps n pixels on.
void JumpTicker(Game& g, int n);

}  // namespace kiv
