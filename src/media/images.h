#pragma once

namespace kiv {
struct Game;

// Loads the parts, icon and mask sheets and touches up the parts sheet. A missing picture
// takes the halt path.
void LoadStartupSheets(Game& g);

}  // namespace kiv
