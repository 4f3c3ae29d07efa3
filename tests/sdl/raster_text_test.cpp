// Text drawing: widths, where pixels may change, the opaque cell and the pen position.

#include <gtest/gtest.h>

#include <string>

#include "data/sjis.h"
#include "media/raster.h"
#include "platform/sdl/ttf_font.h"

namespace kiv {
namespace {

constexpr uint32_t kGround = 0x00336699;

Surface TextCanvas() {
    Surface s = CreateSurface(200, 40);
    for (uint32_t& p : s.Pixels) p = kGround;
    s.Font.Color = 0x00FFFFFF;
    return s;
}

TEST(RasterText, WidthsOfKnownStrings) {
    if (!TtfFonts().Available()) GTEST_SKIP() << "no font on this machine";
    Surface s = TextCanvas();
    const std::string kanji = Utf8ToSjis("漢字");
    s.Font.Height = 12;
    EXPECT_EQ(TextWidth(s, TtfFonts(), kanji), 24);  // full-width characters are as wide as the font is high
    EXPECT_EQ(TextWidth(s, TtfFonts(), ""), 0);
    s.Font.Height = 14;
    EXPECT_EQ(TextWidth(s, TtfFonts(), kanji), 28);
    const int upright = TextWidth(s, TtfFonts(), "Hello");
    s.Font.Italic = true;
    EXPECT_GT(TextWidth(s, TtfFonts(), "Hello"), upright);  // the slanted run is wider by its overhang
    // A double-byte character cut at the end adds nothing.
    EXPECT_EQ(TextWidth(s, TtfFonts(), kanji + "\x8A"), TextWidth(s, TtfFonts(), kanji));
}

TEST(RasterText, ClearBrushChangesOnlyGlyphPixelsInsideTheCell) {
    if (!TtfFonts().Available()) GTEST_SKIP() << "no font on this machine";
    for (int height : {12, 14}) {
        Surface s = TextCanvas();
        s.Brush = BrushStyle::Clear;
        s.Font.Height = height;
        s.Font.Italic = true;
        const std::string text = Utf8ToSjis("あいgjy漢字Wg");
        const int x = 10, y = 7, w = TextWidth(s, TtfFonts(), text);
        TextOut(s, TtfFonts(), x, y, text);
        int ink = 0;
        for (int py = 0; py < s.Height; ++py)
            for (int px = 0; px < s.Width; ++px) {
                uint32_t p = s.Row(py)[px];
                bool inside = px >= x && px < x + w && py >= y && py < y + height;
                if (!inside) {
                    EXPECT_EQ(p, kGround) << px << "," << py;
                }
                if (p != kGround) {
                    EXPECT_EQ(p, 0x00FFFFFFu);  // ink only in the font colour: no antialiasing
                    ++ink;
                }
            }
        EXPECT_GT(ink, 20);
        EXPECT_EQ(s.PenX, x + w);
        EXPECT_EQ(s.PenY, y);
    }
}

TEST(RasterText, SolidBrushFillsExactlyTheCellFirst) {
    Surface s = TextCanvas();
    s.Brush = BrushStyle::Solid;
    s.BrushColor = 0;  // black cell, white glyphs
    s.Font.Height = 12;
    const std::string text = "Hi";
    const int w = TextWidth(s, TtfFonts(), text);
    ASSERT_GT(w, 0);
    TextOut(s, TtfFonts(), 10, 20, text);
    for (int py = 0; py < s.Height; ++py)
        for (int px = 0; px < s.Width; ++px) {
            uint32_t p = s.Row(py)[px];
            bool inside = px >= 10 && px < 10 + w && py >= 20 && py < 32;
            if (inside)
                EXPECT_TRUE(p == 0 || p == 0x00FFFFFF) << px << "," << py;
            else
                EXPECT_EQ(p, kGround) << px << "," << py;
        }
}

TEST(RasterText, TextAtTheEdgesAndBeyondIsClipped) {
    Surface s = TextCanvas();
    const std::string text = Utf8ToSjis("端の文字列");
    for (auto [x, y] : {std::pair{-30, -5}, {190, 35}, {-2000000000, 0}, {2147483600, 2147483600}})
        TextOut(s, TtfFonts(), x, y, text);
    EXPECT_EQ(s.Width, 200);
    // A line far wider than any surface is measured but not rendered.
    std::string endless;
    for (int i = 0; i < 8000; ++i) endless += Utf8ToSjis("長");
    s.Brush = BrushStyle::Clear;
    TextOut(s, TtfFonts(), 0, 0, endless);
    EXPECT_EQ(s.PenX, TextWidth(s, TtfFonts(), endless));
    Surface empty = CreateEmptySurface();
    TextOut(empty, TtfFonts(), 0, 0, text);
    EXPECT_EQ(empty.PenX, TextWidth(empty, TtfFonts(), text));
}

}  // namespace
}  // namespace kiv
