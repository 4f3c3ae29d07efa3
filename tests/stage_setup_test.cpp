#include "scenes/stage/stage.h"

#include <gtest/gtest.h>

#include "media/raster.h"
#include "scenes/stage/erasing.h"
#include "stage_test_game.h"

namespace kiv {
namespace {

using namespace stage_test;

uint32_t Parts(Game& g, int x, int y) { return g.Media.PartsBmp.Pixels[static_cast<size_t>(y) * 640 + x]; }
// The colour of digit d's cell as the test sheet has it, one row below the cell's black top.
uint32_t DigitColour(int d) { return 0x300000u + 0x10u * static_cast<uint32_t>(d); }

TEST(StageSetUp, ComposesPictureTagIconAndTimerAndPreparesTheIntroduction) {
    StageGame t;
    t.Enter(1);
    Game& g = t.g();
    EXPECT_EQ(t.Step(), kStepIntroStart);
    EXPECT_EQ(g.Shell.FrameInterval, 80);
    EXPECT_EQ(t.game->platform.Cursor(), 1);
    EXPECT_EQ(g.Play.StageOutcome, 0);

    // The picture over the background, through its mask.
    EXPECT_EQ(t.Window(300, 300), kPictureColour);
    EXPECT_EQ(t.Window(150, 300), kBackColour);

    // The tag with its bottom-left corner on the speech origin (20, 60), the badge in it with
    // the timer's five digits 7 0 2 9 0 and an empty gauge.
    EXPECT_EQ(t.Window(21, 36), kTagColour);
    EXPECT_EQ(t.Window(87, 59), kTagColour);
    EXPECT_EQ(t.Window(88, 59), kBackColour);
    EXPECT_EQ(t.Window(21, 34), kBackColour);
    const int digitX[5] = {99, 107, 115, 127, 135};
    const int digits[5] = {7, 0, 2, 9, 0};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(Parts(g, digitX[k], 8), DigitColour(digits[k])) << k;
        EXPECT_EQ(t.Window(digitX[k] - 91 + 20, 8 + 35), DigitColour(digits[k])) << k;
    }
    EXPECT_EQ(Parts(g, 102, 2), 0x800000u | 225u);
    EXPECT_EQ(Parts(g, 141, 3), 0x800000u | 264u);
    EXPECT_EQ(g.Play.TagCloseX, 80);
    EXPECT_EQ(g.Play.TagCloseY, 41);
    EXPECT_EQ(g.Play.BadgeSrcRect, MakeRect(99, 2, 143, 14));
    EXPECT_EQ(g.Play.BadgeDstRect, MakeRect(28, 37, 72, 49));
    EXPECT_EQ(g.Play.StageTime, 70290);

    // The refill icon centred on the refill spot (60, 420), its rectangle kept for the blinking.
    EXPECT_EQ(g.Play.StrokeRect, MakeRect(43, 403, 78, 438));
    EXPECT_EQ(t.Window(43, 403), kIconColour);
    EXPECT_EQ(t.Window(77, 437), kIconColour);
    EXPECT_EQ(t.Window(78, 437), kBackColour);

    // Speech in white, the stage's own stroke and refill sounds, its voices and music.
    EXPECT_EQ(g.Media.BackBmp.Font.Color, 0xFFFFFFu);
    EXPECT_EQ(g.Cfg.SoundNumbers[0], 5);
    EXPECT_EQ(g.Cfg.SoundNumbers[2], 7);
    EXPECT_EQ(g.Cfg.SoundNumbers[3], 4);
    EXPECT_EQ(g.Sound.WavePlayers[0].Name, "V010.wav");
    EXPECT_EQ(g.Sound.WavePlayers[9].Name, "V019.wav");
    EXPECT_EQ(g.Sound.CurMusicName.Str(), "Kv02.mid");
    auto music = t.Events("music");
    ASSERT_FALSE(music.empty());
    EXPECT_NE(music.back().find("\"file\":\"Kv02.mid\""), std::string::npos) << music.back();
}

TEST(StageSetUp, ChallengeRunHasTheShortTimeAndItsOwnMusic) {
    StageGame t;
    t.Enter(2, true);
    Game& g = t.g();
    EXPECT_EQ(g.Play.StageTime, 1890);
    EXPECT_EQ(g.Sound.CurMusicName.Str(), "Kv13.mid");  // slot 3 + 10
    const int digits[5] = {0, 1, 8, 9, 0};
    const int digitX[5] = {99, 107, 115, 127, 135};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(Parts(g, digitX[k], 8), DigitColour(digits[k])) << k;
    // Stage 2's picture and speech colour; its sounds replace the first three slots.
    EXPECT_EQ(t.Window(300, 300), kSecondPicture);
    EXPECT_EQ(t.Window(300, 200), kBackColour);
    EXPECT_EQ(g.Cfg.SoundNumbers[0], 4);
    EXPECT_EQ(g.Sound.WavePlayers[3].Name, "V023.wav");
}

TEST(StageSetUp, ADecorationIsDrawnIntoTheBackgroundThroughItsMask) {
    StageGame t(StageFolderOptions{.decoration = 3});
    t.Enter(1);
    EXPECT_EQ(t.Window(120, 320), kDecorColour);  // left of the picture: the background shows
    EXPECT_EQ(t.g().Media.StageBackBmp.Row(320)[120], kDecorColour);
    EXPECT_EQ(t.Window(160, 320), kBackColour);
    EXPECT_EQ(t.Window(300, 320), kPictureColour);
}

TEST(StageSetUp, SpeechColourCodes) {
    for (int code : {0, 2, 7}) {
        StageGame t(StageFolderOptions{.speechColour = code});
        t.g().Media.BackBmp.Font.Color = 0x123456;
        t.Enter(1);
        const uint32_t expected = code == 0 ? 0u : code == 2 ? 0x808080u : 0x123456u;
        EXPECT_EQ(t.g().Media.BackBmp.Font.Color, expected) << code;
    }
}

TEST(StageSetUp, RaisesTheOpenStagesUpToTheEighth) {
    StageGame t;
    Game& g = t.g();
    ASSERT_EQ(g.Records.StagesOpen, 1);
    t.Enter(1);
    EXPECT_EQ(g.Records.StagesOpen, 1);
    EXPECT_FALSE(t.dir.Exists("Kiv.ini")) << "nothing new to keep";
    t.Enter(3);
    EXPECT_EQ(g.Records.StagesOpen, 3);
    // A stage newly opened is kept at once, whatever ends the program later.
    EXPECT_NE(t.dir.Read("Kiv.ini").find("Stage=3\r\n"), std::string::npos);
    t.Enter(2);
    EXPECT_EQ(g.Records.StagesOpen, 3);  // never lowered
    t.Enter(8);
    EXPECT_EQ(g.Records.StagesOpen, 8);
    g.Records.StagesOpen = 2;
    t.Enter(9);
    EXPECT_EQ(g.Records.StagesOpen, 2);  // the ninth and tenth stages open nothing
    g.Records.StagesOpen = 9;
    t.Enter(1);
    EXPECT_EQ(g.Records.StagesOpen, 8);
}

TEST(StageSetUp, PointsAlreadyOpenCountAtOnceAndTheGaugeStartsAfresh) {
    StageGame t(StageFolderOptions{.openPoints = 3});
    Game& g = t.g();
    g.Play.PointsUncovered = 20;
    SetGauge(g, 20);
    t.Enter(1);
    EXPECT_EQ(g.Play.PointsUncovered, 3);
    EXPECT_EQ(Parts(g, 102, 2), 0x800000u | 219u);  // strip of 3 points
    EXPECT_EQ(Parts(g, 102, 3), 0x800000u | 219u);
    t.Enter(2);  // none open: the gauge is emptied all the same
    EXPECT_EQ(g.Play.PointsUncovered, 0);
    EXPECT_EQ(Parts(g, 102, 2), 0x800000u | 225u);
}

// Stage 1 is left cleared with two places erased: A = (300..319, 250..269) where stage 2's
// picture is, B = (300..319, 100..119) where stage 2's picture is transparent.
void ClearStageOneWithTwoErasedPlaces(StageGame& t) {
    t.Enter(1);
    Game& g = t.g();
    for (int y : {100, 250})
        for (int yy = y; yy < y + 20; ++yy)
            for (int x = 300; x < 320; ++x) {
                SetPixel(g.Media.StagePicBmp, x, yy, 0);
                SetPixel(g.Media.EraseMapBmp, x, yy, 0xFFFFFF);
            }
    g.Play.PointsUncovered = 20;
    t.Sc(kStep) = kStepLeave;
    t.Frames(1);
    ASSERT_EQ(g.Shell.SceneNo, 3);
    t.Frames(1);
}

TEST(StageSetUp, CarryOverOneKeepsTheLastPictureOnTopOfTheNew) {
    StageGame t(StageFolderOptions{.carryIntoStage2 = 1});
    ClearStageOneWithTwoErasedPlaces(t);
    EXPECT_EQ(t.Step(), kStepIntroStart);
    // new picture := (picture 2 and old map) or old picture; new map := old map and mask 2.
    EXPECT_EQ(t.Window(310, 260), kSecondPicture);  // erased before, picture 2 shows through
    EXPECT_EQ(t.Window(310, 110), kBackColour);     // erased before, nothing of picture 2 here
    EXPECT_EQ(t.Window(350, 300), kPictureColour);  // the old picture's rest stays on top
    EXPECT_EQ(t.Window(150, 300), kSecondPicture);  // old picture transparent: picture 2
    EXPECT_EQ(t.Window(150, 150), kBackColour);
    EXPECT_EQ(GetPixel(t.g().Media.EraseMapBmp, 310, 110), 0xFFFFFFu);
    EXPECT_EQ(GetPixel(t.g().Media.EraseMapBmp, 310, 260), 0u);
    EXPECT_EQ(t.g().Play.PointsUncovered, 0);
}

TEST(StageSetUp, CarryOverTwoInvertsTheOldMapAgainstTheNewMask) {
    StageGame t(StageFolderOptions{.carryIntoStage2 = 2});
    ClearStageOneWithTwoErasedPlaces(t);
    // new picture := picture 2 and old map; new map := not (old map xor mask 2).
    EXPECT_EQ(t.Window(310, 260), kSecondPicture);
    EXPECT_EQ(t.Window(310, 110), kBackColour);
    EXPECT_EQ(t.Window(350, 300), kBackColour);  // covered before, under picture 2: open now
    EXPECT_EQ(t.Window(350, 150), 0u);           // covered before, no picture 2: black
    EXPECT_EQ(GetPixel(t.g().Media.EraseMapBmp, 350, 150), 0u);
    // Stage 2's check points lie where stage 1 was still covered: all twenty open at once.
    EXPECT_EQ(t.g().Play.PointsUncovered, 20);
    EXPECT_EQ(Parts(t.g(), 102, 2), 0x900000u | 185u);  // the full gauge's own strip
}

TEST(StageSetUp, WithoutCarryOverTheMapIsTheNewMask) {
    StageGame t;
    ClearStageOneWithTwoErasedPlaces(t);
    EXPECT_EQ(t.g().Play.CarryOverMode, 0);
    EXPECT_EQ(t.Window(310, 260), kSecondPicture);
    EXPECT_EQ(t.Window(310, 110), kBackColour);
    EXPECT_EQ(t.Window(350, 300), kSecondPicture);
    EXPECT_EQ(GetPixel(t.g().Media.EraseMapBmp, 350, 150), 0xFFFFFFu);
}

}  // namespace
}  // namespace kiv
