// Input routing: presses, moves, releases and the stage keys go to the current scene's
// routines; Ctrl and F12 act on the clock and the display in every scene.
#include "game/game.h"
#include "maker/maker_tools.h"
#include "shell/form.h"
#include "shell/scene_table.h"

namespace kiv {

void TFM1::MouseDown(MouseButton button, bool shift, int x, int y) {
    if (maker_) maker_->PointerAt(x, y);
    // A press in a scene beyond the last is ignored.
    if (const SceneRoutines* r = RoutinesOfScene(g_.Shell.SceneNo)) r->Press(g_, button, shift, x, y);
}

void TFM1::MouseMove(bool shift, int x, int y) {
    if (maker_) maker_->PointerAt(x, y);
    const SceneRoutines* r = RoutinesOfScene(g_.Shell.SceneNo);
    if (r && r->Move) r->Move(g_, shift, x, y);
}

void TFM1::MouseUp(MouseButton, bool, int, int) {
    const SceneRoutines* r = RoutinesOfScene(g_.Shell.SceneNo);
    if (r && r->Release) r->Release(g_);
}

void TFM1::KeyUp(uint16_t key, bool) {
    switch (key) {
        case vk::Control: SwitchClockMode(g_); break;
        case vk::F4:
        case vk::F5:
        case vk::F11:
            if (const SceneRoutines* r = RoutinesOfScene(g_.Shell.SceneNo); r && r->Key) r->Key(g_, key);
            break;
        case vk::F9:
            if (maker_) maker_->OverlayKey();
            break;
        case vk::F12:
            g_.Shell.WideMode = !g_.Shell.WideMode;
            ApplyDisplayMode(g_);
            break;
        default: break;
    }
}

}  // namespace kiv
