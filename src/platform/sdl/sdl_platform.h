#pragma once

#include <memory>

#include "platform/platform.h"

namespace kiv {

// The real window, input, clock, cursors and sound, through SDL2. Null when SDL cannot start.
std::unique_ptr<Platform> MakeSdlPlatform();

// The game's button for an SDL mouse button number; false for the side buttons (and any
// other), which the game never sees, as its window framework did not pass them on.
bool GameMouseButton(uint8_t sdlButton, MouseButton& button);

}  // namespace kiv
