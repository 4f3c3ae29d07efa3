#include "scenes/menu/menu.h"

#include <string_view>

#include "game/game.h"
#include "game/game_media.h"
#include "game/records_settings.h"
#include "game/scene_control.h"
#include "media/raster.h"
#include "scenes/menu/menu_tables.h"
#include "scenes/rank_rows.h"

namespace kiv {

using namespace menu;

namespace {

constexpr int kSlideSound = 3;
constexpr int kConfirmSound = 4;
constexpr int kBackSound = 7;
constexpr int kJumpSound = 8;
constexpr uint8_t kWaitInterval = 40;
constexpr int kSlideDistance = 5;  // pixels a moving element lies out from its place
constexpr int kRankRows = 30;
constexpr int kRankRowX = 9;
constexpr int kBlinkCycle = 30;
constexpr int kFlashDone = 20;  // the confirm flash ends when [0] comes round to it
constexpr int kRingFrames = 30;
constexpr int kRingCycleEnd = 80;
constexpr int kRingsFirstWait = 50;
constexpr Rect kEmblemArea{238, 159, 400, 321};

constexpr std::string_view kMemoriesText = "memories clear";
constexpr std::string_view kRankingText = "ranking clear";
constexpr std::string_view kMemoriesBlank = "              ";  // as wide as its text
constexpr std::string_view kRankingBlank = "             ";

int RankRowY(int k) { return 12 * k + 51; }

// The marker place of an item, 25 x 25.
Rect MarkerRect(int i) {
    const Point16 p = kMarkerPlaces[static_cast<size_t>(i)];
    return MakeRect(p.X, p.Y, p.X + kMarkerSize, p.Y + kMarkerSize);
}

// Writes text in glyph text beside an item's marker and shows it.
void WriteBesideMarker(Game& g, int item, std::string_view text) {
    const Point16 p = kMarkerPlaces[static_cast<size_t>(item - 1)];
    SetTextPos(g.Glyph, p.X + 40, p.Y + 9);
    DrawText(Glyphs(g), text);
    PresentTextRun(Glyphs(g));
}

bool IsStage(int c) { return c >= 1 && c <= kItemLastStage; }
bool IsButton(int c) { return c >= kItemChallenge && c <= kItemHelp; }

// The sub-counter counts six frames, then the chosen item moves on by delta.
void AdvanceItem(Game& g, int delta) {
    if (SixthFrame(g)) Sc(g, kItem) = static_cast<int16_t>(Sc(g, kItem) + delta);
}

// Steps 0..10: the slices, then the buttons, slide in from five pixels out.
void BuildUpStep(Game& g, int step) {
    if (step < kStepFirstButton)
        DrawSlice(g, step, kSlideDistance, +1);
    else
        DrawButton(g, step - kStepFirstButton, kSlideDistance, +1);
    AdvanceStep(g);
}

void ShowMenuStep(Game& g) {
    SetFrameInterval(g, kWaitInterval);
    DrawButton(g, kTitlePanel, 0, 0);
    for (int k = 1; k <= kRankRows; ++k) DrawRankRow(g, k, kRankRowX, RankRowY(k));
    PresentAll(g);
    SetGameCursor(g, kCursorArrow);
    SetSceneStep(g, kStepWait);
    Sc(g, kRingFrame) = kRingsFirstWait;
}

// Step 13: the chosen element moves out; "memories clear" moves the slices of stages 2 to 8
// out one after another.
void SelectStep(Game& g) {
    const int c = Sc(g, kItem);
    if (IsStage(c)) {
        DrawSlice(g, c - 1, 0, -1);
        PulseRings(g);
        AdvanceStep(g);
    } else if (IsButton(c)) {
        DrawButton(g, c - kItemChallenge, 0, -1);
        PulseRings(g);
        AdvanceStep(g);
    } else if (c >= kItemMemories && c < kItemMemoriesLast) {
        DrawSlice(g, c - 11, 0, -1);
        PulseRings(g);
        AdvanceItem(g, +1);
    } else if (c == kItemMemoriesLast) {
        DrawSlice(g, 7, 0, -1);
        PulseRings(g);
        AdvanceStep(g);
        if (SceneStep(g) == kStepWaitConfirm) WriteBesideMarker(g, kItemMemoriesLast, kMemoriesText);
    } else if (c == kItemRanking) {
        PulseRings(g);
        SetSceneStep(g, kStepWaitConfirm);
        PlaySoundEffect(Sounds(g), kSlideSound);
        WriteBesideMarker(g, kItemRanking, kRankingText);
    }
}

// Step 16: the chosen element moves back in; after "memories clear" the slices of stages 8 to
// 2 come back, closed if the reset closed them.
void CancelBackStep(Game& g) {
    const int c = Sc(g, kItem);
    if (IsStage(c)) {
        DrawSlice(g, c - 1, kSlideDistance, +1);
        PulseRings(g);
        AdvanceStep(g);
    } else if (IsButton(c)) {
        DrawButton(g, c - kItemChallenge, kSlideDistance, +1);
        PulseRings(g);
        AdvanceStep(g);
    } else if (c == kItemMemories) {
        DrawSlice(g, 1, kSlideDistance, +1);
        PulseRings(g);
        AdvanceStep(g);
        if (SceneStep(g) == kStepCancelDone) WriteBesideMarker(g, kItemMemoriesLast, kMemoriesBlank);
    } else if (c > kItemMemories && c <= kItemMemoriesLast) {
        DrawSlice(g, c - 11, kSlideDistance, +1);
        PulseRings(g);
        AdvanceItem(g, -1);
    } else if (c == kItemRanking) {
        PulseRings(g);
        SetSceneStep(g, kStepCancelDone);
        PlaySoundEffect(Sounds(g), kSlideSound);
        WriteBesideMarker(g, kItemRanking, kRankingBlank);
    }
}

// One frame of "ranking clear": rows 1..30 shift down a pixel one by one, then rows 30..1 are
// reset to their presets and drawn back in place. The records are saved once it is done.
void RankingResetFrame(Game& g) {
    PulseRings(g);
    PlaySoundEffect(Sounds(g), kSlideSound);
    int16_t& r = Sc(g, kRankRow);
    const int d = r < kRankRows ? r + 1 : 2 * kRankRows - r;
    SetTextPos(g.Glyph, kRankRowX, RankRowY(d));
    if (r < kRankRows) {
        DrawRankRow(g, d, kRankRowX, RankRowY(d) + 1);
    } else {
        g.Records.RankTable[static_cast<size_t>(d)] = PresetRankEntry(g.Cfg.PresetRankName.View(), d);
        DrawRankRow(g, d, kRankRowX, RankRowY(d));
    }
    PresentTextRun(Glyphs(g));
    if (++r > 2 * kRankRows - 1) {
        r = 0;
        SetSceneStep(g, kStepCancel);
        SaveRecords(g.Records, RecordsSettingsOf(g), g.P);
    }
}

// Step 20: the confirmed item is carried out.
void CarryOutStep(Game& g) {
    const int c = Sc(g, kItem);
    if (IsStage(c)) {
        // A stage not yet open cannot be entered: the choice is undone.
        if (g.Records.StagesOpen < c)
            SetSceneStep(g, kStepCancel);
        else
            StartStage(g, static_cast<uint8_t>(c + 1), false);
    } else if (c == kItemChallenge) {
        StartStage(g, kSceneFirstStage, true);
    } else if (c == kItemEnd) {
        CloseForm(g);
    } else if (c == kItemHelp) {
        PulseRings(g);
        TickerStep(g);
    } else if (c == kItemMemoriesLast) {
        PulseRings(g);
        g.Records.StagesOpen = 1;
        SetSceneStep(g, kStepCancel);
        SaveRecords(g.Records, RecordsSettingsOf(g), g.P);
    } else if (c == kItemRanking) {
        RankingResetFrame(g);
    }
}

// The item a left press chooses while the menu waits, or 0.
int ItemAt(int x, int y) {
    for (const ItemHit& hit : kItemHits)
        if (hit.Box.Contains(x, y)) return hit.Item;
    return 0;
}

void WaitClick(Game& g, MouseButton button, int x, int y) {
    if (button == MouseButton::Left) {
        if (int c = ItemAt(x, y)) ChooseMenuItem(g, c);
    } else if (kRankingBox.Contains(x, y)) {
        ChooseMenuItem(g, kItemRanking);
    } else if (kEmblemCentreBox.Contains(x, y)) {
        ChooseMenuItem(g, kItemMemories);
    } else {
        ReturnToOpening(g);
    }
}

}  // namespace

void StartStage(Game& g, uint8_t scene, bool challenge) {
    ClearSurface(g, g.Media.BackBmp);
    g.Play.ChallengeMode = challenge;
    g.Play.CheatUsed = false;
    ChangeScene(g, scene);
}

void StartStageDirectly(Game& g, int n) {
    StartStage(g, static_cast<uint8_t>(kSceneFirstStage + n - 1), false);
    g.Play.OpenNoStage = true;
}

void MenuScene(Game& g) {
    const int step = SceneStep(g);
    if (step >= kStepFirstSlice && step < kStepShowMenu) {
        BuildUpStep(g, step);
        return;
    }
    const int c = Sc(g, kItem);
    switch (step) {
        case kStepShowMenu: ShowMenuStep(g); break;
        case kStepWait: PulseRings(g); break;
        case kStepSelect: SelectStep(g); break;
        case kStepWaitConfirm:
            PulseRings(g);
            BlinkItemMarker(g, 0, c - 1);
            break;
        case kStepCancel:
            PulseRings(g);
            Sc(g, kSubFrame) = kBlinkCycle;  // the marker's counter comes round and it hides
            BlinkItemMarker(g, 0, c - 1);
            SetSceneStep(g, kStepCancelBack);
            break;
        case kStepCancelBack: CancelBackStep(g); break;
        case kStepCancelDone:
            PulseRings(g);
            Sc(g, kItem) = 0;
            SetSceneStep(g, kStepWait);
            SetGameCursor(g, kCursorArrow);
            break;
        case kStepConfirm:
            PulseRings(g);
            PlaySoundEffect(Sounds(g), kConfirmSound);
            Sc(g, kSubFrame) = 23;
            BlinkItemMarker(g, 1, c - 1);
            SetSceneStep(g, kStepConfirmFlash);
            break;
        case kStepConfirmFlash:
            PulseRings(g);
            BlinkItemMarker(g, 1, c - 1);
            if (Sc(g, kSubFrame) == kFlashDone) SetSceneStep(g, kStepCarryOut);
            break;
        case kStepCarryOut: CarryOutStep(g); break;
        default: break;
    }
}

void MenuClick(Game& g, MouseButton button, bool, int x, int y) {
    const bool left = button == MouseButton::Left;
    switch (SceneStep(g)) {
        case kStepWait: WaitClick(g, button, x, y); break;
        case kStepWaitConfirm: SetSceneStep(g, left ? kStepConfirm : kStepCancel); break;
        case kStepCarryOut:
            if (Sc(g, kItem) != kItemHelp) break;
            if (left) {
                PlaySoundEffect(Sounds(g), kJumpSound);
                JumpTicker(g, 8);
            } else {
                StopTicker(g);
            }
            break;
        default: break;
    }
}

void DrawSlice(Game& g, int a, int b, int c) {
    if (a < 0 || a >= static_cast<int>(kSlices.size())) return;
    const SliceSpec& s = kSlices[static_cast<size_t>(a)];
    auto place = [&s](int k) {
        return MakeRect(s.Left + k * s.Dx, s.Top + k * s.Dy, s.Right + k * s.Dx, s.Top + kSliceHeight + k * s.Dy);
    };
    MediaState& m = g.Media;
    Surface& back = m.BackBmp;
    const int sub = Sc(g, kSubFrame);
    m.SrcRect = MakeRect(s.SrcLeft, 0, s.SrcRight, kSliceHeight);
    if (sub == 0) {
        PlaySoundEffect(Sounds(g), kSlideSound);
    } else {
        // The mask sheet is black on the slice's shape: its last place turns black.
        m.DstRect = place((b - sub + 1) * c);
        back.CopyMode = Rop::SRCAND;
        CopyToSurface(g, back, m.IconMaskBmp);
    }
    m.DstRect = place((b - sub) * c);
    back.CopyMode = Rop::SRCPAINT;
    CopyToSurface(g, back, a < g.Records.StagesOpen ? m.IconBmp : m.IconOffBmp);
    back.CopyMode = Rop::SRCCOPY;
    PresentRect(g, back);
}

void DrawButton(Game& g, int a, int b, int c) {
    if (a < 0 || a >= static_cast<int>(kButtons.size())) return;
    if (Sc(g, kSubFrame) == 0) PlaySoundEffect(Sounds(g), kSlideSound);
    const ButtonSpec& bt = kButtons[static_cast<size_t>(a)];
    const int k = (b - Sc(g, kSubFrame)) * c;
    MediaState& m = g.Media;
    m.SrcRect = bt.Src;
    m.DstRect =
        MakeRect(bt.Dst.Left + k * bt.Dx, bt.Dst.Top + k * bt.Dy, bt.Dst.Right + k * bt.Dx, bt.Dst.Bottom + k * bt.Dy);
    CopyToSurface(g, m.BackBmp, m.PartsBmp);
    PresentRect(g, m.BackBmp);
}

void PulseRings(Game& g) {
    int16_t& ring = Sc(g, kRingFrame);
    if (ring < kRingFrames) {
        // The rings go onto a copy of the emblem in WorkBmp, so BackBmp never holds them.
        const int n = ring;
        MediaState& m = g.Media;
        Surface& work = m.WorkBmp;
        m.DstRect = kEmblemArea;
        CopySameRect(g, work, m.BackBmp);
        SetBrushStyle(work, BrushStyle::Clear);
        Ellipse(work, 315 - 3 * n, 236 - 3 * n, 244 + 3 * n, 323 + 3 * n);
        if (5 * n < 90) Ellipse(work, 313 - 5 * n, 234 - 5 * n, 246 + 5 * n, 325 + 5 * n);
        SetBrushStyle(work, BrushStyle::Solid);
        SetBrushColor(work, 0);
        PresentRect(g, work);
    }
    if (++ring > kRingCycleEnd) ring = 0;
}

void BlinkItemMarker(Game& g, int kind, int i) {
    int16_t& f = Sc(g, kSubFrame);
    if (++f >= kBlinkCycle) f = 0;
    if (i < 0 || i >= static_cast<int>(kMarkerPlaces.size())) return;
    MediaState& m = g.Media;
    if (f == 1 || f == 25 || f == 27 || f == 29) {
        // A stage that is not open shows its marker from the mask sheet: the closed look.
        const bool closed = i < kItemLastStage && i >= g.Records.StagesOpen;
        m.SrcRect = MakeRect(27 * kind, 0, 27 * kind + kMarkerSize, kMarkerSize);
        m.DstRect = MarkerRect(i);
        CopyToSurface(g, m.WorkBmp, closed ? m.PartsMaskBmp : m.PartsBmp);
        PresentRect(g, m.WorkBmp);
    } else if (f == 0 || f == 24 || f == 26 || f == 28) {
        m.DstRect = MarkerRect(i);
        PresentRect(g, m.BackBmp);
    }
}

void DrawMenuPiece(Game& g, int k) {
    if (k < 0 || k >= static_cast<int>(kPieces.size())) return;
    MediaState& m = g.Media;
    m.SrcRect = kPieces[static_cast<size_t>(k)].Src;
    m.DstRect = kPieces[static_cast<size_t>(k)].Dst;
    CopyToSurface(g, m.BackBmp, m.PartsBmp);
    PresentRect(g, m.BackBmp);
}

void ChooseMenuItem(Game& g, int c) {
    SetGameCursor(g, kCursorNone);
    Sc(g, kItem) = static_cast<int16_t>(c);
    SetSceneStep(g, kStepSelect);
}

void ReturnToOpening(Game& g) {
    PlaySoundEffect(Sounds(g), kBackSound);
    ClearSurface(g, g.Media.BackBmp);
    ChangeScene(g, kSceneOpening);
}

}  // namespace kiv
