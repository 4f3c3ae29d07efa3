#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace kiv {
struct Game;

// The scene numbers: the opening, the title menu, the ten stages, the two closing scenes.
enum SceneNumber : uint8_t {
    kSceneOpening = 0,
    kSceneMenu = 1,
    kSceneFirstStage = 2,
    kSceneLastStage = 11,
    kSceneEnding = 12,
    kSceneResults = 13,
};

// What a scene does each frame and with a press.
struct SceneRoutines {
    void (*Frame)(Game&);
    void (*Press)(Game&, MouseButton, bool shift, int x, int y);
};

// The routines of a scene; null for a number beyond the last scene, which runs nothing.
const SceneRoutines* RoutinesOfScene(uint8_t scene);

}  // namespace kiv
