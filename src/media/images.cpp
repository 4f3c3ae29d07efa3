#include "media/images.h"

#include "shell/game.h"

namespace kiv {

void LoadStartupSheets(Game&) {}

}  // namespace kiv
