#pragma once

#include "platform/platform.h"

namespace kiv {
struct Game;

// Scene 0: one frame of the opening animation. SceneCounters[2] is the phase: 0..2 the letter
// rows grow, 3..9 the logo with two rings (66 frames each), 10..13 the closing disc (12 and
// 13 once a click asked to leave, which then hands over to scene 1 at 20 ms a frame).
void OpeningFrame(Game& g);
// Draws the whole logo and the two rings into BackBmp and moves the rings on; DstRect is left
// on the logo.
void LogoPulse(Game& g);
// A press during the opening (any button, anywhere): the disc closes, then the menu follows.
void OpeningClick(Game& g, MouseButton button, bool shift, int x, int y);
// SceneCounters[0] counts six frames, then the step SceneCounters[1] moves on.
void AdvanceStep(Game& g);

}  // namespace kiv
