#include "scenes/stage/stage.h"

#include <gtest/gtest.h>

#include "scenes/stage/speech.h"
#include "stage_test_game.h"

namespace kiv {
namespace {

using namespace stage_test;

bool Has(const std::string& line, const std::string& part) { return line.find(part) != std::string::npos; }

// Effect events of the trace for slot k.
int EffectsOfSlot(StageGame& t, int k) {
    int n = 0;
    for (const std::string& e : t.Events("effect")) n += Has(e, "\"slot\":" + std::to_string(k) + ",");
    return n;
}

int FullPresents(StageGame& t) {
    int n = 0;
    for (const std::string& e : t.Events("present")) n += Has(e, "\"rect\":[0,0,640,480]");
    return n;
}

TEST(StageSteps, IntroductionBlinksTheIconTypesLineOneAndWaitsForAClick) {
    StageGame t;
    t.Enter(1);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepTypeIntro);
    t.Click();  // not waited for: ignored
    EXPECT_EQ(t.Step(), kStepTypeIntro);
    EXPECT_EQ(EffectsOfSlot(t, 8), 0);

    t.Frames(1);  // "Hi"
    EXPECT_EQ(t.Window(60, 420), kIconColour);
    t.Frames(1);                                // "__" and "Ok" on the second row
    EXPECT_EQ(t.Window(60, 420), kBackColour);  // third blink frame: the window shows the background
    EXPECT_EQ(t.Back(60, 420), kIconColour);    // the back surface keeps the icon
    EXPECT_EQ(t.g().Play.SpeechY, kTextY + 18);
    t.Frames(1);  // "_/"
    EXPECT_EQ(t.Step(), kStepIntroCursor);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepWaitIntroClick);
    EXPECT_EQ(t.game->platform.Cursor(), 3);
    t.Frames(1);  // sixth blink frame: the icon again
    EXPECT_EQ(t.Window(60, 420), kIconColour);
    t.Frames(20);
    EXPECT_EQ(t.Step(), kStepWaitIntroClick);

    auto speech = t.Events("speech");
    ASSERT_EQ(speech.size(), 1u);
    EXPECT_TRUE(Has(speech[0], "\"line\":1,\"text\":\"Hi__Ok_/\"")) << speech[0];
    auto voices = t.Events("voice");
    ASSERT_EQ(voices.size(), 1u);
    EXPECT_TRUE(Has(voices[0], "V010.wav"));

    t.Click(MouseButton::Right);
    EXPECT_EQ(t.Step(), kStepIntroDone);
    EXPECT_EQ(EffectsOfSlot(t, 8), 1);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepPlay);
    EXPECT_EQ(t.game->platform.Cursor(), 1);
    EXPECT_EQ(t.Window(60, 420), kBackColour);  // the icon is gone for good
    EXPECT_EQ(t.Back(60, 420), kBackColour);
    for (int y = kTextY; y < kTextY + 32; ++y)  // and so are the two rows of words
        for (int x = kTextX; x < kTextX + 40; ++x) ASSERT_EQ(t.Window(x, y), kBackColour) << x << "," << y;
    EXPECT_EQ(t.g().Play.StageTime, 70290);  // the time runs only in play
}

TEST(StageSteps, PlayCountsDownInTheBadgeAndThePausePromptResumes) {
    StageGame t;
    t.ToPlay();
    t.Frames(3);
    EXPECT_EQ(t.g().Play.StageTime, 70284);
    // The badge at (28, 37) shows the digits 7 0 2 8 4: the fourth from sheet x 127.
    EXPECT_EQ(t.Window(28 + 127 - 99, 43), 0x300080u);
    EXPECT_EQ(t.Window(28 + 135 - 99, 43), 0x300040u);

    // Paused while rubbing with ink: the prompt brings the ink pointer back, then its own.
    t.Click(MouseButton::Left, false, kRefillX - 9, kRefillY - 7);
    t.game->form.MouseDown(MouseButton::Left, false, 300, 300);
    ASSERT_EQ(t.game->platform.Cursor(), kCursorNone);
    t.Click(MouseButton::Right);
    EXPECT_EQ(t.Step(), kStepPauseStart);
    EXPECT_EQ(EffectsOfSlot(t, 3), 1);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepTypePrompt);
    EXPECT_EQ(t.game->platform.Cursor(), 2);
    t.Frames(4);  // "Fi", "ni", "sh", "_/"
    EXPECT_EQ(t.Step(), kStepPromptCursor);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepWaitPromptClick);
    EXPECT_EQ(t.game->platform.Cursor(), 4);
    EXPECT_EQ(t.g().Shell.CurrentCursor, 2);  // the prompt's pointer is not remembered
    auto speech = t.Events("speech");
    ASSERT_EQ(speech.size(), 2u);
    EXPECT_TRUE(Has(speech[1], "\"line\":4")) << speech[1];
    t.Frames(10);
    EXPECT_EQ(t.g().Play.StageTime, 70284);  // time stands still in the pause

    t.Click(MouseButton::Right);
    EXPECT_EQ(t.Step(), kStepResume);
    EXPECT_EQ(EffectsOfSlot(t, 2), 2);  // the refill and the resume
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepPlay);
    EXPECT_EQ(t.game->platform.Cursor(), 2);
    t.Frames(1);
    EXPECT_EQ(t.g().Play.StageTime, 70282);
}

TEST(StageSteps, FinishingThroughThePromptWithFewerPointsTypesLineTwoAndEnds) {
    StageGame t;
    t.ToPlay();
    for (int k = 0; k < 5; ++k) t.OpenPoint(k);
    t.Frames(1);
    EXPECT_EQ(t.g().Play.PointsUncovered, 5);
    t.Click(MouseButton::Right);
    ASSERT_TRUE(t.RunToStep(kStepWaitPromptClick));
    t.Click();
    EXPECT_EQ(t.Step(), kStepFinish);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepEndPause);
    EXPECT_EQ(t.game->platform.Cursor(), -1);
    t.Frames(5);
    EXPECT_EQ(t.Step(), kStepEndPause);
    t.Frames(1);  // six frames of pause
    EXPECT_EQ(t.Step(), kStepTypeClosing);
    t.Frames(3);  // "Lo", "st", "_/"
    EXPECT_EQ(t.Step(), kStepClosingCursor);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepWaitClosingClick);
    EXPECT_EQ(t.game->platform.Cursor(), 5);
    t.Click(MouseButton::Right);
    EXPECT_EQ(t.Step(), kStepLeave);
    EXPECT_EQ(EffectsOfSlot(t, 5), 1);
    const int32_t time = t.g().Play.StageTime;
    t.Frames(1);

    Game& g = t.g();
    EXPECT_EQ(g.Shell.SceneNo, 12);
    EXPECT_EQ(g.Play.StageOutcome, 1);
    EXPECT_EQ(g.Shell.FrameInterval, 40);
    EXPECT_EQ(g.Cfg.StageLayout[0][8], 0);  // nothing kept for a stage not cleared
    EXPECT_EQ(t.Window(300, 300), 0u);
    EXPECT_EQ(t.game->platform.Cursor(), -1);
    auto speech = t.Events("speech");
    ASSERT_EQ(speech.size(), 3u);
    EXPECT_TRUE(Has(speech[2], "\"line\":2,\"text\":\"Lost_/\"")) << speech[2];
    auto stage = t.Events("stage");
    ASSERT_EQ(stage.size(), 1u);
    EXPECT_TRUE(
        Has(stage[0], "\"stage\":1,\"points\":5,\"outcome\":1,\"time\":" + std::to_string(time) + ",\"next\":12"))
        << stage[0];
}

TEST(StageSteps, TimeOutWithNineteenPointsEndsAtOnceWithoutClosingWords) {
    StageGame t;
    t.ToPlay();
    for (int k = 0; k < 19; ++k) t.OpenPoint(k);
    t.g().Play.StageTime = 2;
    t.Frames(1);
    EXPECT_EQ(t.g().Play.StageTime, 0);
    EXPECT_EQ(t.Step(), kStepPlay);  // 0 is shown for one frame
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepLeave);
    EXPECT_EQ(t.g().Play.StageTime, 0);
    EXPECT_EQ(t.g().Play.StageOutcome, 2);
    EXPECT_EQ(t.game->platform.Cursor(), -1);
    t.Frames(1);
    EXPECT_EQ(t.g().Shell.SceneNo, 12);
    EXPECT_EQ(t.g().Play.StageOutcome, 2);
    EXPECT_EQ(t.Events("speech").size(), 1u);  // only the introduction
    auto stage = t.Events("stage");
    ASSERT_EQ(stage.size(), 1u);
    EXPECT_TRUE(Has(stage[0], "\"points\":19,\"outcome\":2,\"time\":0,\"next\":12")) << stage[0];
}

TEST(StageSteps, TimeOutWithAllPointsSkipsTheClosingWordsAndClears) {
    StageGame t;
    t.ToPlay();
    for (int k = 0; k < 20; ++k) t.OpenPoint(k);
    StartReactionLine(t.g(), 5, kToggleBody);
    t.Frames(1);  // the reaction line's first unit
    ASSERT_EQ(t.Sc(kSpeechState), -1);
    t.g().Play.StageTime = 0;
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepClosingCursor);
    EXPECT_EQ(t.Sc(kSpeechState), 0);  // the reaction line was cancelled
    EXPECT_EQ(t.Window(kTextX + 1, kTextY + 7), kBackColour);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepWaitClosingClick);
    EXPECT_EQ(t.game->platform.Cursor(), 5);
    t.Click();
    t.Frames(1);
    EXPECT_EQ(t.g().Shell.SceneNo, 3);
    EXPECT_EQ(t.g().Play.StageOutcome, 0);
    auto speech = t.Events("speech");
    ASSERT_EQ(speech.size(), 2u);  // the introduction and the reaction line, no closing words
    EXPECT_TRUE(Has(t.Events("stage")[0], "\"points\":20,\"outcome\":0,\"time\":0,\"next\":3"));
}

TEST(StageSteps, APointRubbedOpenInTheFrameTheTimeRunsOutStillClearsTheStage) {
    StageGame t;
    t.ToPlay();
    for (int k = 0; k < 19; ++k) t.OpenPoint(k);
    t.Click(MouseButton::Left, false, kRefillX - 9, kRefillY - 7);  // ink
    t.Frames(1);
    ASSERT_EQ(t.g().Play.PointsUncovered, 19);
    t.g().Play.StageTime = 0;  // the next frame is the last one
    t.game->form.MouseDown(MouseButton::Left, false, PointX(19), PointY(19));
    t.Frames(1);
    EXPECT_EQ(t.g().Play.PointsUncovered, 20);
    EXPECT_EQ(t.Step(), kStepClosingCursor);
    t.game->form.MouseUp(MouseButton::Left, false, PointX(19), PointY(19));
    t.Frames(1);
    t.Click();
    t.Frames(1);
    EXPECT_EQ(t.g().Shell.SceneNo, 3);
    EXPECT_TRUE(Has(t.Events("stage")[0], "\"points\":20,\"outcome\":0,\"time\":0,\"next\":3"));
}

TEST(StageSteps, TheTimeRunsOutInItsNineHundredFortySixthChallengeFrame) {
    StageGame t;
    t.Enter(1, true);
    t.ToPlay();
    t.Frames(945);
    EXPECT_EQ(t.Step(), kStepPlay);
    EXPECT_EQ(t.g().Play.StageTime, 0);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepLeave);
}

TEST(StageSteps, AClearedStageKeepsItsTimeAndLeadsToTheNextScene) {
    StageGame t;
    t.ToPlay();
    for (int k = 0; k < 20; ++k) t.OpenPoint(k);
    t.Frames(7);
    const int32_t time = t.g().Play.StageTime;
    t.Click(MouseButton::Right);
    ASSERT_TRUE(t.RunToStep(kStepWaitPromptClick));
    t.Click(MouseButton::Left, true);  // Shift without a bonus picture: finish
    EXPECT_EQ(t.Step(), kStepFinish);
    ASSERT_TRUE(t.RunToStep(kStepWaitClosingClick));
    auto speech = t.Events("speech");
    EXPECT_TRUE(Has(speech.back(), "\"line\":3")) << speech.back();
    t.Click();
    t.Frames(1);
    EXPECT_EQ(t.g().Shell.SceneNo, 3);
    EXPECT_EQ(t.g().Cfg.StageLayout[0][8], static_cast<int16_t>(time));  // its low 16 bits
    t.Frames(1);                                                         // stage 2 starts at its set-up
    EXPECT_EQ(t.Step(), kStepIntroStart);
    EXPECT_EQ(t.g().Shell.FrameInterval, 80);
}

TEST(StageSteps, TheLastStageLeadsToTheEndingWhenCleared) {
    StageGame t;
    t.Enter(2);
    t.ToPlay();
    for (int k = 0; k < 20; ++k) t.OpenPoint(k);
    t.Frames(1);
    t.Sc(kStep) = kStepLeave;
    t.Frames(1);
    EXPECT_EQ(t.g().Shell.SceneNo, 12);
    EXPECT_EQ(t.g().Play.StageOutcome, 0);
    EXPECT_EQ(t.g().Play.CarryOverMode, 0);
}

TEST(StageSteps, TheBonusPictureNeedsAllPointsAndARectangle) {
    StageGame t(StageFolderOptions{.bonusRight = 300, .bonusCels = 2});
    t.ToPlay();
    for (int k = 0; k < 19; ++k) t.OpenPoint(k);
    t.Frames(1);
    t.Click(MouseButton::Right);
    ASSERT_TRUE(t.RunToStep(kStepWaitPromptClick));
    t.Click(MouseButton::Left, true);
    EXPECT_EQ(t.Step(), kStepFinish);  // 19 points: no bonus

    StageGame b(StageFolderOptions{.bonusRight = 300, .bonusCels = 2});
    b.ToPlay();
    for (int k = 0; k < 20; ++k) b.OpenPoint(k);
    b.Frames(1);
    b.Click(MouseButton::Right);
    ASSERT_TRUE(b.RunToStep(kStepWaitPromptClick));
    b.Click(MouseButton::Left, true);
    EXPECT_EQ(b.Step(), kStepBonus);
    EXPECT_EQ(EffectsOfSlot(b, 4), 1);
    const int fullBefore = FullPresents(b);
    b.Frames(1);
    EXPECT_EQ(b.Step(), kStepWaitBonusClick);
    EXPECT_EQ(b.game->platform.Cursor(), -1);
    EXPECT_EQ(FullPresents(b), fullBefore + 1);
    EXPECT_EQ(b.Window(150, 150), kBonusColour);  // "G01" in (100, 100, 300, 200)
    EXPECT_EQ(b.Window(299, 199), kBonusColour);
    EXPECT_EQ(b.Window(300, 300), kBackColour);  // the whole background, no picture
    // The bonus cels are on the face at once (mood 3 restarts the face).
    const int cel = b.Sc(kEyeCel);
    ASSERT_NE(cel, 0);
    EXPECT_EQ(b.Window(kEyeL, kEyeT), CelPixel(2, cel, kEyeL - kCelLeft, kEyeT - kCelTop));
    b.Frames(5);
    EXPECT_EQ(b.Step(), kStepWaitBonusClick);
    b.Click(MouseButton::Right);
    EXPECT_EQ(b.Step(), kStepEndPause);
    ASSERT_TRUE(b.RunToStep(kStepWaitClosingClick));
    b.Click();
    b.Frames(1);
    EXPECT_EQ(b.g().Shell.SceneNo, 3);
}

TEST(StageSteps, HintsFlashAtFourHundredThreeTwoAndOneHundredAndAtNoOtherTime) {
    StageGame t;
    t.ToPlay();
    t.OpenPoint(0);
    t.g().Play.StageTime = 404;
    std::vector<int> flashes;
    for (int before = FullPresents(t); t.g().Play.StageTime > 98; before = FullPresents(t)) {
        t.Frames(1);
        if (FullPresents(t) == before) continue;
        flashes.push_back(t.g().Play.StageTime);
        if (t.g().Play.StageTime != 400) continue;
        // An outline around a covered point, none around an open one.
        EXPECT_EQ(t.Window(PointX(1) - 2, PointY(1)), 0u);
        EXPECT_EQ(t.Window(PointX(1), PointY(1)), kPictureColour);
        EXPECT_EQ(t.Window(PointX(0) - 2, PointY(0)), kPictureColour);
    }
    EXPECT_EQ(flashes, (std::vector<int>{400, 300, 200, 100}));
}

TEST(StageSteps, AReactionLineIsTypedHeldThirtyOneFramesAndErased) {
    StageGame t;
    t.ToPlay();
    StartReactionLine(t.g(), 5, kToggleBody);
    const int line = t.Sc(kSpeechLine);
    ASSERT_TRUE(line == 5 || line == 6);
    t.Frames(1);
    EXPECT_EQ(t.Sc(kSpeechState), -1);
    EXPECT_EQ(t.g().Play.SpeechY, kTextY);
    t.Frames(1);  // the end code: the hold starts and counts this frame
    EXPECT_EQ(t.Sc(kSpeechState), 31);
    const uint32_t seed = t.g().Rand.RandSeed;
    StartReactionLine(t.g(), 9, kToggleHand);  // dropped while the line shows
    EXPECT_EQ(t.Sc(kSpeechLine), line);
    EXPECT_EQ(t.Sc(kToggleHand), 0);
    EXPECT_EQ(t.g().Rand.RandSeed, seed);
    t.Frames(30);
    EXPECT_EQ(t.Sc(kSpeechState), 1);
    const Rect spoken = MakeRect(kTextX, kTextY, t.g().Play.SpeechRight, kTextY + 14);
    t.Frames(1);
    EXPECT_EQ(t.Sc(kSpeechState), 0);
    auto presents = t.Events("present");
    EXPECT_TRUE(Has(presents.back(), "\"rect\":" + Trace::RectJson(spoken))) << presents.back();
    // The next reaction starts a new line.
    StartReactionLine(t.g(), 9, kToggleHand);
    EXPECT_EQ(t.Sc(kSpeechState), -1);
}

TEST(StageSteps, APauseCancelsAReactionLine) {
    StageGame t;
    t.ToPlay();
    StartReactionLine(t.g(), 7, kToggleFeet);
    t.Frames(1);
    t.Click(MouseButton::Right);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepTypePrompt);
    EXPECT_EQ(t.Sc(kSpeechState), 0);
    EXPECT_EQ(t.Sc(kSubFrame), 0);
    t.Frames(1);  // the prompt starts afresh at the speech origin
    EXPECT_EQ(t.Sc(kSubFrame), 1);
    EXPECT_EQ(t.g().Play.SpeechY, kTextY);
}

TEST(StageSteps, EachWaitingStepAnswersEachButtonWithItsOwnStepAndSound) {
    constexpr MouseButton L = MouseButton::Left, R = MouseButton::Right, M = MouseButton::Middle;
    struct Row {
        int16_t step;
        MouseButton button;
        bool shift;
        int16_t next;
        int sound;  // -1: none
    };
    const Row rows[] = {
        {kStepWaitIntroClick, L, false, kStepIntroDone, 8}, {kStepWaitIntroClick, R, false, kStepIntroDone, 8},
        {kStepWaitIntroClick, M, false, kStepIntroDone, 8}, {kStepPlay, L, false, kStepPlay, -1},
        {kStepPlay, R, false, kStepPauseStart, 3},          {kStepPlay, M, false, kStepPauseStart, 3},
        {kStepWaitPromptClick, R, true, kStepResume, 2},    {kStepWaitPromptClick, M, true, kStepResume, 2},
        {kStepWaitPromptClick, M, false, kStepResume, 2},   {kStepWaitPromptClick, L, false, kStepFinish, 8},
        {kStepWaitPromptClick, L, true, kStepBonus, 4},     {kStepWaitBonusClick, L, false, kStepEndPause, 8},
        {kStepWaitBonusClick, R, false, kStepEndPause, 8},  {kStepWaitBonusClick, M, false, kStepEndPause, 8},
        {kStepWaitClosingClick, L, false, kStepLeave, 5},   {kStepWaitClosingClick, R, false, kStepLeave, 5},
        {kStepWaitClosingClick, M, false, kStepLeave, 5},
    };
    StageGame t(StageFolderOptions{.bonusRight = 300});
    t.ToPlay();
    for (int k = 0; k < 20; ++k) t.OpenPoint(k);
    t.Frames(1);  // all points: the bonus is on offer
    for (const Row& r : rows) {
        t.Sc(kStep) = r.step;
        const size_t before = t.Events("effect").size();
        t.Click(r.button, r.shift);
        EXPECT_EQ(t.Step(), r.next) << r.step << " " << int(r.button) << " " << r.shift;
        const auto effects = t.Events("effect");
        ASSERT_EQ(effects.size(), before + (r.sound >= 0)) << r.step << " " << int(r.button);
        if (r.sound >= 0) {
            EXPECT_TRUE(Has(effects.back(), "\"slot\":" + std::to_string(r.sound) + ",")) << r.step;
        }
    }
}

TEST(StageSteps, ClicksOutsideTheWaitingStepsAreIgnored) {
    StageGame t;
    t.Enter(1);
    for (int step :
         std::initializer_list<int>{kStepIntroStart, kStepIntroDone, kStepPauseStart, kStepTypePrompt, kStepFinish,
                                    kStepBonus, kStepEndPause, kStepTypeClosing, kStepClosingCursor, 60}) {
        t.Sc(kStep) = static_cast<int16_t>(step);
        t.Click(MouseButton::Right);
        t.Click(MouseButton::Left, true);
        EXPECT_EQ(t.Step(), step);
    }
    EXPECT_EQ(t.Events("effect").size(), 0u);
    t.Sc(kStep) = 60;  // a step that does not exist does nothing
    t.Frames(3);
    EXPECT_EQ(t.Step(), 60);
}

}  // namespace
}  // namespace kiv
