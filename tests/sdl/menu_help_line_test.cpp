// The help line of the title menu: what its strip shows frame by frame, how long it runs, the
// presses during it and the pictures beside it.
#include <gtest/gtest.h>

#include <string>

#include "media/raster.h"
#include "menu_test_game.h"
#include "platform/sdl/ttf_font.h"
#include "scenes/menu/menu.h"

namespace kiv {
namespace {

using namespace menu;
using namespace menu_test;

constexpr int kStripX = 406, kStripY = 242;

// The help line as the menu draws it in one picture: black, the text in white from x = 132;
// this one holds the picture's columns from `from` on.
Surface LinePicture(const std::string& text, int from, int width) {
    Surface s = CreateSurface(width, 12);
    s.Font.Height = 12;
    s.Font.Color = 0x00FFFFFF;
    TextOut(s, TtfFonts(), 132 - from, 0, text);
    return s;
}

int LineTextWidth(const std::string& text) {
    Surface s = CreateSurface(1, 12);
    s.Font.Height = 12;
    return TextWidth(s, TtfFonts(), text);
}

// Chooses and confirms the help-line button: the line starts with the next frame.
bool StartHelpLine(MenuGame& t) {
    if (!t.ToMenu()) return false;
    t.Click(420, 250);
    t.Frames(6);
    t.Click(420, 250);
    t.Frames(27);
    return t.Step() == kStepCarryOut && t.Sc(kItem) == kItemHelp && t.Sc(kSubFrame) == 20;
}

// The strip shows columns s .. s + 119 of the picture (first column `from`), where it has them.
bool StripShows(MenuGame& t, const Surface& picture, int from, int s, int pictureWidth) {
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 120 && s + x < pictureWidth; ++x)
            if (t.Window(kStripX + x, kStripY + y) !=
                picture.Pixels[static_cast<size_t>(y) * picture.Width + (s + x - from)])
                return false;
    return true;
}

int InkInStrip(MenuGame& t) {
    int n = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 120; ++x) n += t.Window(kStripX + x, kStripY + y) == 0xFFFFFFu;
    return n;
}

TEST(MenuHelpLine, ScrollsTwoPixelsAFrameThroughItsStripAndRunsOut) {
    MenuGame t("", "Help", &TtfFonts());
    ASSERT_TRUE(StartHelpLine(t));
    const int pictureWidth = (4 / 2) * 12 + 268;
    const Surface picture = LinePicture("Help", 0, pictureWidth);
    const int textWidth = LineTextWidth("Help");
    int frames = 0, inkFrames = 0;
    while (t.Step() == kStepCarryOut && frames < 1000) {
        const int s = t.Sc(kSubFrame);
        t.Frames(1);
        ++frames;
        ASSERT_TRUE(StripShows(t, picture, 0, s, pictureWidth)) << "at " << s;
        inkFrames += InkInStrip(t) > 0;
    }
    // From 20 (where the confirm flash left the counter) until it passes the text width + 136.
    EXPECT_EQ(frames, (textWidth + 136 - 20) / 2 + 1);
    if (TtfFonts().Available()) {
        EXPECT_GT(inkFrames, 50);
    }
    EXPECT_EQ(t.Step(), kStepCancel);
    EXPECT_EQ(t.Sc(kSubFrame), 0);
    t.Frames(1 + 6);
    EXPECT_EQ(t.Step(), kStepCancelDone);
    EXPECT_TRUE(t.ShowsParts(0, 94, 53, 108, 405, 255));  // the button is back
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepWait);
}

// Capitals, M and W are wider than the 6 pixels a byte the picture is sized by: the picture grows
// to the text and its run-out, so the last word scrolls through and the strip ends black instead
// of keeping the columns it showed last.
TEST(MenuHelpLine, ALineOfWideLettersScrollsToItsLastWordAndLeavesTheStripBlack) {
    if (!TtfFonts().Available()) GTEST_SKIP() << "no font: every letter is 6 pixels wide";
    std::string text = "WIDE ";
    for (int i = 0; i < 4; ++i) text += "MMMMMMMMMMWWWWWWWWWW";
    text += " END";
    const int textWidth = LineTextWidth(text);
    const int byBytes = static_cast<int>(text.size() / 2) * 12 + 268;
    ASSERT_GT(132 + textWidth, byBytes) << "the line must be wider than its bytes account for";
    const int pictureWidth = 132 + textWidth + 136;
    const Surface picture = LinePicture(text, 0, pictureWidth);
    int lastInk = -1;  // the picture's last column with ink: the end of "END"
    for (int x = 0; x < pictureWidth; ++x)
        for (int y = 0; y < 12; ++y)
            if (picture.Pixels[static_cast<size_t>(y) * pictureWidth + x] != 0) lastInk = x;
    ASSERT_GT(lastInk, byBytes);

    MenuGame t("", text, &TtfFonts());
    ASSERT_TRUE(StartHelpLine(t));
    int frames = 0;
    bool endShown = false;
    while (t.Step() == kStepCarryOut && frames < 2000) {
        const int s = t.Sc(kSubFrame);
        t.Frames(1);
        ++frames;
        ASSERT_LE(s + 120, pictureWidth) << "the strip ran past the picture at " << s;
        ASSERT_TRUE(StripShows(t, picture, 0, s, pictureWidth)) << "at " << s;
        if (s <= lastInk && lastInk < s + 120) endShown |= InkInStrip(t) > 0;
    }
    EXPECT_EQ(frames, (textWidth + 136 - 20) / 2 + 1);
    EXPECT_TRUE(endShown) << "the last letters never reached the strip";
    EXPECT_EQ(t.Step(), kStepCancel);
    auto stripIsBlack = [&t] {
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 120; ++x)
                if (t.Window(kStripX + x, kStripY + y) != 0u) return false;
        return true;
    };
    EXPECT_TRUE(stripIsBlack());
    t.Frames(10);
    EXPECT_EQ(t.Step(), kStepWait);
    EXPECT_TRUE(stripIsBlack()) << "the waiting menu keeps a streak";
}

TEST(MenuHelpLine, AnEmptyLineEndsAfterFiftyNineFrames) {
    MenuGame t("", "", &TtfFonts());
    ASSERT_TRUE(StartHelpLine(t));
    t.Frames(58);
    EXPECT_EQ(t.Step(), kStepCarryOut);
    EXPECT_EQ(t.Sc(kSubFrame), 136);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepCancel);
}

TEST(MenuHelpLine, ALeftPressJumpsEightPixelsAndARightPressStopsTheLine) {
    MenuGame t("", "Help", &TtfFonts());
    ASSERT_TRUE(StartHelpLine(t));
    t.Frames(5);
    EXPECT_EQ(t.Sc(kSubFrame), 30);
    t.NewEffects(8);
    t.Click(100, 100);
    t.Click(100, 100);
    EXPECT_EQ(t.NewEffects(8), 2);
    EXPECT_EQ(t.Sc(kSubFrame), 46);
    t.Frames(1);
    const int pictureWidth = 292;
    EXPECT_TRUE(StripShows(t, LinePicture("Help", 0, pictureWidth), 0, 46, pictureWidth));
    EXPECT_EQ(t.Sc(kSubFrame), 48);
    if (TtfFonts().Available()) {
        EXPECT_GT(InkInStrip(t), 0);
    }

    // The line stops at once: its strip and the picture place beside it are blanked.
    t.g().Media.BackBmp.Pixels[300 * 640 + 420] = 0x123456;
    t.Click(100, 100, MouseButton::Right);
    EXPECT_EQ(t.Step(), kStepCancel);
    EXPECT_EQ(InkInStrip(t), 0);
    for (int y = 242; y < 254; ++y)
        for (int x = 406; x < 526; ++x) ASSERT_EQ(t.Window(x, y), 0u) << x << "," << y;
    EXPECT_EQ(t.Window(420, 300), 0u);
    EXPECT_EQ(t.Back(420, 300), 0u);
    t.Frames(8);
    EXPECT_EQ(t.Step(), kStepWait);
    EXPECT_EQ(InkInStrip(t), 0);

    // The middle button stops it too; only the left one jumps.
    t.Click(420, 250);
    t.Frames(6);
    t.Click(420, 250);
    t.Frames(27 + 3);
    ASSERT_EQ(t.Step(), kStepCarryOut);
    EXPECT_EQ(t.Sc(kSubFrame), 26);  // the line starts afresh
    t.Click(100, 100, MouseButton::Middle);
    EXPECT_EQ(t.Step(), kStepCancel);
    EXPECT_EQ(t.NewEffects(8), 0);
}

// 2500 full-width characters: the line's one picture would be 30268 pixels wide.
TEST(MenuHelpLine, AFiveThousandByteLineScrollsWithItsPicturesBesideIt) {
    std::string text;
    for (int i = 0; i < 2500; ++i) text += "\x82\xa0";
    MenuGame t("", text, &TtfFonts());
    ASSERT_TRUE(StartHelpLine(t));
    const int pictureWidth = 2500 * 12 + 268;
    auto jumpTo = [&t](int s) {
        while (t.Sc(kSubFrame) + 8 <= s) t.Click(100, 100);
    };
    auto frame = [&t] {
        const int s = t.Sc(kSubFrame);
        t.Frames(1);
        return s;
    };

    jumpTo(849);
    EXPECT_EQ(frame(), 844);
    frame();
    frame();
    EXPECT_EQ(frame(), 850);  // a black patch over the picture place
    jumpTo(949);
    while (frame() < 950) {}
    EXPECT_TRUE(t.ShowsParts(54, 0, 89, 35, 415, 288));  // the refill icon
    jumpTo(1249);
    while (frame() < 1250) {}
    EXPECT_TRUE(t.ShowsParts(91, 0, 159, 25, 399, 288));  // the tag panel
    jumpTo(1799);
    while (frame() < 1800) {}
    for (int y = 288; y < 323; ++y)
        for (int x = 399; x < 467; ++x) ASSERT_EQ(t.Window(x, y), 0u) << x << "," << y;

    // Far into the line the strip still shows the one picture's pixels.
    jumpTo(20000);
    const int s = frame();
    EXPECT_TRUE(StripShows(t, LinePicture(text, s - 100, 400), s - 100, s, pictureWidth));
    if (TtfFonts().Available()) {
        EXPECT_GT(InkInStrip(t), 0);
    }
    jumpTo(LineTextWidth(text) + 100);
    for (int i = 0; i < 40 && t.Step() == kStepCarryOut; ++i) frame();
    EXPECT_EQ(t.Step(), kStepCancel);
    EXPECT_TRUE(t.game->platform.Messages().empty());
}

// A line wider than a 16-bit counter can count still runs out.
TEST(MenuHelpLine, ALineOverThirtyTwoThousandPixelsRunsOut) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "\x82\xa0";
    const int textWidth = LineTextWidth(text);
    ASSERT_GT(textWidth + 136, 32767);
    MenuGame t("", text, &TtfFonts());
    ASSERT_TRUE(StartHelpLine(t));
    const int clicks = (textWidth + 136 - 20) / 8 - 4;
    for (int i = 0; i < clicks; ++i) t.Click(100, 100);
    int frames = 0;
    while (t.Step() == kStepCarryOut && frames < 100) {
        t.Frames(1);
        ++frames;
    }
    EXPECT_EQ(t.Step(), kStepCancel);
    EXPECT_EQ(frames, (textWidth + 136 - 20 - 8 * clicks) / 2 + 1);
    EXPECT_TRUE(t.game->platform.Messages().empty());
}

}  // namespace
}  // namespace kiv
