#include "shell/scene_table.h"

#include <array>

#include "scenes/ending/ending.h"
#include "scenes/menu/menu.h"
#include "scenes/opening/opening.h"
#include "scenes/results/results.h"
#include "scenes/stage/erasing.h"
#include "scenes/stage/stage.h"

namespace kiv {

namespace {

// A drag can outlast its stage (the time runs out while the button is held): its release ends
// it in whichever scene follows, as a release in the stage would.
constexpr auto kEndDrag = StrokeRelease;

constexpr SceneRoutines kOpening{OpeningFrame, OpeningClick, nullptr, kEndDrag, nullptr};
constexpr SceneRoutines kMenu{MenuScene, MenuClick, nullptr, kEndDrag, nullptr};
// One set of routines plays all ten stages.
constexpr SceneRoutines kStage{StageScene, StageClick, StrokeMove, StrokeRelease, StageKey};
constexpr SceneRoutines kEnding{EndingScene, EndingClick, nullptr, kEndDrag, nullptr};
constexpr SceneRoutines kResults{ResultsScene, ResultsClick, nullptr, kEndDrag, nullptr};

constexpr std::array<const SceneRoutines*, kSceneResults + 1> kScenes{&kOpening, &kMenu,  &kStage,  &kStage,  &kStage,
                                                                      &kStage,   &kStage, &kStage,  &kStage,  &kStage,
                                                                      &kStage,   &kStage, &kEnding, &kResults};

}  // namespace

const SceneRoutines* RoutinesOfScene(uint8_t scene) { return scene < kScenes.size() ? kScenes[scene] : nullptr; }

}  // namespace kiv
