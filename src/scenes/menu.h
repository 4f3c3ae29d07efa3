#pragma once

#include "platform/platform.h"

namespace kiv {
struct Game;

// Scene 1: one frame of the title menu.
void MenuScene(Game& g);
// A press in the title menu.
void MenuClick(Game& g, MouseButton button, bool shift, int x, int y);

}  // namespace kiv
