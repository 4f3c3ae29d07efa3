#include "scenes/opening/opening.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_game.h"

namespace kiv {
namespace {

// The logo on the sheet: every pixel of (167, 0, 265, 90) has its own non-black colour.
uint32_t LogoPixel(int sx, int sy) {
    return 0x400000u | (static_cast<uint32_t>(sx - 167 + 100) << 8) | static_cast<uint32_t>(sy + 100);
}
uint32_t SheetPixel(int x, int y) {
    if (x >= 167 && x < 265 && y >= 0 && y < 90) return LogoPixel(x, y);
    return 0x101010;
}

constexpr int kLogoLeft = 271, kLogoTop = 195, kLogoRight = 369, kLogoBottom = 285;

// A game whose logo rows hold three, ten and one letters.
struct OpeningGame {
    OpeningGame() {
        KivTextLines text;
        text.lines[89] = "0 10 20 30 255 0 0 0 0 0 0";
        text.lines[90] = "0 9 18 27 36 45 54 63 72 81 90";
        text.lines[91] = "0 98 255 0 0 0 0 0 0 0 0";
        text.lines[35] = "0 0 0 0 0 0 0 7 0";  // effect 7 plays "Q07.wav"
        WriteMinimalGame(dir, text);
        dir.Write("Ptit.bmp", MakeBmp(640, 480, SheetPixel));
        dir.Write("Q07.wav", "RIFF");
        game = std::make_unique<HeadlessGame>(dir.Path());
    }

    Game& g() { return game->game; }
    int16_t Sc(int k) { return g().Shell.SceneCounters[static_cast<size_t>(k)]; }
    uint32_t Window(int x, int y) { return game->platform.WindowImage()[static_cast<size_t>(y) * 640 + x]; }
    void Click() {
        game->form.MouseDown(MouseButton::Left, false, 5, 5);
        game->form.MouseUp(MouseButton::Left, false, 5, 5);
    }

    // The window's logo area is exactly the sheet's logo.
    bool ShowsWholeLogo() {
        for (int y = kLogoTop; y < kLogoBottom; ++y)
            for (int x = kLogoLeft; x < kLogoRight; ++x)
                if (Window(x, y) != LogoPixel(x - 104, y - 195)) return false;
        return true;
    }
    std::vector<int> BlackOnRow(int y) {
        std::vector<int> xs;
        for (int x = kLogoLeft; x < kLogoRight; ++x)
            if (Window(x, y) == 0) xs.push_back(x);
        return xs;
    }
    int BlackInLogo() {
        int n = 0;
        for (int y = kLogoTop; y < kLogoBottom; ++y)
            for (int x = kLogoLeft; x < kLogoRight; ++x) n += Window(x, y) == 0;
        return n;
    }

    TempDir dir;
    std::unique_ptr<HeadlessGame> game;
};

TEST(OpeningScene, LettersGrowRowByRowAndRowsEndAtTheMarkerOrAfterTen) {
    OpeningGame t;
    ASSERT_TRUE(t.game->created);
    t.game->Frames(1);
    // Step 0 of letter 0: ten columns, six rows centred on row 208.
    EXPECT_NE(t.Window(271, 205), 0u);
    EXPECT_NE(t.Window(280, 210), 0u);
    EXPECT_EQ(t.Window(271, 204), 0u);
    EXPECT_EQ(t.Window(271, 211), 0u);
    EXPECT_EQ(t.Window(281, 207), 0u);

    t.game->Frames(5);
    // Full height: the letter one to one at its place in the logo.
    for (int y = 195; y < 221; ++y)
        for (int x = 271; x < 281; ++x) ASSERT_EQ(t.Window(x, y), LogoPixel(x - 104, y - 195)) << x << "," << y;
    EXPECT_EQ(t.Window(281, 200), 0u);
    EXPECT_EQ(t.Sc(1), 1);
    EXPECT_EQ(t.Sc(2), 0);

    t.game->Frames(12);  // letters 1 and 2; the marker after boundary 30 ends row 0
    EXPECT_EQ(t.Sc(2), 1);
    EXPECT_EQ(t.Sc(1), 0);
    EXPECT_EQ(t.Window(300, 200), LogoPixel(196, 5));
    EXPECT_EQ(t.Window(301, 200), 0u);  // past the last letter of row 0

    t.game->Frames(59);
    EXPECT_EQ(t.Sc(2), 1);
    EXPECT_EQ(t.Sc(1), 9);
    t.game->Frames(1);  // the tenth letter ends row 1 without a marker
    EXPECT_EQ(t.Sc(2), 2);
    EXPECT_EQ(t.Window(360, 227 + 25), LogoPixel(256, 57));

    t.game->Frames(6);  // row 2 has one letter
    EXPECT_EQ(t.Sc(2), 3);
    EXPECT_EQ(t.g().Shell.SceneNo, 0);
}

TEST(OpeningScene, WithoutAClickTheLogoPulsesThenTheDiscClosesAndTheLoopStartsAgain) {
    OpeningGame t;
    t.game->Frames(84);  // 3 + 10 + 1 letters of six frames
    ASSERT_EQ(t.Sc(2), 3);

    t.game->Frames(21);                                          // rings of radius 20 and 60 on the logo
    EXPECT_EQ(t.BlackOnRow(241), (std::vector<int>{296, 336}));  // the inner ring, round (316, 241)
    EXPECT_EQ(t.BlackOnRow(200), (std::vector<int>{272, 360}));  // the outer one
    EXPECT_GT(t.BlackInLogo(), 0);
    EXPECT_LT(t.BlackInLogo(), 98 * 90 / 4);
    EXPECT_EQ(t.Window(316 + 30, 241), LogoPixel(316 + 30 - 104, 241 - 195));  // between the rings

    t.game->Frames(462 - 21 - 1);
    EXPECT_EQ(t.Sc(2), 9);
    t.game->Frames(1);
    EXPECT_EQ(t.Sc(2), 10);  // 462 frames of rings

    t.game->Frames(20);
    EXPECT_EQ(t.Sc(5), 40);
    EXPECT_EQ(t.Window(316, 241), 0u);
    EXPECT_EQ(t.Window(316 + 37, 241), 0u);
    const auto row = t.BlackOnRow(241);  // the disc of radius 38 round (316, 241)
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(row.front(), 278);
    EXPECT_EQ(row.back(), 354);
    EXPECT_EQ(t.Window(316, 202), LogoPixel(316 - 104, 202 - 195));
    EXPECT_EQ(t.Window(316, 203), 0u);
    EXPECT_EQ(t.Window(316, 279), 0u);
    EXPECT_EQ(t.Window(316, 280), LogoPixel(316 - 104, 280 - 195));
    EXPECT_NE(t.Window(kLogoLeft, kLogoTop), 0u);  // the corner lies outside radius 38
    t.game->Frames(15);
    EXPECT_EQ(t.Sc(2), 10);
    t.game->Frames(1);  // the 36th disc frame: radius 70 covers the logo, counters start over
    EXPECT_EQ(t.BlackInLogo(), 98 * 90);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(t.Sc(k), 0) << k;
    EXPECT_EQ(t.g().Shell.SceneNo, 0);
    EXPECT_EQ(t.g().Shell.FrameInterval, 40);

    t.game->Frames(1);  // letters again, on black
    EXPECT_NE(t.Window(271, 205), 0u);
    EXPECT_EQ(t.Window(290, 200), 0u);
}

TEST(OpeningScene, AClickInTheFirstFrameShowsTheLogoThenHandsOverAfterTheDisc) {
    OpeningGame t;
    std::string tracePath = t.dir.File("trace.jsonl");
    ASSERT_TRUE(t.game->platform.GetTrace().Open(tracePath));
    t.Click();
    EXPECT_EQ(t.Sc(2), 12);
    EXPECT_EQ(t.game->platform.Cursor(), kCursorNone);
    t.game->Frames(1);
    EXPECT_TRUE(t.ShowsWholeLogo());  // every letter at once; the disc starts at radius 0
    t.Click();                        // more clicks neither speed up nor restart the disc
    t.game->Frames(20);
    t.Click();
    t.game->Frames(14);
    EXPECT_EQ(t.g().Shell.SceneNo, 0);
    EXPECT_EQ(t.g().Shell.FrameInterval, 40);
    t.game->Frames(1);
    EXPECT_EQ(t.g().Shell.SceneNo, 1);
    EXPECT_EQ(t.g().Shell.FrameInterval, 20);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(t.Sc(k), 0) << k;
    EXPECT_EQ(t.BlackInLogo(), 98 * 90);
    t.game->Frames(5);  // scene 1 runs on

    t.game->platform.GetTrace().Open(t.dir.File("other.jsonl"));
    std::string trace = t.dir.Read("trace.jsonl");
    size_t effects = 0;
    for (size_t at = trace.find("\"ev\":\"effect\""); at != std::string::npos;
         at = trace.find("\"ev\":\"effect\"", at + 1))
        ++effects;
    EXPECT_EQ(effects, 3u);
    EXPECT_NE(trace.find("\"slot\":7"), std::string::npos) << trace;
}

TEST(OpeningScene, AClickDuringTheDiscLetsItGoOnFromItsRadius) {
    OpeningGame t;
    t.game->Frames(84 + 462 + 10);
    ASSERT_EQ(t.Sc(2), 10);
    ASSERT_EQ(t.Sc(5), 20);
    t.Click();
    t.game->Frames(25);
    EXPECT_EQ(t.g().Shell.SceneNo, 0);
    t.game->Frames(1);
    EXPECT_EQ(t.g().Shell.SceneNo, 1);
    EXPECT_EQ(t.g().Shell.FrameInterval, 20);
}

}  // namespace
}  // namespace kiv
