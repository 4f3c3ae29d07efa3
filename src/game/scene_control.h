#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "game/game.h"

// What every scene uses to run itself: the scene switch, the scene counters by name, the
// six-frame step, the frame interval, the pointer and closing the window.
namespace kiv {

// The scene numbers: the opening, the title menu, the ten stages, the two closing scenes.
enum SceneNumber : uint8_t {
    kSceneOpening = 0,
    kSceneMenu = 1,
    kSceneFirstStage = 2,
    kSceneLastStage = 11,
    kSceneEnding = 12,
    kSceneResults = 13,
};

// The one way to hand over to another scene: SceneNo := scene and the twenty counters are
// zeroed, so the scene's next frame starts at step 0. A scene may hand over to itself to
// start again.
void ChangeScene(Game& g, uint8_t scene);
// The twenty counters zeroed, SceneNo unchanged.
void ResetSceneCounters(Game& g);

// A scene counter by the name its scene gives it: each scene names its slots with an enum of
// its own (opening::Counter, menu::Counter, StageCounter, ending::Counter, results::Counter).
template <typename Slot>
requires std::is_enum_v<Slot> int16_t& Sc(Game& g, Slot slot) {
    return g.Shell.SceneCounters[static_cast<size_t>(slot)];
}
template <typename Slot>
requires std::is_enum_v<Slot> int16_t Sc(const Game& g, Slot slot) {
    return g.Shell.SceneCounters[static_cast<size_t>(slot)];
}

// The two counters every scene but the opening uses alike, for the helpers they share.
enum class CommonCounter : int {
    SubFrame = 0,  // a frame sub-counter
    Step = 1,      // the step of scenes 1..13
};

// The step of scenes 1..13 (the second counter) and the frame sub-counter (the first).
int16_t SceneStep(const Game& g);
void SetSceneStep(Game& g, int16_t step);
// Counts a frame in the sub-counter; true (and the sub-counter back at 0) on the sixth.
bool SixthFrame(Game& g);
// The sub-counter counts six frames, then the step moves on by one.
void AdvanceStep(Game& g);

// FrameInterval := ms; the timer follows while it drives the frames.
void SetFrameInterval(Game& g, uint8_t ms);
// CurrentCursor := id, and the window's pointer with it.
void SetGameCursor(Game& g, int16_t id);
// Closes the window as the user does: no further frame runs, and the records are saved.
void CloseForm(Game& g);
// The stage-play flags at their start values.
void ResetPlayFlags(Game& g);

}  // namespace kiv
