#include "scenes/opening/opening.h"

#include "game/game.h"
#include "game/game_media.h"
#include "game/scene_control.h"

namespace kiv {

using namespace opening;

namespace {

// The logo on the parts sheet and on the screen; rings and disc are centred on it.
constexpr int kSheetLogoX = 167;
constexpr int kScreenLogoX = 271;
constexpr int kScreenLogoY = 195;
constexpr int kLogoWidth = 98;
constexpr int kLogoHeight = 90;
constexpr int kCentreX = 316;
constexpr int kCentreY = 241;

constexpr int kLastLetterPhase = 2;
constexpr int kLastRingPhase = 9;
constexpr int kLeavePhase = 12;  // a click asked to leave
constexpr int kLastDiscPhase = 13;
constexpr int kRingWrap = 65;
constexpr int kDiscDone = 70;
constexpr int kClickSound = 7;
constexpr uint8_t kMenuInterval = 20;
constexpr uint8_t kEndOfRow = 255;

void LetterFrame(Game& g) {
    int16_t& s = Sc(g, kGrowth);
    int16_t& i = Sc(g, kLetter);
    int16_t& p = Sc(g, kPhase);
    const auto& row = g.Cfg.OpeningScript[static_cast<size_t>(p)];
    if (i < 0 || i > 9) i = 0;
    // Boundaries are signed bytes; 255 (as a byte) after the last one ends the row.
    const int left = static_cast<int8_t>(row[static_cast<size_t>(i)]);       // NOLINT(bugprone-signed-char-misuse)
    const int right = static_cast<int8_t>(row[static_cast<size_t>(i) + 1]);  // NOLINT(bugprone-signed-char-misuse)
    const int top = 32 * p;

    g.Media.SrcRect = MakeRect(kSheetLogoX + left, top, kSheetLogoX + right, top + 26);
    g.Media.DstRect = MakeRect(kScreenLogoX + left, top + 205 - 2 * s, kScreenLogoX + right, top + 211 + 2 * s);
    CopyToSurface(g, g.Media.BackBmp, g.Media.PartsBmp);

    if (++s > 5) {
        s = 0;
        ++i;
        if (i > 9 || row[static_cast<size_t>(i) + 1] == kEndOfRow) {
            i = 0;
            ++p;
        }
    }
    PresentRect(g, g.Media.BackBmp);
}

void DiscFrame(Game& g) {
    LogoPulse(g);
    int16_t& d = Sc(g, kDisc);
    DrawCircle(g, kCentreX, kCentreY, d);
    d = static_cast<int16_t>(d + 2);
    if (d > kDiscDone) {
        const bool leaving = Sc(g, kPhase) > kLeavePhase - 1;
        if (leaving) SetFrameInterval(g, kMenuInterval);
        // Without a click the opening starts its letters again over the blackened logo.
        ChangeScene(g, leaving ? kSceneMenu : kSceneOpening);
    }
    PresentRect(g, g.Media.BackBmp);
}

}  // namespace

void OpeningFrame(Game& g) {
    const int p = Sc(g, kPhase);
    if (p >= 0 && p <= kLastLetterPhase) {
        LetterFrame(g);
    } else if (p > kLastLetterPhase && p <= kLastRingPhase) {
        LogoPulse(g);
        PresentRect(g, g.Media.BackBmp);
    } else if (p > kLastRingPhase && p <= kLastDiscPhase) {
        DiscFrame(g);
    }
}

void LogoPulse(Game& g) {
    Surface& back = g.Media.BackBmp;
    g.Media.SrcRect = MakeRect(kSheetLogoX, 0, kSheetLogoX + kLogoWidth, kLogoHeight);
    g.Media.DstRect = MakeRect(kScreenLogoX, kScreenLogoY, kScreenLogoX + kLogoWidth, kScreenLogoY + kLogoHeight);
    CopyToSurface(g, back, g.Media.PartsBmp);

    SetBrushStyle(back, BrushStyle::Clear);
    DrawCircle(g, kCentreX, kCentreY, Sc(g, kRingA));
    DrawCircle(g, kCentreX, kCentreY, Sc(g, kRingB));
    int16_t& first = Sc(g, kRingA);
    if (++first > kRingWrap) {
        first = 0;
        ++Sc(g, kPhase);
    }
    int16_t& second = Sc(g, kRingB);
    second = static_cast<int16_t>(second + 3);
    if (second > kRingWrap) second = 0;
    SetBrushStyle(back, BrushStyle::Solid);
    SetBrushColor(back, 0);
}

void OpeningClick(Game& g, MouseButton, bool, int, int) {
    PlaySoundEffect(Sounds(g), kClickSound);
    Sc(g, kPhase) = kLeavePhase;
    SetGameCursor(g, kCursorNone);
}

}  // namespace kiv
