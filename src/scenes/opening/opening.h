#pragma once

#include "platform/platform.h"

namespace kiv {
struct Game;

namespace opening {

// What the SceneCounters hold during the opening; its phase is the third, not the second.
enum Counter : int {
    kGrowth = 0,  // frames of a letter's growth, 0..5
    kLetter = 1,  // the letter of the row that grows
    kPhase = 2,   // 0..2 the letter rows, 3..9 the logo with its rings, 10..13 the closing disc
    kRingA = 3,   // the radii of the two rings
    kRingB = 4,
    kDisc = 5,  // the closing disc's radius
};

}  // namespace opening

// Scene 0: one frame of the opening animation. SceneCounters[2] is the phase: 0..2 the letter
// rows grow, 3..9 the logo with two rings (66 frames each), 10..13 the closing disc (12 and
// 13 once a click asked to leave, which then hands over to scene 1 at 20 ms a frame).
void OpeningFrame(Game& g);
// Draws the whole logo and the two rings into BackBmp and moves the rings on; DstRect is left
// on the logo.
void LogoPulse(Game& g);
// A press during the opening (any button, anywhere): the disc closes, then the menu follows.
void OpeningClick(Game& g, MouseButton button, bool shift, int x, int y);

}  // namespace kiv
