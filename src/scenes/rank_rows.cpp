#include "scenes/rank_rows.h"

#include "game/game.h"
#include "game/game_media.h"
#include "records/ranking.h"

namespace kiv {

void DrawRankRow(Game& g, int k, int x, int y) {
    if (k < 1 || k > 30) return;
    g.Glyph.TextX = static_cast<int16_t>(x);
    g.Glyph.TextY = static_cast<int16_t>(y);
    DrawText(Glyphs(g), RankRowText(g.Records.RankTable[k], k));
}

}  // namespace kiv
