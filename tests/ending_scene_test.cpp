#include "scenes/ending/ending.h"

#include <gtest/gtest.h>

#include "closing_test_game.h"
#include "data/random.h"
#include "game/game_media.h"

namespace kiv {
namespace {

using namespace closing_test;
using namespace ending;

// Something on the screen, so that the ending's black shows.
void LightTheWindow(ClosingGame& t) {
    Surface& back = t.g().Media.BackBmp;
    std::fill(back.Pixels.begin(), back.Pixels.end(), 0xFFFFFFu);
    PresentAll(t.g());
}

bool InsetAShows(ClosingGame& t) {
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            for (int d = 0; d < 4; ++d)
                if (t.Window(kInsetA.Left + 2 * x + d % 2, kInsetA.Top + 2 * y + d / 2) != End2Pixel(x, y))
                    return false;
    return true;
}
bool InsetBShows(ClosingGame& t) {
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            if (t.Window(kInsetB.Left + x, kInsetB.Top + y) != End3Pixel(x, y)) return false;
    return true;
}
// End1 alone in the inset's place.
bool Plain(ClosingGame& t, const Rect& r) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (t.Window(x, y) != kEnd1) return false;
    return true;
}

TEST(EndingScene, AStageNotClearedPassesOnAfterTwoBlackFramesWithoutMusic) {
    ClosingGame t;
    LightTheWindow(t);
    t.Enter(12, 1, true);
    t.Frames(1);
    EXPECT_EQ(t.Scene(), 12);
    EXPECT_EQ(t.Sc(kStep), kStepLeave);
    EXPECT_EQ(t.Lit(MakeRect(0, 0, 640, 480)), 0);
    EXPECT_EQ(t.g().Shell.FrameInterval, 30);
    t.Frames(1);
    EXPECT_EQ(t.Scene(), 13);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(t.Sc(k), 0) << k;
    EXPECT_EQ(t.g().Sound.CurMusicName, "Kv41.mid");  // the title music goes on
}

TEST(EndingScene, TimeOverIsTypedFromX282AndTheWindowEndsBlack) {
    ClosingGame t;
    LightTheWindow(t);
    t.Enter(12, 2, true);
    t.TakeTrace();
    t.Frames(2);
    EXPECT_EQ(t.Sc(kStep), kStepBlinkBeforeTimeOver);
    EXPECT_EQ(t.g().Sound.CurMusicName, "Kv40.mid");
    EXPECT_EQ(t.g().Glyph.TextX, 282);
    EXPECT_EQ(t.g().Glyph.TextY, 200);
    t.Frames(16);
    EXPECT_EQ(t.Sc(kStep), kStepTypeTimeOver);
    t.Frames(35);
    EXPECT_EQ(t.Sc(kStep), kStepTypeTimeOver);
    t.Frames(1);  // nine characters, 36 frames
    EXPECT_EQ(t.Sc(kStep), kStepBlinkAfterTimeOver);
    const char* text = "time over";
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(t.ShowsLetter(282 + 8 * i, 200, text[i])) << i;
    auto trace = t.TakeTrace();
    EXPECT_EQ(ClosingGame::Count(trace, {"\"effect\"", "\"slot\":5"}), 8);
    EXPECT_EQ(ClosingGame::Count(trace, {"\"effect\"", "\"slot\":6"}), 1);

    t.Press(MouseButton::Left, 300, 200);  // presses do nothing here
    t.Frames(72);
    EXPECT_EQ(t.Sc(kStep), kStepClearTimeOver);
    EXPECT_GT(t.Lit(MakeRect(282, 199, 354, 207)), 0);
    t.Frames(1);
    EXPECT_EQ(t.Lit(MakeRect(0, 0, 640, 480)), 0);
    EXPECT_EQ(t.Scene(), 12);
    t.Frames(1);
    EXPECT_EQ(t.Scene(), 13);
    EXPECT_EQ(t.g().Shell.FrameInterval, 30);
}

TEST(EndingScene, AfterAClearTheMessageIsTypedThenThePictureWaitsWithItsInsetsForAPress) {
    ClosingGame t;
    LightTheWindow(t);
    t.Enter(12, 0, false);
    t.Frames(2);
    EXPECT_EQ(t.Sc(kStep), kStepBlinkBeforeThanks);
    EXPECT_EQ(t.g().Sound.CurMusicName, "Kv40.mid");
    EXPECT_EQ(t.g().Glyph.TextX, 214);
    EXPECT_EQ(t.Lit(MakeRect(0, 0, 640, 480)), 0);  // the pictures wait off screen
    EXPECT_EQ(t.g().Closing.EndRectA, kInsetA);
    EXPECT_EQ(t.g().Closing.EndRectB, kInsetB);

    t.Frames(31);
    EXPECT_EQ(t.Sc(kStep), kStepBlinkBeforeThanks);
    t.Press(MouseButton::Left, 320, 240);  // before the picture a press is ignored
    t.Frames(1);
    EXPECT_EQ(t.Sc(kStep), kStepTypeThanks);
    t.TakeTrace();
    t.Frames(103);
    EXPECT_EQ(t.Sc(kStep), kStepTypeThanks);
    t.Frames(1);
    EXPECT_EQ(t.Sc(kStep), kStepBlinkAfterThanks);
    auto trace = t.TakeTrace();
    EXPECT_EQ(ClosingGame::Count(trace, {"\"effect\"", "\"slot\":5"}), 22);
    EXPECT_EQ(ClosingGame::Count(trace, {"\"effect\"", "\"slot\":6"}), 4);
    const std::string text = "thank you for your playing";
    for (size_t i = 0; i < text.size(); ++i)
        EXPECT_TRUE(t.ShowsLetter(214 + 8 * static_cast<int>(i), 200, text[i])) << i;
    EXPECT_EQ(t.g().Shell.FrameInterval, 30);

    t.Frames(72);
    EXPECT_EQ(t.Sc(kStep), kStepShowPicture);
    t.Frames(1);  // the plain picture replaces the message
    EXPECT_EQ(t.Sc(kStep), kStepWaitClick);
    EXPECT_EQ(t.Window(214, 200), kEnd1);
    EXPECT_EQ(t.g().Sound.CurMusicName, "Kv42.mid");
    EXPECT_EQ(t.g().Shell.FrameInterval, 38);
    EXPECT_EQ(t.platform().Cursor(), 5);
    EXPECT_TRUE(Plain(t, kInsetB));

    // The first frame of the wait flashes inset B; inset A shows on the 16th, stretched.
    t.Frames(1);
    EXPECT_TRUE(InsetBShows(t));
    EXPECT_TRUE(Plain(t, kInsetA));
    t.Frames(1);
    EXPECT_TRUE(Plain(t, kInsetB));
    t.Frames(13);
    EXPECT_TRUE(Plain(t, kInsetA));
    t.Frames(1);
    EXPECT_TRUE(InsetAShows(t));

    t.Press(MouseButton::Right, 5, 5);
    EXPECT_EQ(t.Sc(kStep), kStepClicked);
    t.Press(MouseButton::Left, 5, 5);
    EXPECT_EQ(t.Sc(kStep), kStepClicked);
    t.Frames(1);
    EXPECT_EQ(t.Sc(kStep), kStepFinalFlicker);
    EXPECT_EQ(t.platform().Cursor(), kCursorNone);
    EXPECT_EQ(t.g().Shell.FrameInterval, 25);

    // The last flicker: inset B every other frame, for 71 frames.
    bool shown[6];
    for (bool& s : shown) {
        t.Frames(1);
        s = InsetBShows(t);
    }
    for (int i = 1; i < 6; ++i) EXPECT_NE(shown[i], shown[i - 1]) << i;
    t.Frames(64);
    EXPECT_EQ(t.Sc(kStep), kStepFinalFlicker);
    t.Frames(1);
    EXPECT_EQ(t.Sc(kStep), kStepClearPicture);
    EXPECT_EQ(t.Sc(kSubFrame), 0);
    t.Frames(1);
    EXPECT_EQ(t.Lit(MakeRect(0, 0, 640, 480)), 0);
    t.Frames(1);
    EXPECT_EQ(t.Scene(), 13);
}

// Steps to the first frame of the waiting picture.
void ToThePicture(ClosingGame& t) {
    t.Enter(12, 0, true);
    t.Frames(2 + 32 + 104 + 72);
    ASSERT_EQ(t.Sc(kStep), kStepShowPicture);
}

TEST(EndingScene, InsetBFollowsTheRhythmAndInsetAShowsForItsGap) {
    ClosingGame t;
    ToThePicture(t);
    RandomState rand = t.g().Rand;
    const int gap = 46 + static_cast<int>(Random(rand, 14));
    const int nextGap = 46 + static_cast<int>(Random(rand, 14));
    Random(rand, 2);  // whether inset B starts its rhythm again
    const int thirdGap = 46 + static_cast<int>(Random(rand, 14));
    t.Frames(1);
    ASSERT_EQ(t.Sc(kInsetAGap), gap);

    // Inset B shows for one frame, then stays hidden for the rhythm's frames.
    constexpr int kRhythm[35] = {1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 5,
                                 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1};
    std::vector<int> expected;
    for (int frame = 1, k = 0; frame <= 2 * gap; frame += 1 + kRhythm[k++]) expected.push_back(frame);
    std::vector<int> flashes;
    for (int frame = 1; frame <= 2 * gap; ++frame) {
        t.Frames(1);
        if (InsetBShows(t)) flashes.push_back(frame);
        if (frame == 15 || frame == 16 + gap) {
            EXPECT_TRUE(Plain(t, kInsetA)) << frame;
        }
        if (frame == 16 || frame == 15 + gap) {
            EXPECT_TRUE(InsetAShows(t)) << frame;
        }
    }
    EXPECT_EQ(flashes, expected);

    t.Frames(1);  // the cycle of 2 * gap + 1 frames ends with a fresh gap
    EXPECT_EQ(t.Sc(kInsetAPhase), 0);
    EXPECT_EQ(t.Sc(kInsetAGap), nextGap);
    EXPECT_EQ(t.Sc(kStep), kStepWaitClick);
    t.Frames(15);
    EXPECT_TRUE(Plain(t, kInsetA));
    t.Frames(1);
    EXPECT_TRUE(InsetAShows(t));
    t.Frames(2 * nextGap + 1 - 16);
    EXPECT_EQ(t.Sc(kInsetAPhase), 0);
    EXPECT_EQ(t.Sc(kInsetAGap), thirdGap);
}

TEST(EndingScene, InsetBRunsThroughItsWholeRhythmAndStartsItOver) {
    ClosingGame t;
    ToThePicture(t);
    t.Frames(1);
    t.g().Shell.SceneCounters[kInsetAGap] = 200;  // no new cycle of inset A, so no restart, for 400 frames
    constexpr int kRhythm[35] = {1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 5,
                                 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1};
    std::vector<int> expected, flashes;
    for (int frame = 1, k = 0; frame <= 140; frame += 1 + kRhythm[k], k = (k + 1) % 35) expected.push_back(frame);
    for (int frame = 1; frame <= 140; ++frame) {
        t.Frames(1);
        if (InsetBShows(t)) flashes.push_back(frame);
    }
    EXPECT_EQ(flashes, expected);  // a whole pass is 114 frames
}

}  // namespace
}  // namespace kiv
