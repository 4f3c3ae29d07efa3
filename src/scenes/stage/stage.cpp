// The step machine of stage play: introduction, play, pause prompt, bonus picture and end.
#include "scenes/stage/stage.h"

#include "game/game_media.h"
#include "scenes/stage/erasing.h"
#include "scenes/stage/face.h"
#include "scenes/stage/speech.h"
#include "scenes/stage/stage_access.h"

namespace kiv {

namespace {

// Effect slots of the stage's clicks.
constexpr int kSoundResume = 2;
constexpr int kSoundPause = 3;
constexpr int kSoundBonus = 4;
constexpr int kSoundLastClick = 5;
constexpr int kSoundContinue = 8;

// Cursors of the stage's steps.
constexpr int16_t kCursorNormal = kCursorArrow;
constexpr int16_t kCursorIntro = kCursorSpeech;
constexpr int16_t kCursorPrompt = kCursorQuestion;
constexpr int16_t kCursorEnd = kCursorFlag;

constexpr int kIdleLimit = 16;  // frames without erasing before the face calms down
constexpr uint8_t kAllPoints = 20;

void CalmFace(Game& g) { AnimateFace(g, 1, 2, 2); }
void EndFace(Game& g) { AnimateFace(g, 2, 3, 3); }

// Steps 1..5: the character types its introduction while the refill icon blinks.
void IntroStep(Game& g, int step) {
    if (step <= kStepWaitIntroClick) {
        BlinkRefillIcon(g);
        CalmFace(g);
    }
    switch (step) {
        case kStepIntroStart: SetSceneStep(g, kStepTypeIntro); break;
        case kStepTypeIntro:
            if (TypeSpeechStep(g, 1)) SetSceneStep(g, kStepIntroCursor);
            break;
        case kStepIntroCursor:
            SetGameCursor(g, kCursorIntro);
            SetSceneStep(g, kStepWaitIntroClick);
            break;
        case kStepIntroDone:
            // The icon goes; the refill spot stays where it was.
            g.Media.DstRect = g.Play.StrokeRect;
            CopySameRect(g, g.Media.BackBmp, g.Media.StageBackBmp);
            PresentRect(g, g.Media.BackBmp);
            CalmFace(g);
            EraseSpeech(g);
            SetGameCursor(g, kCursorNormal);
            SetSceneStep(g, kStepPlay);
            break;
        default: break;  // step 4 waits for a click
    }
}

// While nothing is erased the face returns to calm after a while.
void IdleRule(Game& g) {
    PlayState& p = g.Play;
    if (p.ScrapeState != 0 || p.FaceMood == 1) return;
    if (++Sc(g, kIdleFrames) > kIdleLimit) {
        p.FaceMood = 1;
        p.FaceEyeRow = 2;
        p.FaceMouthRow = 2;
        Sc(g, kIdleFrames) = 0;
    }
}

// The stage time falls by 2; when it has run out the stage ends, and at four moments the
// still covered check points flash.
void CountDown(Game& g) {
    PlayState& p = g.Play;
    p.StageTime -= 2;
    if (p.StageTime == -2) {
        p.StageTime = 0;
        SetGameCursor(g, kCursorNone);
        if (p.PointsUncovered < kAllPoints) {
            SetSceneStep(g, kStepLeave);
            p.StageOutcome = 2;
        } else {
            CancelSpeech(g);
            SetSceneStep(g, kStepClosingCursor);
        }
    } else if (p.StageTime == 400 || p.StageTime == 300 || p.StageTime == 200 || p.StageTime == 100) {
        ShowHints(g);
    }
}

// A reaction line is typed, then held on screen and erased.
void ReactionSpeech(Game& g) {
    if (Sc(g, kSpeechState) < 0) TypeSpeechStep(g, Sc(g, kSpeechLine));
    if (Sc(g, kSpeechState) > 0 && --Sc(g, kSpeechState) == 0) EraseSpeech(g);
}

// Step 50, in its fixed order.
void PlayFrame(Game& g) {
    CarryOutStroke(g);
    IdleRule(g);
    AnimateFace(g, g.Play.FaceMood, g.Play.FaceEyeRow, g.Play.FaceMouthRow);
    CountCheckPoints(g);
    CountDown(g);
    DrawTimerDigits(g.Glyph, g.Media.PartsBmp, g.Play.StageTime);
    DrawBadge(g);
    ReactionSpeech(g);
}

// Steps 81..86: the pause prompt, then finish or resume. The time stands still.
void PauseStep(Game& g, int step) {
    if (step > kStepPauseStart) CalmFace(g);
    switch (step) {
        case kStepPauseStart:
            CancelSpeech(g);
            CalmFace(g);
            DrawTag(g);
            PresentRect(g, g.Media.BackBmp);
            SetGameCursor(g, g.Shell.CurrentCursor);
            SetSceneStep(g, kStepTypePrompt);
            break;
        case kStepTypePrompt:
            if (TypeSpeechStep(g, 4)) SetSceneStep(g, kStepPromptCursor);
            break;
        case kStepPromptCursor:
            g.P.SetCursor(kCursorPrompt);  // CurrentCursor keeps the cursor to come back to
            SetSceneStep(g, kStepWaitPromptClick);
            break;
        case kStepFinish:
            EraseSpeech(g);
            SetGameCursor(g, kCursorNone);
            SetSceneStep(g, kStepEndPause);
            break;
        case kStepResume:
            EraseSpeech(g);
            SetGameCursor(g, g.Shell.CurrentCursor);
            SetSceneStep(g, kStepPlay);
            break;
        default: break;  // step 84 waits for a click
    }
}

// Steps 90 and 91: the bonus picture over the whole background.
void BonusStep(Game& g, int step) {
    if (step == kStepWaitBonusClick) {
        CalmFace(g);
        return;
    }
    const int cels = StageLayoutOf(g)[kCelsAndCarry] / 10;
    if (cels != 0) LoadCels(Pictures(g), static_cast<uint8_t>(cels));
    SetGameCursor(g, kCursorNone);
    PlaceStageImage(g, "G", 9, g.Media.StageBackBmp);
    CopySameRect(g, g.Media.BackBmp, g.Media.StageBackBmp);
    AnimateFace(g, 3, 2, 2);
    PresentAll(g);
    SetSceneStep(g, kStepWaitBonusClick);
}

// Steps 95..99: a short pause, the closing words, a last click, and the stage is left.
void EndStep(Game& g, int step) {
    switch (step) {
        case kStepEndPause:
            if (SixthFrame(g)) SetSceneStep(g, kStepTypeClosing);
            break;
        case kStepTypeClosing:
            EndFace(g);
            if (TypeSpeechStep(g, g.Play.PointsUncovered >= kAllPoints ? 3 : 2)) SetSceneStep(g, kStepClosingCursor);
            break;
        case kStepClosingCursor:
            EndFace(g);
            SetGameCursor(g, kCursorEnd);
            SetSceneStep(g, kStepWaitClosingClick);
            break;
        case kStepWaitClosingClick: EndFace(g); break;
        case kStepLeave: LeaveStage(g); break;
        default: break;
    }
}

// The step a click leads to, and its sound; kNoClick when the step does not wait for one.
struct ClickOutcome {
    int16_t step;
    int sound;
};
constexpr ClickOutcome kNoClick{-1, -1};

ClickOutcome PromptClick(Game& g, MouseButton button, bool shift) {
    if (button != MouseButton::Left) return {kStepResume, kSoundResume};
    const bool bonus = g.Play.PointsUncovered == kAllPoints && StageLayoutOf(g)[kBonusRight] != 0;
    if (shift && bonus) return {kStepBonus, kSoundBonus};
    return {kStepFinish, kSoundContinue};
}

ClickOutcome ClickOutcomeAt(Game& g, int step, MouseButton button, bool shift) {
    switch (step) {
        case kStepWaitIntroClick: return {kStepIntroDone, kSoundContinue};
        case kStepWaitPromptClick: return PromptClick(g, button, shift);
        case kStepWaitBonusClick: return {kStepEndPause, kSoundContinue};
        case kStepWaitClosingClick: return {kStepLeave, kSoundLastClick};
        default: return kNoClick;
    }
}

}  // namespace

void StageScene(Game& g) {
    const int step = SceneStep(g);
    if (step == kStepSetup)
        SetUpStage(g);
    else if (step >= kStepIntroStart && step <= kStepIntroDone)
        IntroStep(g, step);
    else if (step == kStepPlay)
        PlayFrame(g);
    else if (step >= kStepPauseStart && step <= kStepResume)
        PauseStep(g, step);
    else if (step == kStepBonus || step == kStepWaitBonusClick)
        BonusStep(g, step);
    else if (step >= kStepEndPause && step <= kStepLeave)
        EndStep(g, step);
}

void StageClick(Game& g, MouseButton button, bool shift, int x, int y) {
    const int step = SceneStep(g);
    if (step == kStepPlay) {
        if (button == MouseButton::Left) {
            StrokePress(g, shift, x, y);
        } else {
            ResetPlayFlags(g);
            SetSceneStep(g, kStepPauseStart);
            PlaySoundEffect(Sounds(g), kSoundPause);
        }
        return;
    }
    const ClickOutcome next = ClickOutcomeAt(g, step, button, shift);
    if (next.step < 0) return;
    SetSceneStep(g, next.step);
    PlaySoundEffect(Sounds(g), next.sound);
}

void BlinkRefillIcon(Game& g) {
    g.Media.DstRect = g.Play.StrokeRect;
    int16_t& blink = Sc(g, kIconBlink);
    ++blink;
    if (blink == 3) {
        PresentRect(g, g.Media.StageBackBmp);  // the window shows the background there
    } else if (blink == 6) {
        PresentRect(g, g.Media.BackBmp);
        blink = 0;
    }
}

}  // namespace kiv
