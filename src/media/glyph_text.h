#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/short_string.h"
#include "media/media_state.h"
#include "media/surface.h"
#include "platform/platform.h"

namespace kiv {

// The bitmap font of the parts sheet: 5 x 8 cells on a grid of 8 pixels, copied opaquely into
// BackBmp at the text cursor (TextX, TextY); a cell covers rows TextY - 1 .. TextY + 6.

// Digit row cells, in order; the letter row holds "abcdefghijklmnopqrstuvwxyz_ ".
constexpr std::string_view kDigitGlyphs = "0123456789SNDT:";
constexpr std::string_view kLetterGlyphs = "abcdefghijklmnopqrstuvwxyz_ ";

// The text cursor: TextX is the left edge of the next cell; a cell covers rows TextY - 1 ..
// TextY + 6. TextStartX/Y mark where the current run of text began.
struct GlyphTextState {
    int16_t TextX = 0;
    int16_t TextY = 0;
    int16_t TextStartX = 0;
    int16_t TextStartY = 0;
    ShortString<255> MessageText;  // what the typewriter reveals and CenterMessage centres
};

// What glyph text draws with: the cursor, the surfaces (cells come from PartsBmp and go to
// BackBmp) and the window the runs are shown in.
struct GlyphPen {
    GlyphTextState& Text;
    MediaState& Media;
    Platform& P;
};

// Moves the cursor and the run start to (x, y).
void SetTextPos(GlyphTextState& t, int x, int y);
// SetTextPos((637 - 8 * length of MessageText) div 2, y).
void CenterMessage(GlyphTextState& t, int y);
// Draws c at the cursor and moves it 8 right; a character in neither row draws nothing.
void DrawChar(const GlyphPen& pen, char c);
// Draws digit-row cell i (0..14) at the cursor and moves it 8 right; other i draw nothing.
void DrawDigitGlyph(const GlyphPen& pen, int i);
// DrawChar for each byte of s.
void DrawText(const GlyphPen& pen, std::string_view s);
// Presents (TextStartX, TextStartY - 1, TextX, TextY + 7) of BackBmp.
void PresentTextRun(const GlyphPen& pen);
// Presents (TextX - 9, TextY - 1, TextX + 1, TextY + 7): the cell just drawn.
void PresentCursorCell(const GlyphPen& pen);
// v as three digits, ":" and two digits (1890 -> "018:90").
std::string FormatTime(int32_t v);
// Writes v as five digits into the timer panel of the parts sheet at x = 99, 107, 115, 127,
// 135; the cursor is left after them.
void DrawTimerDigits(GlyphTextState& t, Surface& parts, int32_t v);

}  // namespace kiv
