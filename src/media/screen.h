#pragma once

#include <array>
#include <cstdint>

#include "data/config.h"
#include "media/media_state.h"
#include "media/surface.h"
#include "platform/platform.h"

namespace kiv {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// FullRect, the 640 x 480 surfaces BackBmp and WorkBmp, the four empty cels and the palette
// record (version 0x300, 48 entries).
void CreateScreenSurfaces(MediaState& m);
// The five 640 x 480 surfaces of a stage (MaskBmp, EraseMapBmp, StageBackBmp, StagePicBmp,
// StampBmp), each made white when it does not exist yet; those that exist are kept as they are.
void CreateStageSurfaces(MediaState& m);
// A new 640 x 480 surface (white, as a freshly sized bitmap is) with a black brush.
void CreateScreenSurface(Surface& surface);
// PalRec from the configuration's 48 colours (each component x 17), then GamePalette from it.
void BuildPalette(MediaState& m, const std::array<PaletteColor, 48>& colours);
// Frees every surface, the palette record and the palette.
void ReleaseScreenSurfaces(MediaState& m);

// Select and realise GamePalette before a copy: no colour changes on a true-colour display.
void SelectSurfacePalette(const MediaState& m, Surface& surface);
void SelectWindowPalette(const MediaState& m);

// Where presented pictures go: the platform's window, and the media's window canvas for a
// picture that cannot be shown straight (not screen-sized, monochrome, or a rectangle given
// the wrong way round).
struct WindowTarget {
    Platform& P;
    MediaState& Media;
};

// Paints (0, 0, 640, 480) of the surface with its pen and brush (black); nothing is shown.
void PaintSurface(const MediaState& m, Surface& surface);
// Shows rectangle r of src in the window at the same place (the window canvas's CopyRect).
void PresentArea(WindowTarget w, const Surface& src, const Rect& r);
// dstRect of dst := srcRect of src (stretching), with dst's CopyMode.
void CopyRectTo(const MediaState& m, Surface& dst, const Rect& dstRect, const Surface& src, const Rect& srcRect);
// A masked draw of srcRect into dstRect of dst: SRCAND with the mask (white keeps dst), then
// SRCPAINT with the sprite (black outside its shape); dst's CopyMode is SRCCOPY afterwards.
void MaskedDrawRect(const MediaState& m, Surface& dst, const Rect& dstRect, const Surface& mask, const Surface& sprite,
                    const Rect& srcRect);
// Ellipse on the surface in the box (x - r, y - r)..(x + r + 1, y + r + 1) with its pen and brush.
void DrawCircleOn(Surface& surface, int16_t x, int16_t y, int16_t r);

}  // namespace kiv
