#pragma once

#include "platform/platform.h"

namespace kiv {
struct Game;

// Scene 13: one frame of the results and name entry.
void ResultsScene(Game& g);
void ResultsClick(Game& g, MouseButton button, bool shift, int x, int y);

}  // namespace kiv
