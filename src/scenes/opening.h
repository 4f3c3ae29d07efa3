#pragma once

#include "platform/platform.h"

namespace kiv {
struct Game;

// Scene 0: one frame of the opening animation.
void OpeningFrame(Game& g);
// A press during the opening.
void OpeningClick(Game& g, MouseButton button, bool shift, int x, int y);

}  // namespace kiv
