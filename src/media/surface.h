#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kiv {

// Raster operations a copy into a surface can use (the GDI codes).
enum class Rop : uint32_t {
    SRCCOPY = 0x00CC0020,     // S
    SRCAND = 0x008800C6,      // S and D
    SRCPAINT = 0x00EE0086,    // S or D
    NOTSRCCOPY = 0x00330008,  // not S
    SRCINVERT = 0x00660046,   // S xor D
    MERGEPAINT = 0x00BB0226,  // (not S) or D
};

enum class BrushStyle : uint8_t { Solid, Clear };

// How a shrinking copy merges the source lines of one destination line: BlackOnWhite ANDs
// them (a new canvas's mode), ColorOnColor keeps the first row and the last column.
enum class StretchMode : uint8_t { BlackOnWhite, ColorOnColor };

// Colours held by the canvas state are COLORREF values, 0x00BBGGRR, like the original's TColor.
using ColorRef = uint32_t;
constexpr ColorRef kClrInvalid = 0xFFFFFFFF;
constexpr ColorRef MakeColorRef(uint8_t r, uint8_t g, uint8_t b) {
    return ColorRef(r) | (ColorRef(g) << 8) | (ColorRef(b) << 16);
}

// Pixels are stored as 0x00RRGGBB.
constexpr uint32_t PixelFromColorRef(ColorRef c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
constexpr ColorRef ColorRefFromPixel(uint32_t p) { return PixelFromColorRef(p); }

struct FontState {
    int Height = 12;  // character height in pixels; 12 and 14 are the sizes in use
    bool Italic = false;
    ColorRef Color = 0;
};

constexpr int kMaxSurfaceSide = 8192;
// A 640 x 480 game has no use for a picture of more pixels than this (over fifty screens).
constexpr int64_t kMaxSurfacePixels = int64_t(1) << 24;

// An off-screen bitmap with its canvas state. A monochrome surface keeps one bit per pixel in
// meaning: each stored pixel is 0 (bit 0, black) or 0x00FFFFFF (bit 1, white).
struct Surface {
    int Width = 0;
    int Height = 0;
    bool Monochrome = false;
    std::vector<uint32_t> Pixels;  // Width * Height, rows top to bottom, 0x00RRGGBB

    Rop CopyMode = Rop::SRCCOPY;  // the operation of a canvas copy *into* this surface
    StretchMode Stretch = StretchMode::BlackOnWhite;
    ColorRef BrushColor = 0;
    BrushStyle Brush = BrushStyle::Solid;
    ColorRef PenColor = 0;
    FontState Font;
    // Device colours for mono<->colour conversion: a colour source pixel equal to the source's
    // BkColor becomes 1; a mono source bit 0 becomes the destination's TextColor, 1 its BkColor.
    ColorRef BkColor = 0x00FFFFFF;
    ColorRef TextColor = 0;
    int PenX = 0;  // current position of MoveTo/LineTo/TextOut
    int PenY = 0;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    uint32_t* Row(int y) { return Pixels.data() + std::size_t(y) * std::size_t(Width); }
    const uint32_t* Row(int y) const { return Pixels.data() + std::size_t(y) * std::size_t(Width); }
};

// A colour surface filled black with a black brush; empty (0x0) when a side is <= 0 or over
// kMaxSurfaceSide, or it would hold over kMaxSurfacePixels (the refusal is reported on stderr).
Surface CreateSurface(int width, int height);
// A monochrome surface, all bits 0 (black); same size limits.
Surface CreateMonoSurface(int width, int height);
// A surface with no pixels: copies from and into it do nothing.
Surface CreateEmptySurface();

// The stored pixel value a canvas colour takes on this surface (nearest of black and white on a
// monochrome surface, ties to black).
uint32_t DeviceColor(const Surface& s, ColorRef c);

// Brush rules of the original canvas: choosing the clear style also makes the colour white;
// setting a colour while the style is clear makes the brush solid again.
void SetBrushStyle(Surface& s, BrushStyle style);
void SetBrushColor(Surface& s, ColorRef c);

// Switches between colour and monochrome keeping the picture: to mono, a pixel equal to the
// brush colour becomes 1 and any other 0; to colour, 0 -> font colour, 1 -> brush colour.
void SetMonochrome(Surface& s, bool mono);

}  // namespace kiv
