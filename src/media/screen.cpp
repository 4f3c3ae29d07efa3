#include "media/screen.h"

#include "shell/game.h"

namespace kiv {

void CreateScreenSurfaces(Game&) {}
void BuildPalette(Game&) {}
void ClearBackSurface(Game&) {}
void PresentAll(Game&) {}
void ReleaseScreenSurfaces(Game&) {}

}  // namespace kiv
