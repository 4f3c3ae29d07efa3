#pragma once

namespace kiv {
struct Game;

// Reads Kiv.ini from the game folder: open stages, the ranking and the player's name.
void LoadRecords(Game& g);
// Writes Kiv.ini; nothing when the program is halting after a fatal missing file.
void SaveRecords(Game& g);

}  // namespace kiv
