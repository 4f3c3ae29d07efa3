#pragma once

#include <memory>

#include "platform/platform.h"

namespace kiv {

// The real window, input, clock, cursors and sound, through SDL2. Null when SDL cannot start.
std::unique_ptr<Platform> MakeSdlPlatform();

}  // namespace kiv
