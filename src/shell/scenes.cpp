#include "shell/scenes.h"

#include <array>

#include "scenes/ending/ending.h"
#include "scenes/menu/menu.h"
#include "scenes/opening/opening.h"
#include "scenes/results/results.h"
#include "scenes/stage/stage.h"

namespace kiv {

namespace {

constexpr SceneRoutines kOpening{OpeningFrame, OpeningClick};
constexpr SceneRoutines kMenu{MenuScene, MenuClick};
constexpr SceneRoutines kStage{StageScene, StageClick};  // one routine plays all ten stages
constexpr SceneRoutines kEnding{EndingScene, EndingClick};
constexpr SceneRoutines kResults{ResultsScene, ResultsClick};

constexpr std::array<const SceneRoutines*, kSceneResults + 1> kScenes{&kOpening, &kMenu,  &kStage,  &kStage,  &kStage,
                                                                      &kStage,   &kStage, &kStage,  &kStage,  &kStage,
                                                                      &kStage,   &kStage, &kEnding, &kResults};

}  // namespace

const SceneRoutines* RoutinesOfScene(uint8_t scene) { return scene < kScenes.size() ? kScenes[scene] : nullptr; }

}  // namespace kiv
