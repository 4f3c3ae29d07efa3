#include "media/glyph_text.h"

#include "data/strings.h"
#include "game/game.h"
#include "media/screen.h"
#include "media/sound.h"

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
Rect CursorCell(const RecordsState& r) { return MakeRect(r.TextX, r.TextY - 1, r.TextX + kCellWidth, r.TextY + 7); }

Rect GlyphCell(int index, int rowTop) { return MakeRect(6 * index, rowTop, 6 * index + kCellWidth, rowTop + 8); }

// Copies a cell of the parts sheet to the cursor on BackBmp and moves the cursor on.
void DrawCell(Game& g, const Rect& cell) {
    RecordsState& r = g.Records;
    g.Media.SrcRect = cell;
    g.Media.DstRect = CursorCell(r);
    r.TextX = static_cast<int16_t>(r.TextX + kCellAdvance);
    CopyToSurface(g, g.Media.BackBmp, g.Media.PartsBmp);
}

void PresentBack(Game& g, const Rect& area) {
    g.Media.DstRect = area;
    PresentRect(g, g.Media.BackBmp);
}

}  // namespace

void SetTextPos(Game& g, int x, int y) {
    RecordsState& r = g.Records;
    r.TextX = r.TextStartX = static_cast<int16_t>(x);
    r.TextY = r.TextStartY = static_cast<int16_t>(y);
}

void CenterMessage(Game& g, int y) { SetTextPos(g, (637 - 8 * g.Records.MessageText.Length()) / 2, y); }

void DrawChar(Game& g, char c) {
    size_t letter = kLetterGlyphs.find(c);
    if (letter != std::string_view::npos) {
        DrawCell(g, GlyphCell(static_cast<int>(letter), kLetterRowTop));
        return;
    }
    size_t digit = kDigitGlyphs.find(c);
    DrawDigitGlyph(g, digit == std::string_view::npos ? -1 : static_cast<int>(digit));
}

void DrawDigitGlyph(Game& g, int i) {
    if (i < 0 || i >= static_cast<int>(kDigitGlyphs.size())) {
        // No cell for it: the character takes its place but shows nothing.
        g.Records.TextX = static_cast<int16_t>(g.Records.TextX + kCellAdvance);
        return;
    }
    DrawCell(g, GlyphCell(i, kDigitRowTop));
}

void DrawText(Game& g, std::string_view s) {
    for (char c : s) DrawChar(g, c);
}

void PresentTextRun(Game& g) {
    const RecordsState& r = g.Records;
    PresentBack(g, MakeRect(r.TextStartX, r.TextStartY - 1, r.TextX, r.TextY + 7));
}

void PresentCursorCell(Game& g) {
    const RecordsState& r = g.Records;
    PresentBack(g, MakeRect(r.TextX - 9, r.TextY - 1, r.TextX + 1, r.TextY + 7));
}

std::string FormatTime(int32_t v) {
    // Below zero the padded text is shorter than five digits: still its first three and its
    // last two characters.
    ShortString<16> s(ZeroPad(5, v));
    return s.Copy(1, 3) + ":" + s.Copy(s.Length() - 1, 2);
}

void DrawTimerDigits(Game& g, int32_t v) {
    RecordsState& r = g.Records;
    r.TextX = kTimerDigitsX;
    r.TextY = kTimerDigitsY;
    std::string s = ZeroPad(5, v);
    for (size_t k = 0; k < s.size(); ++k) {
        if (s[k] >= '0' && s[k] <= '9') {
            g.Media.SrcRect = GlyphCell(s[k] - '0', kDigitRowTop);
            g.Media.DstRect = CursorCell(r);
            CopyWithinSurface(g, g.Media.PartsBmp);
        }
        // A wider gap after the third digit.
        r.TextX = static_cast<int16_t>(r.TextX + (k == 2 ? 12 : kCellAdvance));
    }
}

}  // namespace kiv
