// Strokes, ink, the refill spot, the tag's close spot, the reactions and the assist keys.
#include "scenes/stage/erasing.h"

#include <algorithm>
#include <cstdlib>

#include "game/game_media.h"
#include "media/raster.h"
#include "scenes/stage/face.h"
#include "scenes/stage/speech.h"
#include "scenes/stage/stage_access.h"

namespace kiv {

namespace {

constexpr int16_t kInkFull = 141;
constexpr int16_t kRefillRadius = 35;
constexpr int16_t kTagAreaRadius = 90;  // no erasing anywhere near the tag, shown or not
constexpr int16_t kTagCloseRadius = 10;
constexpr int16_t kZoneRadiusA = 55, kZoneRadiusB = 70, kZoneRadiusC = 80;
constexpr int kStrokeOffset = 12;  // the stroke cell's corner lies up and left of the pointer
constexpr int kStampSize = 40;
constexpr int kSpreadStep = 16;  // the spread strokes stand 16 * f0 pixels apart

// Effect slots of erasing.
constexpr int kSoundStroke = 0;
constexpr int kSoundStrokeRare = 1;  // one stroke in eight
constexpr int kSoundSpot = 2;        // the refill spot and the tag's close spot

// Cursor ids of stage play.
constexpr int16_t kCursorNoInk = kCursorArrow;
constexpr int16_t kCursorInk = kCursorInkPen;

bool InStagePlay(const Game& g) { return g.Shell.SceneNo >= kSceneFirstStage && g.Shell.SceneNo <= kSceneLastStage; }

// Pointer positions come from the window; a captured drag may report any distance outside it.
int16_t StrokeCoord(int v) { return static_cast<int16_t>(std::clamp(v - kStrokeOffset, -32768, 32767)); }

void RequestMood(Game& g, uint8_t mood, uint8_t eyeRow, uint8_t mouthRow) {
    g.Play.FaceMood = mood;
    g.Play.FaceEyeRow = eyeRow;
    g.Play.FaceMouthRow = mouthRow;
}

// How the character answers erasing in a zone: its face, and the pair of lines it may say.
struct ZoneAnswer {
    uint32_t chance;  // one time in `chance`; the touched face otherwise
    uint8_t mood, eyeRow, mouthRow;
    int line;
    StageCounter toggle;
};
constexpr ZoneAnswer kAnswerD{2, 5, 5, 3, 9, kToggleHand};
constexpr ZoneAnswer kAnswerE{2, 6, 5, 3, 7, kToggleFeet};
constexpr ZoneAnswer kAnswerABC{4, 4, 6, 1, 5, kToggleBody};

// A press (no drag yet) also starts the zone's line.
void ZoneReaction(Game& g, const ZoneAnswer& a) {
    if (Random(g.Rand, a.chance) == 0) {
        RequestMood(g, a.mood, a.eyeRow, a.mouthRow);
        if (g.Play.ScrapeState == 0) StartReactionLine(g, a.line, a.toggle);
    } else {
        EscalateMood(g);
    }
}

// The character's reaction to being erased at the hit point: zone D before E before A/B/C.
void React(Game& g, int s) {
    const auto& z = g.Cfg.StageSpots[static_cast<size_t>(s)];  // A, B, C centres; D, E centre and radius
    if (PointerInCircle(g, z[6], z[7], z[8])) {
        ZoneReaction(g, kAnswerD);
    } else if (PointerInCircle(g, z[9], z[10], z[11])) {
        ZoneReaction(g, kAnswerE);
    } else if (PointerInCircle(g, z[0], z[1], kZoneRadiusA) || PointerInCircle(g, z[2], z[3], kZoneRadiusB) ||
               PointerInCircle(g, z[4], z[5], kZoneRadiusC)) {
        ZoneReaction(g, kAnswerABC);
    } else {
        SetMoodTouched(g);
    }
}

// Takes the tag off the screen; the badge is no longer drawn into it.
void CloseTag(Game& g, int s) {
    const auto& w = g.Cfg.StageLayout[static_cast<size_t>(s)];
    g.Play.TagVisible = false;
    PlaySoundEffect(Sounds(g), kSoundSpot);
    g.Media.DstRect = MakeRect(w[kSpeechLeft], w[kSpeechTop] - 25, w[kSpeechLeft] + 68, w[kSpeechTop]);
    CopySameRect(g, g.Media.BackBmp, g.Media.StageBackBmp);
    PresentRect(g, g.Media.BackBmp);
}

// SrcRect := stamp shape r of the sheet.
void SelectStamp(Game& g) {
    const int r = static_cast<int>(Random(g.Rand, 3));
    g.Media.SrcRect = MakeRect(kStampSize * r, 0, kStampSize * r + kStampSize, kStampSize);
}

// One of the two extra stamps of a press's first stroke, composed in place at once.
void SpreadStamp(Game& g, int left, int top) {
    SelectStamp(g);
    g.Media.DstRect = MakeRect(left, top, left + kStampSize, top + kStampSize);
    StampStroke(g);
    g.Media.SrcRect = g.Media.DstRect;
    ComposeRect(g, g.Media.EraseMapBmp, g.Media.StagePicBmp);
}

// A fresh stroke is shown for one frame with the picture and the erase map one pixel lower over
// the background in place: their rows [top, bottom - 1) go to rows [top + 1, bottom).
void ShowShifted(Game& g, int left, int top, int right, int bottom) {
    g.Media.SrcRect = MakeRect(left, top, right, bottom - 1);
    g.Media.DstRect = MakeRect(left, top + 1, right, bottom);
    ComposeRect(g, g.Media.EraseMapBmp, g.Media.StagePicBmp);
}

void CarryOutStamp(Game& g) {
    PlayState& p = g.Play;
    const int x = p.StrokeX, y = p.StrokeY;
    const int b = FaceTableOf(g)[0];  // the stroke spread
    if (b != 0 && p.ScrapeState == 1) {
        SpreadStamp(g, x - kSpreadStep, y + kSpreadStep * b);
        SpreadStamp(g, x + kSpreadStep, y - kSpreadStep * b);
        Sc(g, kInk) = static_cast<int16_t>(Sc(g, kInk) - 4);
    }
    SelectStamp(g);
    g.Media.DstRect = MakeRect(x, y, x + kStampSize, y + kStampSize);
    StampStroke(g);
    p.StrokeRect = g.Media.DstRect;
    ShowShifted(g, x, y, x + kStampSize, y + kStampSize);
    const int k = kSpreadStep * std::abs(b);
    g.Media.DstRect = MakeRect(x - k, y - k, x + kStampSize + k, y + kStampSize + k);
    FinishStroke(g);
    UseInk(g, 2);
}

void CarryOutDab(Game& g) {
    PlayState& p = g.Play;
    const int x = p.StrokeX, y = p.StrokeY;
    g.Media.DstRect = MakeRect(x + 16, y + 14, x + 27, y + 25);
    DabStroke(g);
    p.StrokeRect = g.Media.DstRect;
    ShowShifted(g, x + 16, y + 14, x + 27, y + 25);
    FinishStroke(g);
    UseInk(g, 1);
}

}  // namespace

bool PointerInCircle(Game& g, int16_t cx, int16_t cy, int16_t r) {
    const int16_t dx = static_cast<int16_t>(g.Play.StrokeX + 21 - cx);
    const int16_t dy = static_cast<int16_t>(g.Play.StrokeY + 19 - cy);
    // Each square fits 32 bits; their sum is taken wider so that it cannot wrap.
    const int64_t d2 = int64_t{dx} * dx + int64_t{dy} * dy;
    return d2 < int64_t{r} * r;
}

bool TryStrokeAt(Game& g, int k) {
    const int s = k - 1;
    if (s < 0 || s > 9) return false;
    const auto& w = g.Cfg.StageLayout[static_cast<size_t>(s)];
    PlayState& p = g.Play;
    const bool allowed = Sc(g, kInk) > 0;
    if (PointerInCircle(g, w[kRefillX], w[kRefillY], kRefillRadius)) {
        // The refill works whatever ink is left, and ends a drag.
        Sc(g, kInk) = kInkFull;
        PlaySoundEffect(Sounds(g), kSoundSpot);
        p.ScrapeState = 0;
        SetGameCursor(g, kCursorInk);
        return false;
    }
    if (PointerInCircle(g, p.TagCloseX, p.TagCloseY, kTagAreaRadius)) {
        if (PointerInCircle(g, p.TagCloseX, p.TagCloseY, kTagCloseRadius)) CloseTag(g, s);
        return false;
    }
    if (PointerInCircle(g, w[0], w[1], w[2])) return false;  // the protected circle
    if (allowed) React(g, s);
    return allowed;
}

void CarryOutStroke(Game& g) {
    PlayState& p = g.Play;
    if (p.RedrawLastStroke) {
        g.Media.SrcRect = g.Media.DstRect = p.StrokeRect;
        ComposeRect(g, g.Media.EraseMapBmp, g.Media.StagePicBmp);
        PresentRect(g, g.Media.BackBmp);
        p.RedrawLastStroke = false;
    }
    if (p.PendingStroke == 1) CarryOutStamp(g);
    if (p.PendingStroke == 2) CarryOutDab(g);
}

void StampStroke(Game& g) {
    MediaState& m = g.Media;
    m.StagePicBmp.CopyMode = Rop::SRCAND;
    CopyToSurface(g, m.StagePicBmp, m.StampBmp);
    m.StagePicBmp.CopyMode = Rop::SRCCOPY;
    m.EraseMapBmp.CopyMode = Rop::MERGEPAINT;
    CopyToSurface(g, m.EraseMapBmp, m.StampBmp);
    m.EraseMapBmp.CopyMode = Rop::SRCCOPY;
}

void DabStroke(Game& g) {
    MediaState& m = g.Media;
    const Rect& d = m.DstRect;
    auto paint = [&d](Surface& s, ColorRef c) {
        s.PenColor = c;
        SetBrushColor(s, c);
        Ellipse(s, d.Left + 2, d.Top + 3, d.Right - 2, d.Bottom - 3);
    };
    paint(m.StagePicBmp, 0);
    paint(m.EraseMapBmp, 0x00FFFFFF);
    m.EraseMapBmp.PenColor = 0;
    SetBrushColor(m.EraseMapBmp, 0);
}

void FinishStroke(Game& g) {
    PlayState& p = g.Play;
    PresentRect(g, g.Media.BackBmp);
    p.PendingStroke = 0;
    p.RedrawLastStroke = true;
    PlaySoundEffect(Sounds(g), Random(g.Rand, 8) == 0 ? kSoundStrokeRare : kSoundStroke);
    if (p.ScrapeState == 1) p.ScrapeState = 2;
}

void UseInk(Game& g, uint8_t n) {
    Sc(g, kInk) = static_cast<int16_t>(Sc(g, kInk) - n);
    if (Sc(g, kInk) < 1) SetGameCursor(g, kCursorNoInk);
}

void StrokePress(Game& g, bool shift, int x, int y) {
    PlayState& p = g.Play;
    p.StrokeX = StrokeCoord(x);
    p.StrokeY = StrokeCoord(y);
    if (!TryStrokeAt(g, StageNumber(g))) return;
    p.ScrapeState = 1;
    p.PendingStroke = shift ? 2 : 1;
    // Hidden while the button is held; CurrentCursor keeps the pointer the release brings back.
    g.P.SetCursor(kCursorNone);
}

void StrokeMove(Game& g, bool shift, int x, int y) {
    PlayState& p = g.Play;
    // A drag can outlast its stage (the time runs out while the button is held): only a stage
    // scene's own records are looked at.
    if (p.ScrapeState == 0 || !InStagePlay(g)) return;
    p.StrokeX = StrokeCoord(x);
    p.StrokeY = StrokeCoord(y);
    if (TryStrokeAt(g, StageNumber(g))) p.PendingStroke = shift ? 2 : 1;
}

void StrokeRelease(Game& g) {
    PlayState& p = g.Play;
    if (p.ScrapeState == 0) return;
    p.ScrapeState = 0;
    Sc(g, kIdleFrames) = 0;
    SetGameCursor(g, g.Shell.CurrentCursor);
}

void StageKey(Game& g, uint16_t key) {
    if (SceneStep(g) != kStepPlay) return;
    switch (key) {
        case vk::F4:
            ShowHints(g);
            g.Play.CheatUsed = true;
            break;
        case vk::F5:
            g.Play.PointsUncovered = 20;
            SetGauge(g, 20);
            DrawBadge(g);
            g.Play.CheatUsed = true;
            break;
        case vk::F11: DrawSpotOutlines(g); break;
        default: break;
    }
}

void DrawSpotOutlines(Game& g) {
    const auto& z = g.Cfg.StageSpots[static_cast<size_t>(StageIndex(g))];
    const auto& w = StageLayoutOf(g);
    Surface& back = g.Media.BackBmp;
    SetBrushStyle(back, BrushStyle::Clear);
    DrawCircle(g, z[0], z[1], kZoneRadiusA);
    DrawCircle(g, z[2], z[3], kZoneRadiusB);
    DrawCircle(g, z[4], z[5], kZoneRadiusC);
    DrawCircle(g, z[6], z[7], z[8]);
    DrawCircle(g, z[9], z[10], z[11]);
    DrawCircle(g, g.Play.TagCloseX, g.Play.TagCloseY, kTagAreaRadius);
    DrawCircle(g, w[0], w[1], w[2]);
    DrawCircle(g, w[kRefillX], w[kRefillY], kRefillRadius);
    SetBrushStyle(back, BrushStyle::Solid);
    SetBrushColor(back, 0);
    PresentAll(g);
}

}  // namespace kiv
