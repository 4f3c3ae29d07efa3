#include "scenes/face.h"

#include "shell/game.h"

namespace kiv {

void AnimateFace(Game&, uint8_t, uint8_t, uint8_t) {}
void DrawFacePart(Game&, int, int) {}
void SetMoodTouched(Game&) {}
void EscalateMood(Game&) {}

}  // namespace kiv
