#include "scenes/menu.h"

#include "shell/game.h"

namespace kiv {

void MenuScene(Game&) {}

void MenuClick(Game&, MouseButton, bool, int, int) {}

}  // namespace kiv
