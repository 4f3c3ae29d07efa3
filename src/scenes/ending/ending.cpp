#include "scenes/ending/ending.h"

#include "data/random.h"
#include "data/strings.h"
#include "game/game.h"
#include "game/game_media.h"
#include "game/scene_control.h"
#include "scenes/typewriter.h"

namespace kiv {

using namespace ending;

namespace {

constexpr uint8_t kTypingInterval = 30;   // ms a frame while the texts are typed
constexpr uint8_t kPictureInterval = 38;  // the waiting picture
constexpr uint8_t kFlickerInterval = 25;  // the last flicker after the press
constexpr int kEndingMusic = 0;
constexpr int kPictureMusic = 22;
constexpr int kMessageY = 200;
constexpr int16_t kInsetAShows = 15;  // inset A first shows 15 frames into the waiting picture
constexpr int16_t kFinalFlickerFrames = 70;
constexpr int kPictureCursor = kCursorFlag;

// Record 10 of StageLayout places the insets: the used part of End2 (f0, f1), inset A on the
// screen (f2..f5), the used part of End3 (f6, f7), inset B on the screen (f8..f11).
constexpr size_t kInsetRecord = 10;

// One inset of End2 or End3 drawn into WorkBmp: the source's top-left w x h part, stretched
// into the screen rectangle when the sizes differ.
void DrawInset(Game& g, const Surface& picture, size_t field, Rect& screenRect) {
    const auto& f = g.Cfg.StageLayout[kInsetRecord];
    g.Media.SrcRect = MakeRect(0, 0, f[field], f[field + 1]);
    screenRect = MakeRect(f[field + 2], f[field + 3], f[field + 4], f[field + 5]);
    g.Media.DstRect = screenRect;
    CopyToSurface(g, g.Media.WorkBmp, picture);
}

// End1 into WorkBmp with both insets drawn in; the message to type is centred.
void LoadPictures(Game& g) {
    PlayMusic(Sounds(g), kEndingMusic);
    auto& cels = g.Media.CelBmps;
    for (int i = 1; i <= 3; ++i) LoadImage(Pictures(g), "End" + ZeroPad(1, i), cels[static_cast<size_t>(i - 1)]);
    g.Media.DstRect = g.Media.FullRect;
    CopySameRect(g, g.Media.WorkBmp, cels[0]);
    DrawInset(g, cels[1], 0, g.Closing.EndRectA);
    DrawInset(g, cels[2], 6, g.Closing.EndRectB);
    g.Glyph.MessageText = "thank you for your playing";
    CenterMessage(g.Glyph, kMessageY);
}

// The plain picture replaces the message; the insets start flickering over it.
void ShowPicture(Game& g) {
    PlayMusic(Sounds(g), kPictureMusic);
    g.Media.DstRect = g.Media.FullRect;
    CopySameRect(g, g.Media.BackBmp, g.Media.CelBmps[0]);
    PresentAll(g);
    SetFrameInterval(g, kPictureInterval);
    NewBlinkGap(g);
    SetGameCursor(g, kPictureCursor);
}

// Inset B follows the rhythm: after each flash it stays hidden for the entry's frames.
void FollowRhythm(Game& g) {
    int16_t& index = Sc(g, kRhythmIndex);
    if (index < 0 || index >= static_cast<int16_t>(kBlinkRhythm.size())) index = 0;
    if (Sc(g, kInsetBPhase) > kBlinkRhythm[static_cast<size_t>(index)]) {
        Sc(g, kInsetBPhase) = 0;
        if (++index >= static_cast<int16_t>(kBlinkRhythm.size())) index = 0;
    }
}

// After the press inset B flashes every other frame for 71 frames.
void FinalFlicker(Game& g) {
    AnimateEnding(g);
    if (Sc(g, kInsetBPhase) > 1) Sc(g, kInsetBPhase) = 0;
    if (++Sc(g, kSubFrame) > kFinalFlickerFrames) {
        Sc(g, kSubFrame) = 0;
        SetSceneStep(g, kStepClearPicture);
    }
}

void Start(Game& g) {
    ClearSurface(g, g.Media.BackBmp);
    SetFrameInterval(g, kTypingInterval);
    switch (g.Play.StageOutcome) {
        case 0: SetSceneStep(g, kStepLoadPictures); break;
        case 2: SetSceneStep(g, kStepTimeOver); break;
        default: SetSceneStep(g, kStepLeave); break;  // the stage was not cleared: nothing to show
    }
}

void Leave(Game& g) { ChangeScene(g, kSceneResults); }

}  // namespace

void EndingScene(Game& g) {
    switch (SceneStep(g)) {
        case kStepStart: Start(g); break;
        case kStepLoadPictures:
            LoadPictures(g);
            SetSceneStep(g, kStepBlinkBeforeThanks);
            break;
        case kStepBlinkBeforeThanks:
            if (BlinkWait(g, 8)) SetSceneStep(g, kStepTypeThanks);
            break;
        case kStepTypeThanks:
            if (TypeMessageStep(g)) SetSceneStep(g, kStepBlinkAfterThanks);
            break;
        case kStepBlinkAfterThanks:
            if (BlinkWait(g, 18)) SetSceneStep(g, kStepShowPicture);
            break;
        case kStepShowPicture:
            ShowPicture(g);
            SetSceneStep(g, kStepWaitClick);
            break;
        case kStepWaitClick:
            AnimateEnding(g);
            FollowRhythm(g);
            break;
        case kStepClicked:
            SetGameCursor(g, kCursorNone);
            SetFrameInterval(g, kFlickerInterval);
            SetSceneStep(g, kStepFinalFlicker);
            break;
        case kStepFinalFlicker: FinalFlicker(g); break;
        case kStepClearPicture:
        case kStepClearTimeOver:
            ClearSurface(g, g.Media.BackBmp);
            SetSceneStep(g, kStepLeave);
            break;
        case kStepTimeOver:
            PlayMusic(Sounds(g), kEndingMusic);
            g.Glyph.MessageText = "time over";
            CenterMessage(g.Glyph, kMessageY);
            SetSceneStep(g, kStepBlinkBeforeTimeOver);
            break;
        case kStepBlinkBeforeTimeOver:
            if (BlinkWait(g, 4)) SetSceneStep(g, kStepTypeTimeOver);
            break;
        case kStepTypeTimeOver:
            if (TypeMessageStep(g)) SetSceneStep(g, kStepBlinkAfterTimeOver);
            break;
        case kStepBlinkAfterTimeOver:
            if (BlinkWait(g, 18)) SetSceneStep(g, kStepClearTimeOver);
            break;
        case kStepLeave: Leave(g); break;
        default: break;
    }
}

void EndingClick(Game& g, MouseButton, bool, int, int) {
    if (SceneStep(g) == kStepWaitClick) SetSceneStep(g, kStepClicked);
}

void AnimateEnding(Game& g) {
    MediaState& m = g.Media;
    const int16_t gap = Sc(g, kInsetAGap);
    int16_t& a = Sc(g, kInsetAPhase);
    m.DstRect = g.Closing.EndRectA;
    if (a == kInsetAShows) PresentRect(g, m.WorkBmp);
    if (a == gap + kInsetAShows) PresentRect(g, m.BackBmp);
    if (++a > 2 * gap) {
        a = 0;
        NewBlinkGap(g);
        // Now and then inset B starts its rhythm again.
        if (Random(g.Rand, 2) == 0) Sc(g, kRhythmIndex) = 0;
    }

    int16_t& b = Sc(g, kInsetBPhase);
    m.DstRect = g.Closing.EndRectB;
    if (b == 0) PresentRect(g, m.WorkBmp);
    if (b == 1) PresentRect(g, m.BackBmp);
    ++b;
}

void NewBlinkGap(Game& g) { Sc(g, kInsetAGap) = static_cast<int16_t>(46 + Random(g.Rand, 14)); }

}  // namespace kiv
