#pragma once

namespace kiv {
struct Game;

// Puts the player's name (from the records) in place of the full-width G of every stage text,
// as the texts are read from Kiv.txt: at start-up, and again when they are read anew.
void PutPlayerNameInTexts(Game& g);

}  // namespace kiv
