#pragma once

#include <string>

#include "media/surface.h"
#include "platform/font.h"
#include "platform/geometry.h"

namespace kiv {

// Any rectangle or point is accepted: everything is clipped to the surfaces, and a call that
// would touch nothing does nothing. Colours are COLORREF (0x00BBGGRR).

// Stretching copy: dstRect (width Right-Left, height Bottom-Top; negative extents mirror) takes
// srcRect, nearest-pixel, shrinking per dst.Stretch; colour<->mono per src.BkColor and
// dst.TextColor/BkColor; then combined with the destination by rop. dst may be src.
void StretchCopy(Surface& dst, Rect dstRect, const Surface& src, Rect srcRect, Rop rop);

// The canvas's CopyRect: StretchCopy with dst.CopyMode, the conversion colours taken from the
// canvases (text = dst font colour; background = brush colour, or black with a clear brush).
void CanvasCopyRect(Surface& dst, Rect dstRect, const Surface& src, Rect srcRect);

// Paints rect (not normalised; an empty or reversed one paints nothing) with the brush; a clear
// brush paints nothing.
void FillRectangle(Surface& s, Rect rect);

// Corners normalised; pen outline on the border of [l,r) x [t,b), brush inside unless clear.
// A zero-width, zero-height or 1x1 rectangle draws nothing.
void Rectangle(Surface& s, int l, int t, int r, int b);

// Corners normalised; an ellipse inside [l,r) x [t,b), pen outline and brush inside; boxes of
// 2 pixels or less on a side draw as Rectangle; boxes over 65536 on a side draw nothing.
void Ellipse(Surface& s, int l, int t, int r, int b);

// Sets the pen position.
void MoveTo(Surface& s, int x, int y);
// Pen line from the pen position up to, not including, (x, y), which becomes the position.
void LineTo(Surface& s, int x, int y);

// The pixel as COLORREF; kClrInvalid outside the surface. Mono pixels read 0 or 0x00FFFFFF.
ColorRef GetPixel(const Surface& s, int x, int y);
// Sets one pixel (nothing outside).
void SetPixel(Surface& s, int x, int y, ColorRef c);

// Shift-JIS text with its cell's top-left corner at (x, y), in the font colour; a solid brush
// first fills the cell (x..x+TextWidth, y..y+Font.Height) with the brush colour. Leaves the pen
// position at (x + TextWidth, y).
void TextOut(Surface& s, FontRenderer& font, int x, int y, const std::string& sjisBytes);
// Width in pixels of Shift-JIS text in the surface's font, as TextOut draws it.
int TextWidth(const Surface& s, FontRenderer& font, const std::string& sjisBytes);

}  // namespace kiv
