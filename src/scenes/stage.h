#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace kiv {
struct Game;

// Scenes 2..11: one frame of stage SceneNo - 1.
void StageScene(Game& g);
// A press during stage play.
void StageClick(Game& g, MouseButton button, bool shift, int x, int y);

}  // namespace kiv
