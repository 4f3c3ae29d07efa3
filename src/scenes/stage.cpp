#include "scenes/stage.h"

#include "shell/game.h"

namespace kiv {

void StageScene(Game&) {}

void StageClick(Game&, MouseButton, bool, int, int) {}

}  // namespace kiv
