#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace kiv {
struct Game;

// Scenes 2..11: one frame of stage SceneNo - 1.
void StageScene(Game& g);
// A press during stage play.
void StageClick(Game& g, MouseButton button, bool shift, int x, int y);
// F4, F5 and F11 in step 50 of a stage.
void StageKey(Game& g, uint16_t key);
// The drag of stage play: a move while a drag is under way, and its end.
void StrokeMove(Game& g, bool shift, int x, int y);
void StrokeRelease(Game& g);

}  // namespace kiv
