#pragma once

// The ranking as the menu and the results scene show it: one row of glyph text per rank.

namespace kiv {
struct Game;

// Draws ranking row k (1..30) with the text cursor starting at (x, y); the run start stays,
// nothing is presented.
void DrawRankRow(Game& g, int k, int x, int y);

}  // namespace kiv
