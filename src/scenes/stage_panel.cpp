// The tag panel with its badge (gauge and timer digits), the check points and their hints.
#include "scenes/erasing.h"

#include "media/screen.h"
#include "shell/game.h"

namespace kiv {

void ComposeRect(Game& g, const Surface& mask, const Surface& image) {
    CopySameRect(g, g.Media.BackBmp, g.Media.StageBackBmp);
    MaskedDraw(g, g.Media.BackBmp, mask, image);
}

void CountCheckPoints(Game&) {}

void SetGauge(Game& g, uint8_t n) {
    const int d = n == 20 ? -2 : 0;  // a full gauge has a strip of its own
    g.Media.SrcRect = MakeRect(225 - 2 * n, 106 + d, 265 - 2 * n, 108 + d);
    g.Media.DstRect = MakeRect(102, 2, 142, 4);
    CopyWithinSurface(g, g.Media.PartsBmp);
}

void DrawBadge(Game&) {}
void DrawTag(Game&) {}
void ShowHints(Game&) {}

}  // namespace kiv
