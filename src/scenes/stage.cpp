#include "scenes/stage.h"

#include "shell/game.h"

namespace kiv {

void StageScene(Game&) {}

void StageClick(Game&, MouseButton, bool, int, int) {}

void StageKey(Game&, uint16_t) {}

void StrokeMove(Game& g, bool, int, int) {
    if (g.Play.ScrapeState == 0) return;
}

void StrokeRelease(Game& g) {
    if (g.Play.ScrapeState == 0) return;
}

}  // namespace kiv
