#include "records/results.h"

#include "shell/game.h"

namespace kiv {

void ResultsScene(Game&) {}

void ResultsClick(Game&, MouseButton, bool, int, int) {}

}  // namespace kiv
