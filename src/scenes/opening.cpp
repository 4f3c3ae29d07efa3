#include "scenes/opening.h"

#include "shell/game.h"

namespace kiv {

void OpeningFrame(Game&) {}

void OpeningClick(Game&, MouseButton, bool, int, int) {}

}  // namespace kiv
