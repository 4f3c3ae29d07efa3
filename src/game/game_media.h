#pragma once

#include <cstdint>
#include <string>

#include "game/game.h"
#include "media/glyph_text.h"
#include "media/images.h"
#include "media/screen.h"
#include "media/sound.h"

// The media as the scenes use them: the picture loaders, sounds and glyph text bound to this
// game, and the system's copy and present routines over the shared rectangles SrcRect and
// DstRect, which carry a rectangle from one call to the next.
namespace kiv {

// The loaders read the game folder; a picture that cannot be used takes the halt path: the
// window hides, the message shows, HaltRequested and CloseRequested are set. Once the program is
// already closing over a missing file, a further one is only noted on stderr.
PictureLoader Pictures(Game& g);
inline SoundPorts Sounds(Game& g) { return SoundPorts{g.P, g.Cfg, g.Sound}; }
inline GlyphPen Glyphs(Game& g) { return GlyphPen{g.Glyph, g.Media, g.P}; }
inline WindowTarget WindowOf(Game& g) { return WindowTarget{g.P, g.Media}; }

// The halt path of a required file that cannot be used, with its message.
void HaltOverFile(Game& g, const std::string& message);

// SrcRect of src into DstRect of dst (stretching), with dst's CopyMode.
void CopyToSurface(Game& g, Surface& dst, const Surface& src);
// SrcRect of a surface into its own DstRect, as if the source were read first.
void CopyWithinSurface(Game& g, Surface& surface);
// DstRect of src into DstRect of dst, with dst's CopyMode. dst may be src.
void CopySameRect(Game& g, Surface& dst, const Surface& src);
// A masked draw of SrcRect into DstRect of dst: SRCAND with the mask (white keeps dst), then
// SRCPAINT with the sprite (black outside its shape); dst's CopyMode is SRCCOPY afterwards.
void MaskedDraw(Game& g, Surface& dst, const Surface& mask, const Surface& sprite);
// Shows DstRect of src in the window at the same place.
void PresentRect(Game& g, const Surface& src);
// Shows all of BackBmp in the window.
void PresentAll(Game& g);
// Paints (0, 0, 640, 480) of the surface with its pen and brush (black); BackBmp is then
// presented whole.
void ClearSurface(Game& g, Surface& surface);
// Ellipse on BackBmp in the box (x - r, y - r)..(x + r + 1, y + r + 1) with its pen and brush.
void DrawCircle(Game& g, int16_t x, int16_t y, int16_t r);

}  // namespace kiv
