#include "scenes/stage/speech.h"

#include <gtest/gtest.h>

#include "data/sjis.h"
#include "media/raster.h"
#include "platform/sdl/ttf_font.h"
#include "stage_test_game.h"

namespace kiv {
namespace {

using namespace stage_test;

// The stage folder with its texts drawn in the game's own font.
StageFolderOptions WithFont() {
    StageFolderOptions o;
    o.fonts = &TtfFonts();
    return o;
}

StageFolderOptions WithIntro(const std::string& line, const std::string& name = "Player") {
    StageFolderOptions o = WithFont();
    o.stage1Texts[0] = line;
    o.playerName = name;
    return o;
}

// Frames spent in the step that types the introduction.
int IntroFrames(StageGame& t) {
    t.Frames(1);  // step 1
    int n = 0;
    while (t.Step() == kStepTypeIntro && n < 200) {
        t.Frames(1);
        ++n;
    }
    return n;
}

int WhitePixels(StageGame& t, const Rect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += t.Window(x, y) == 0xFFFFFF;
    return n;
}

TEST(Speech, TheNewRowCodeMovesTheNextUnitInTheSameFrame) {
    StageGame t(WithFont());
    t.Enter(1);
    t.Frames(2);  // step 1, then "Hi"
    Game& g = t.g();
    const int hi = TextWidth(g.Media.BackBmp, TtfFonts(), "Hi") + 2;
    EXPECT_EQ(g.Play.SpeechX, kTextX + hi);
    EXPECT_EQ(g.Play.SpeechY, kTextY);
    EXPECT_EQ(t.Sc(kSubFrame), 1);
    t.Frames(1);  // "__" and "Ok" at the start of the second row
    const int ok = TextWidth(g.Media.BackBmp, TtfFonts(), "Ok") + 2;
    EXPECT_EQ(t.Sc(kSubFrame), 3);
    EXPECT_EQ(g.Play.SpeechX, kTextX + ok);
    EXPECT_EQ(g.Play.SpeechY, kTextY + 18);
    EXPECT_EQ(g.Play.SpeechRight, kTextX + std::max(hi, ok));
    EXPECT_EQ(g.Media.DstRect, MakeRect(kTextX, kTextY + 18, kTextX + ok, kTextY + 32));
    EXPECT_TRUE(g.Media.BackBmp.Font.Italic);
    EXPECT_EQ(g.Media.BackBmp.Font.Height, 14);
    EXPECT_EQ(g.Media.BackBmp.Brush, BrushStyle::Solid);
    if (TtfFonts().Available()) {
        EXPECT_GT(WhitePixels(t, MakeRect(kTextX, kTextY, kTextX + hi, kTextY + 14)), 0);
        EXPECT_GT(WhitePixels(t, MakeRect(kTextX, kTextY + 18, kTextX + ok, kTextY + 32)), 0);
    }
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepIntroCursor);
    EXPECT_EQ(t.Sc(kSubFrame), 0);
}

TEST(Speech, ALineWithoutItsEndCodeEndsAfterItsLastByte) {
    {
        StageGame t(WithIntro("Abc"));
        t.Enter(1);
        EXPECT_EQ(IntroFrames(t), 3);  // "Ab", "c", the end
        EXPECT_EQ(t.Step(), kStepIntroCursor);
        EXPECT_EQ(t.Sc(kSubFrame), 0);
    }
    {
        StageGame t(WithIntro("X_/"));  // the code off the two-byte grid
        t.Enter(1);
        EXPECT_EQ(IntroFrames(t), 3);  // "X_", "/", the end
    }
    {
        std::string full;
        while (full.size() < 95) full += "Ab";
        StageGame t(WithIntro(full));  // cut to 95 bytes
        t.Enter(1);
        EXPECT_EQ(t.g().Cfg.StageTexts[0][1].Length(), 95);
        EXPECT_EQ(IntroFrames(t), 49);  // 47 units, the last byte, the end
    }
    {
        StageGame t(WithIntro("Hi__"));  // a new row with nothing after it
        t.Enter(1);
        EXPECT_EQ(IntroFrames(t), 2);
    }
}

TEST(Speech, AnOddPlayerNameIsPaddedSoTheCodesAfterItAreFound) {
    StageGame t(WithIntro("\x82\x66__Ok_/", "Bob"));
    EXPECT_EQ(t.g().Cfg.StageTexts[0][1].View(), "Bob __Ok_/");
    t.Enter(1);
    t.Frames(3);  // step 1, "Bo", "b "
    EXPECT_EQ(t.g().Play.SpeechY, kTextY);
    t.Frames(1);  // "__" and "Ok"
    EXPECT_EQ(t.g().Play.SpeechY, kTextY + 18);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepIntroCursor);

    StageGame even(WithIntro("\x82\x66__Ok_/", "Anna"));
    EXPECT_EQ(even.g().Cfg.StageTexts[0][1].View(), "Anna__Ok_/");
}

TEST(Speech, TheTraceNamesTheLineAndItsTextInUtf8) {
    const std::string hello = Utf8ToSjis("\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF");  // konnichiwa
    StageGame t(WithIntro(hello + "_/"));
    t.Enter(1);
    t.Frames(7);
    auto speech = t.Events("speech");
    ASSERT_EQ(speech.size(), 1u);
    EXPECT_NE(speech[0].find("\"line\":1,\"text\":\"\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF_/\""),
              std::string::npos)
        << speech[0];
    EXPECT_EQ(t.Step(), kStepIntroCursor);  // five characters and the end
}

TEST(Speech, EraseSpeechRestoresThePlainBackgroundOverTheTypedRows) {
    StageGame t(WithFont());
    t.Enter(1);
    Game& g = t.g();
    g.Play.SpeechRight = 260;  // as if a row had reached over the picture
    g.Play.SpeechY = 80;
    EraseSpeech(g);
    EXPECT_EQ(g.Media.DstRect, MakeRect(kTextX, kTextY, 260, 94));
    EXPECT_EQ(t.Window(259, kTextY), kBackColour);  // the upper picture is not redrawn
    EXPECT_EQ(t.Window(259, 93), kBackColour);
    EXPECT_EQ(t.Window(260, 70), kPictureColour);
    EXPECT_EQ(t.Window(259, 94), kPictureColour);
    EXPECT_EQ(t.Window(259, kTextY - 1), kPictureColour);
    EXPECT_EQ(t.Back(259, 70), kBackColour);
}

TEST(Speech, ReactionPairsAlternateAndRepeatOneTimeInSix) {
    StageGame t(WithFont());
    t.Enter(1);
    Game& g = t.g();
    int repeats = 0, last = 0;
    const int n = 6000;
    for (int i = 0; i < n; ++i) {
        StartReactionLine(g, 9, kToggleHand);
        const int line = t.Sc(kSpeechLine);
        ASSERT_TRUE(line == 9 || line == 10) << line;
        ASSERT_EQ(t.Sc(kSpeechState), -1);
        repeats += line == last;
        last = line;
        t.Sc(kSpeechState) = 0;
    }
    EXPECT_NEAR(double(repeats) / n, 1.0 / 6, 0.02);
    EXPECT_EQ(t.Sc(kToggleBody), 0);  // the other pairs keep their own toggles
}

TEST(Speech, CancelSpeechActsOnlyOnAReactionLine) {
    StageGame t(WithFont());
    t.ToPlay();
    Game& g = t.g();
    g.Play.SpeechRight = 260;
    CancelSpeech(g);  // no reaction line: nothing is erased
    EXPECT_EQ(t.Window(259, 70), kPictureColour);
    t.Sc(kSpeechState) = 12;
    t.Sc(kSubFrame) = 3;
    CancelSpeech(g);
    EXPECT_EQ(t.Window(259, 70), kBackColour);
    EXPECT_EQ(t.Sc(kSpeechState), 0);
    EXPECT_EQ(t.Sc(kSubFrame), 0);
}

}  // namespace
}  // namespace kiv
