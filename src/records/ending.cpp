#include "records/ending.h"

#include "shell/game.h"

namespace kiv {

void EndingScene(Game&) {}

void EndingClick(Game&, MouseButton, bool, int, int) {}

}  // namespace kiv
