#include "shell/scenes.h"

#include <array>

#include "records/ending.h"
#include "records/results.h"
#include "scenes/menu.h"
#include "scenes/opening.h"
#include "scenes/stage.h"

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
