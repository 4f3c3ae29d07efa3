#pragma once

#include "platform/platform.h"

namespace kiv {
struct Game;

// Scene 12: one frame of the ending.
void EndingScene(Game& g);
void EndingClick(Game& g, MouseButton button, bool shift, int x, int y);

}  // namespace kiv
