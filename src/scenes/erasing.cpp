#include "scenes/erasing.h"

#include "media/screen.h"
#include "shell/game.h"

namespace kiv {

bool PointerInCircle(Game&, int16_t, int16_t, int16_t) { return false; }
bool TryStrokeAt(Game&, int) { return false; }
void CarryOutStroke(Game&) {}
void StampStroke(Game&) {}
void DabStroke(Game&) {}
void FinishStroke(Game&) {}
void UseInk(Game&, uint8_t) {}
void StrokePress(Game&, bool, int, int) {}
void StrokeMove(Game&, bool, int, int) {}
void StrokeRelease(Game&) {}
void StageKey(Game&, uint16_t) {}
void DrawSpotOutlines(Game&) {}

}  // namespace kiv
