#include "media/glyph_text.h"

#include "data/strings.h"
#include "media/raster.h"
#include "media/screen.h"

namespace kiv {

namespace {

constexpr int kCellWidth = 5;
constexpr int kCellAdvance = 8;
constexpr int kDigitRowTop = 35;
constexpr int kLetterRowTop = 42;

// The timer panel of the parts sheet: where its first digit goes.
constexpr int kTimerDigitsX = 99;
constexpr int kTimerDigitsY = 8;

// The cell at the cursor: one row above the text line down to six below it.
Rect CursorCell(const GlyphTextState& t) { return MakeRect(t.TextX, t.TextY - 1, t.TextX + kCellWidth, t.TextY + 7); }

Rect GlyphCell(int index, int rowTop) { return MakeRect(6 * index, rowTop, 6 * index + kCellWidth, rowTop + 8); }

// Copies a cell of the parts sheet to the cursor on BackBmp and moves the cursor on.
void DrawCell(const GlyphPen& pen, const Rect& cell) {
    const Rect at = CursorCell(pen.Text);
    pen.Text.TextX = static_cast<int16_t>(pen.Text.TextX + kCellAdvance);
    CopyRectTo(pen.Media, pen.Media.BackBmp, at, pen.Media.PartsBmp, cell);
}

void PresentBack(const GlyphPen& pen, const Rect& area) {
    PresentArea(WindowTarget{pen.P, pen.Media}, pen.Media.BackBmp, area);
}

}  // namespace

void SetTextPos(GlyphTextState& t, int x, int y) {
    t.TextX = t.TextStartX = static_cast<int16_t>(x);
    t.TextY = t.TextStartY = static_cast<int16_t>(y);
}

void CenterMessage(GlyphTextState& t, int y) { SetTextPos(t, (637 - 8 * t.MessageText.Length()) / 2, y); }

void DrawChar(const GlyphPen& pen, char c) {
    size_t letter = kLetterGlyphs.find(c);
    if (letter != std::string_view::npos) {
        DrawCell(pen, GlyphCell(static_cast<int>(letter), kLetterRowTop));
        return;
    }
    size_t digit = kDigitGlyphs.find(c);
    DrawDigitGlyph(pen, digit == std::string_view::npos ? -1 : static_cast<int>(digit));
}

void DrawDigitGlyph(const GlyphPen& pen, int i) {
    if (i < 0 || i >= static_cast<int>(kDigitGlyphs.size())) {
        // No cell for it: the character takes its place but shows nothing.
        pen.Text.TextX = static_cast<int16_t>(pen.Text.TextX + kCellAdvance);
        return;
    }
    DrawCell(pen, GlyphCell(i, kDigitRowTop));
}

void DrawText(const GlyphPen& pen, std::string_view s) {
    for (char c : s) DrawChar(pen, c);
}

void PresentTextRun(const GlyphPen& pen) {
    const GlyphTextState& t = pen.Text;
    PresentBack(pen, MakeRect(t.TextStartX, t.TextStartY - 1, t.TextX, t.TextY + 7));
}

void PresentCursorCell(const GlyphPen& pen) {
    const GlyphTextState& t = pen.Text;
    PresentBack(pen, MakeRect(t.TextX - 9, t.TextY - 1, t.TextX + 1, t.TextY + 7));
}

std::string FormatTime(int32_t v) {
    // Below zero the padded text is shorter than five digits: still its first three and its
    // last two characters.
    ShortString<16> s(ZeroPad(5, v));
    return s.Copy(1, 3) + ":" + s.Copy(s.Length() - 1, 2);
}

void DrawTimerDigits(GlyphTextState& t, Surface& parts, int32_t v) {
    t.TextX = kTimerDigitsX;
    t.TextY = kTimerDigitsY;
    std::string s = ZeroPad(5, v);
    for (size_t k = 0; k < s.size(); ++k) {
        // Within one surface, as if the source were read first.
        if (s[k] >= '0' && s[k] <= '9')
            CanvasCopyRect(parts, CursorCell(t), parts, GlyphCell(s[k] - '0', kDigitRowTop));
        // A wider gap after the third digit.
        t.TextX = static_cast<int16_t>(t.TextX + (k == 2 ? 12 : kCellAdvance));
    }
}

}  // namespace kiv
