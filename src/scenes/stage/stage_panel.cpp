// The tag panel with its badge (gauge and timer digits), the check points and their hints.
#include "scenes/stage/erasing.h"

#include "game/game_media.h"
#include "media/raster.h"
#include "scenes/stage/stage_access.h"

namespace kiv {

namespace {

const Rect kTagSprite{91, 0, 159, 25};  // the tag panel on the parts sheet, 68 x 25

const std::array<Point16, 20>& StagePoints(const Game& g) {
    return g.Cfg.CheckPoints[static_cast<size_t>(StageIndex(g))];
}

}  // namespace

void ComposeRect(Game& g, const Surface& mask, const Surface& image) {
    CopySameRect(g, g.Media.BackBmp, g.Media.StageBackBmp);
    MaskedDraw(g, g.Media.BackBmp, mask, image);
}

void CountCheckPoints(Game& g) {
    int count = 0;
    // Any colour but black is uncovered (a point off the map reads as no colour at all).
    for (const Point16& p : StagePoints(g)) count += GetPixel(g.Media.EraseMapBmp, p.X, p.Y) != 0;
    if (count > g.Play.PointsUncovered) {
        g.Play.PointsUncovered = static_cast<uint8_t>(count);
        SetGauge(g, g.Play.PointsUncovered);
    }
}

void SetGauge(Game& g, uint8_t n) {
    const int d = n == 20 ? -2 : 0;  // a full gauge has a strip of its own
    g.Media.SrcRect = MakeRect(225 - 2 * n, 106 + d, 265 - 2 * n, 108 + d);
    g.Media.DstRect = MakeRect(102, 2, 142, 4);
    CopyWithinSurface(g, g.Media.PartsBmp);
}

void DrawBadge(Game& g) {
    if (!g.Play.TagVisible) return;
    g.Media.SrcRect = g.Play.BadgeSrcRect;
    g.Media.DstRect = g.Play.BadgeDstRect;
    CopyToSurface(g, g.Media.BackBmp, g.Media.PartsBmp);
    PresentRect(g, g.Media.BackBmp);
}

void DrawTag(Game& g) {
    const auto& w = StageLayoutOf(g);
    const int left = w[kSpeechLeft], bottom = w[kSpeechTop];
    g.Media.SrcRect = kTagSprite;
    g.Media.DstRect = MakeRect(left, bottom - kTagSprite.Height(), left + kTagSprite.Width(), bottom);
    ComposeRect(g, g.Media.PartsMaskBmp, g.Media.PartsBmp);
}

void ShowHints(Game& g) {
    Surface& back = g.Media.BackBmp;
    SetBrushStyle(back, BrushStyle::Clear);
    for (const Point16& p : StagePoints(g))
        if (GetPixel(g.Media.EraseMapBmp, p.X, p.Y) == 0) DrawCircle(g, p.X, p.Y, 2);
    SetBrushStyle(back, BrushStyle::Solid);
    SetBrushColor(back, 0);
    PresentAll(g);
}

}  // namespace kiv
