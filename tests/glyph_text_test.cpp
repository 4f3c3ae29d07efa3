#include "media/glyph_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game.h"
#include "game/game_media.h"
#include "media/raster.h"
#include "platform/headless/headless_platform.h"
#include "records/ranking.h"
#include "scenes/rank_rows.h"
#include "scenes/typewriter.h"
#include "test_support.h"

namespace kiv {
namespace {

// Remembers the effect files asked for ("" when only the old effect was stopped).
class RecordingAudio : public SilentAudio {
public:
    void PlayEffectFile(const std::string& path) override { effects.push_back(path); }
    std::vector<std::string> effects;
};

class RecordingPlatform : public HeadlessPlatform {
public:
    AudioDevice& Audio() override { return audio; }
    RecordingAudio audio;
    std::vector<Rect> presented;  // the rectangles shown in the window, clipped to it

protected:
    void DoPresent(const Rect& r) override { presented.push_back(r); }
};

// Every pixel of the parts sheet differs from every other and from black, so a drawn cell
// tells exactly where it came from.
uint32_t SheetPixel(int x, int y) { return 0x800000u | (static_cast<uint32_t>(x) << 8) | static_cast<uint32_t>(y); }

struct GlyphGame {
    GlyphGame() {
        g.Cfg.AppDir = dir.Path();
        g.Cfg.SoundNumbers[5] = 15;
        g.Cfg.SoundNumbers[6] = 16;
        dir.Write("Q15.wav", "RIFF");
        dir.Write("Q16.wav", "RIFF");
        g.Media.BackBmp = CreateSurface(640, 480);
        g.Media.PartsBmp = CreateSurface(640, 480);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) g.Media.PartsBmp.Row(y)[x] = SheetPixel(x, y);
    }

    uint32_t Back(int x, int y) const { return g.Media.BackBmp.Row(y)[x]; }
    uint32_t Window(int x, int y) const { return platform.WindowImage()[static_cast<size_t>(y) * 640 + x]; }

    // True when the 5 x 8 cell with its top-left corner at (x, y) of the pixels shows the sheet
    // cell at (sx, sy).
    template <typename Get>
    static bool ShowsCell(Get get, int x, int y, int sx, int sy) {
        for (int dy = 0; dy < 8; ++dy)
            for (int dx = 0; dx < 5; ++dx)
                if (get(x + dx, y + dy) != SheetPixel(sx + dx, sy + dy)) return false;
        return true;
    }
    bool BackShows(int x, int y, int sx, int sy) const {
        return ShowsCell([this](int px, int py) { return Back(px, py); }, x, y, sx, sy);
    }
    bool WindowShows(int x, int y, int sx, int sy) const {
        return ShowsCell([this](int px, int py) { return Window(px, py); }, x, y, sx, sy);
    }

    TempDir dir;
    RecordingPlatform platform;
    Game g{platform};
};

TEST(GlyphText, DrawTextPlacesCellsOnAnEightPixelGridAndPresentsOnlyOnRequest) {
    GlyphGame t;
    SetTextPos(t.g.Glyph, 100, 50);
    DrawText(Glyphs(t.g), "01S");
    EXPECT_EQ(t.g.Glyph.TextX, 124);
    EXPECT_EQ(t.g.Glyph.TextStartX, 100);
    // Digit cells 0, 1 and 10 ("S") of the row at y 35, drawn from row 49 (TextY - 1).
    EXPECT_TRUE(t.BackShows(100, 49, 0, 35));
    EXPECT_TRUE(t.BackShows(108, 49, 6, 35));
    EXPECT_TRUE(t.BackShows(116, 49, 60, 35));
    EXPECT_EQ(t.Back(105, 52), 0u);  // the three columns between cells stay untouched
    EXPECT_EQ(t.Back(100, 48), 0u);
    EXPECT_EQ(t.Back(100, 57), 0u);
    EXPECT_EQ(t.Window(100, 49), 0u);  // drawing alone shows nothing

    PresentTextRun(Glyphs(t.g));
    ASSERT_EQ(t.platform.presented.size(), 1u);
    EXPECT_EQ(t.platform.presented.back(), MakeRect(100, 49, 124, 57));
    EXPECT_TRUE(t.WindowShows(100, 49, 0, 35));
    EXPECT_TRUE(t.WindowShows(116, 49, 60, 35));

    // Letters, the underscore and the blank come from the row at y 42.
    SetTextPos(t.g.Glyph, 10, 200);
    DrawText(Glyphs(t.g), "az_ ");
    EXPECT_TRUE(t.BackShows(10, 199, 0, 42));
    EXPECT_TRUE(t.BackShows(18, 199, 150, 42));
    EXPECT_TRUE(t.BackShows(26, 199, 156, 42));
    EXPECT_TRUE(t.BackShows(34, 199, 162, 42));
    EXPECT_EQ(t.g.Glyph.TextX, 42);
}

TEST(GlyphText, CharactersWithoutACellDrawNothingButStillAdvance) {
    GlyphGame t;
    const uint32_t paint = 0x123456;
    for (int y = 90; y < 110; ++y)
        for (int x = 0; x < 100; ++x) t.g.Media.BackBmp.Row(y)[x] = paint;
    SetTextPos(t.g.Glyph, 20, 100);
    DrawText(Glyphs(t.g), std::string("*A\xff") + '\0' + "b");
    EXPECT_EQ(t.g.Glyph.TextX, 60);
    for (int y = 90; y < 110; ++y)
        for (int x = 0; x < 52; ++x) ASSERT_EQ(t.Back(x, y), paint) << x << "," << y;
    EXPECT_TRUE(t.BackShows(52, 99, 6, 42));
    DrawDigitGlyph(Glyphs(t.g), 15);
    DrawDigitGlyph(Glyphs(t.g), -1);
    EXPECT_EQ(t.g.Glyph.TextX, 76);
    EXPECT_EQ(t.Back(60, 100), paint);
}

TEST(GlyphText, CenteringUsesTheWidthOf637) {
    GlyphGame t;
    t.g.Glyph.MessageText = "thank you for your playing";
    CenterMessage(t.g.Glyph, 200);
    EXPECT_EQ(t.g.Glyph.TextX, 214);
    EXPECT_EQ(t.g.Glyph.TextStartY, 200);
    t.g.Glyph.MessageText = "time over";
    CenterMessage(t.g.Glyph, 200);
    EXPECT_EQ(t.g.Glyph.TextX, 282);
}

TEST(GlyphText, BlinkWaitShowsTheUnderscoreTwoFramesInFourAndEndsHidden) {
    GlyphGame t;
    SetTextPos(t.g.Glyph, 300, 100);
    auto& sc = t.g.Shell.SceneCounters;
    for (int call = 1; call <= 32; ++call) {
        const bool done = BlinkWait(t.g, 8);
        const int phase = (call - 1) % 4;
        if (phase == 0 || phase == 1)
            EXPECT_TRUE(t.WindowShows(300, 99, 156, 42)) << call;
        else
            EXPECT_TRUE(t.WindowShows(300, 99, 162, 42)) << call;
        EXPECT_EQ(t.g.Glyph.TextX, 300);
        EXPECT_EQ(done, call == 32) << call;
        EXPECT_EQ(sc[1], 0) << "the scene moves its own step on";
    }
    EXPECT_EQ(sc[0], 0);
    ASSERT_FALSE(t.platform.presented.empty());
    EXPECT_EQ(t.platform.presented.back(), MakeRect(299, 99, 309, 107));  // the cell and one column left of it
}

TEST(GlyphText, TheTypewriterRevealsACharacterEveryFourFramesWithKeySounds) {
    GlyphGame t;
    t.g.Glyph.MessageText = "time over";
    CenterMessage(t.g.Glyph, 200);
    auto& sc = t.g.Shell.SceneCounters;
    for (int call = 1; call <= 36; ++call) {
        const bool done = TypeMessageStep(t.g);
        const int shown = (call + 1) / 4;  // characters drawn after this call
        if (call % 4 == 1) {
            EXPECT_TRUE(t.WindowShows(282 + 8 * shown, 199, 156, 42)) << call;  // the underscore waits
        }
        EXPECT_EQ(done, call == 36) << call;
        EXPECT_EQ(sc[1], 0);
    }
    EXPECT_EQ(sc[0], 0);
    EXPECT_EQ(t.g.Glyph.TextX, 282 + 72);
    EXPECT_EQ(t.g.Glyph.TextStartX, 282);
    // "time over" as the window shows it: t i m e (blank) o v e r.
    const std::string text = "time over";
    for (int k = 0; k < 9; ++k) {
        int cell = static_cast<int>(kLetterGlyphs.find(text[static_cast<size_t>(k)]));
        EXPECT_TRUE(t.WindowShows(282 + 8 * k, 199, 6 * cell, 42)) << k;
    }
    int keys = 0, spaces = 0;
    for (const auto& f : t.platform.audio.effects) {
        if (f.find("Q15.wav") != std::string::npos) ++keys;
        if (f.find("Q16.wav") != std::string::npos) ++spaces;
    }
    EXPECT_EQ(keys, 8);
    EXPECT_EQ(spaces, 1);
    EXPECT_EQ(t.platform.audio.effects.size(), 9u);
}

TEST(GlyphText, TimesAndTimerDigits) {
    EXPECT_EQ(FormatTime(0), "000:00");
    EXPECT_EQ(FormatTime(1890), "018:90");
    EXPECT_EQ(FormatTime(2950), "029:50");
    EXPECT_EQ(FormatTime(15120), "151:20");
    // Below zero the padded text has fewer digits: the format shows what there is.
    EXPECT_EQ(FormatTime(-2), "999:98");
    EXPECT_EQ(FormatTime(-1000000000), ":");

    GlyphGame t;
    DrawTimerDigits(t.g.Glyph, t.g.Media.PartsBmp, 70290);
    const Surface& parts = t.g.Media.PartsBmp;
    auto partsAt = [&](int x, int y) { return parts.Row(y)[x]; };
    const int xs[5] = {99, 107, 115, 127, 135};
    const int digits[5] = {7, 0, 2, 9, 0};
    for (int k = 0; k < 5; ++k) EXPECT_TRUE(GlyphGame::ShowsCell(partsAt, xs[k], 7, 6 * digits[k], 35)) << k;
    EXPECT_EQ(partsAt(104, 10), SheetPixel(104, 10));  // the gaps keep the panel
    EXPECT_EQ(partsAt(123, 10), SheetPixel(123, 10));
    EXPECT_EQ(t.g.Glyph.TextX, 143);
    EXPECT_EQ(t.g.Glyph.TextY, 8);
    EXPECT_EQ(t.Window(99, 7), 0u);                               // the sheet is not the screen
    DrawTimerDigits(t.g.Glyph, t.g.Media.PartsBmp, -1000000000);  // no digits at all: the panel stays
    EXPECT_TRUE(GlyphGame::ShowsCell(partsAt, 99, 7, 42, 35));
}

TEST(GlyphText, RankRowsDrawFromTheirOwnCursorAndLeaveTheRunStart) {
    GlyphGame t;
    t.g.Cfg.PresetRankName = "master";
    t.g.Records.RankTable[1] = PresetRankEntry(t.g.Cfg.PresetRankName.View(), 1);
    SetTextPos(t.g.Glyph, 1, 2);
    DrawRankRow(t.g, 1, 9, 63);
    EXPECT_EQ(t.g.Glyph.TextX, 9 + 8 * 17);  // "01S 029:50 master"
    EXPECT_EQ(t.g.Glyph.TextStartX, 1);
    EXPECT_EQ(t.g.Glyph.TextStartY, 2);
    EXPECT_TRUE(t.BackShows(9, 62, 0, 35));                // 0
    EXPECT_TRUE(t.BackShows(25, 62, 60, 35));              // S
    EXPECT_TRUE(t.BackShows(33, 62, 162, 42));             // blank
    EXPECT_TRUE(t.BackShows(65, 62, 84, 35));              // ":"
    EXPECT_TRUE(t.BackShows(9 + 8 * 11, 62, 6 * 12, 42));  // m
}

}  // namespace
}  // namespace kiv
