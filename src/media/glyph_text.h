#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kiv {
struct Game;

// The bitmap font of the parts sheet: 5 x 8 cells on a grid of 8 pixels, copied opaquely into
// BackBmp at the text cursor (TextX, TextY); a cell covers rows TextY - 1 .. TextY + 6.

// Digit row cells, in order; the letter row holds "abcdefghijklmnopqrstuvwxyz_ ".
constexpr std::string_view kDigitGlyphs = "0123456789SNDT:";
constexpr std::string_view kLetterGlyphs = "abcdefghijklmnopqrstuvwxyz_ ";

// Moves the cursor and the run start to (x, y).
void SetTextPos(Game& g, int x, int y);
// SetTextPos((637 - 8 * length of MessageText) div 2, y).
void CenterMessage(Game& g, int y);
// Draws c at the cursor and moves it 8 right; a character in neither row draws nothing.
void DrawChar(Game& g, char c);
// Draws digit-row cell i (0..14) at the cursor and moves it 8 right; other i draw nothing.
void DrawDigitGlyph(Game& g, int i);
// DrawChar for each byte of s.
void DrawText(Game& g, std::string_view s);
// Presents (TextStartX, TextStartY - 1, TextX, TextY + 7) of BackBmp.
void PresentTextRun(Game& g);
// Presents (TextX - 9, TextY - 1, TextX + 1, TextY + 7): the cell just drawn.
void PresentCursorCell(Game& g);
// v as three digits, ":" and two digits (1890 -> "018:90").
std::string FormatTime(int32_t v);
// Writes v as five digits into the timer panel of PartsBmp at x = 99, 107, 115, 127, 135.
void DrawTimerDigits(Game& g, int32_t v);

}  // namespace kiv
