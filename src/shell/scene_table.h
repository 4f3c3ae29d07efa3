#pragma once

#include <cstdint>

#include "game/scene_control.h"
#include "platform/platform.h"

namespace kiv {
struct Game;

// What a scene does each frame and with the mouse and keys. Press and Release are every
// scene's; the drag's moves and the stage keys (F4, F5, F11) only stage play takes: null
// elsewhere.
struct SceneRoutines {
    void (*Frame)(Game&);
    void (*Press)(Game&, MouseButton, bool shift, int x, int y);
    void (*Move)(Game&, bool shift, int x, int y);
    void (*Release)(Game&);
    void (*Key)(Game&, uint16_t key);
};

// The routines of a scene; null for a number beyond the last scene, which runs nothing.
const SceneRoutines* RoutinesOfScene(uint8_t scene);

}  // namespace kiv
