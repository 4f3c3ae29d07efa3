// Input routing: presses go to the current scene's press routine, moves and releases to the
// drag of stage play, and a few keys act on the clock, the display and stage play.
#include "game/game.h"
#include "scenes/stage/erasing.h"
#include "shell/form.h"
#include "shell/scenes.h"

namespace kiv {

void TFM1::MouseDown(MouseButton button, bool shift, int x, int y) {
    // A press in a scene beyond the last is ignored.
    if (const SceneRoutines* r = RoutinesOfScene(g_.Shell.SceneNo)) r->Press(g_, button, shift, x, y);
}

// Outside stage play no drag is ever under way, so the scene need not be tested.
void TFM1::MouseMove(bool shift, int x, int y) { StrokeMove(g_, shift, x, y); }

void TFM1::MouseUp(MouseButton, bool, int, int) { StrokeRelease(g_); }

void TFM1::KeyUp(uint16_t key, bool) {
    const uint8_t scene = g_.Shell.SceneNo;
    const bool inPlay = scene >= kSceneFirstStage && scene <= kSceneLastStage && g_.Shell.SceneCounters[1] == 50;
    switch (key) {
        case vk::Control: SwitchClockMode(g_); break;
        case vk::F4:
        case vk::F5:
        case vk::F11:
            if (inPlay) StageKey(g_, key);
            break;
        case vk::F12:
            g_.Shell.WideMode = !g_.Shell.WideMode;
            ApplyDisplayMode(g_);
            break;
        default: break;
    }
}

}  // namespace kiv
