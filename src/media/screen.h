#pragma once

namespace kiv {
struct Game;

// Creates the seven 640 x 480 screen surfaces and the four cels, and builds the palette.
void CreateScreenSurfaces(Game& g);
void BuildPalette(Game& g);
// Fills BackBmp with black and presents it.
void ClearBackSurface(Game& g);
// Copies all of BackBmp to the window.
void PresentAll(Game& g);
// Frees the surfaces and the palette.
void ReleaseScreenSurfaces(Game& g);

}  // namespace kiv
