#pragma once

#include <cstdint>

#include "media/surface.h"

namespace kiv {
struct Game;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// FullRect, the 640 x 480 surfaces BackBmp and WorkBmp, the four empty cels and the palette
// record (version 0x300, 48 entries).
void CreateScreenSurfaces(Game& g);
// The five 640 x 480 surfaces of a stage (MaskBmp, EraseMapBmp, StageBackBmp, StagePicBmp,
// StampBmp), each made white when it does not exist yet; those that exist are kept as they are.
void CreateStageSurfaces(Game& g);
// A new 640 x 480 surface (white, as a freshly sized bitmap is) with a black brush.
void CreateScreenSurface(Surface& surface);
// PalRec from the configuration's 48 colours (each component x 17), then GamePalette from it.
void BuildPalette(Game& g);
// Frees every surface, the palette record and the palette.
void ReleaseScreenSurfaces(Game& g);

// Select and realise GamePalette before a copy: no colour changes on a true-colour display.
void SelectSurfacePalette(Game& g, Surface& surface);
void SelectWindowPalette(Game& g);

// Paints (0, 0, 640, 480) of the surface with its pen and brush (black); BackBmp is then
// presented whole.
void ClearSurface(Game& g, Surface& surface);
// Shows all of BackBmp in the window.
void PresentAll(Game& g);
// Shows DstRect of src in the window at the same place.
void PresentRect(Game& g, const Surface& src);
// SrcRect of src into DstRect of dst (stretching), with dst's CopyMode.
void CopyToSurface(Game& g, Surface& dst, const Surface& src);
// SrcRect of a surface into its own DstRect, as if the source were read first.
void CopyWithinSurface(Game& g, Surface& surface);
// DstRect of src into DstRect of dst, with dst's CopyMode. dst may be src.
void CopySameRect(Game& g, Surface& dst, const Surface& src);
// A masked draw of SrcRect into DstRect of dst: SRCAND with the mask (white keeps dst), then
// SRCPAINT with the sprite (black outside its shape); dst's CopyMode is SRCCOPY afterwards.
void MaskedDraw(Game& g, Surface& dst, const Surface& mask, const Surface& sprite);
// Ellipse on BackBmp in the box (x - r, y - r)..(x + r + 1, y + r + 1) with its pen and brush.
void DrawCircle(Game& g, int16_t x, int16_t y, int16_t r);

}  // namespace kiv
