#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/short_string.h"
#include "platform/geometry.h"

namespace kiv {

using RankEntry = ShortString<16>;  // five code characters, six name characters, five time digits

struct RecordsState {
    std::array<RankEntry, 31> RankTable{};  // [1..30], 1 is best; [0] unused
    int8_t StagesOpen = 1;
    ShortString<16> PlayerName;

    // Glyph text cursor: TextX is the left edge of the next cell; a cell covers rows
    // TextY - 1 .. TextY + 6. TextStartX/Y mark where the current run of text began.
    int16_t TextX = 0;
    int16_t TextY = 0;
    int16_t TextStartX = 0;
    int16_t TextStartY = 0;
    ShortString<255> MessageText;  // what the typewriter reveals and CenterMessage centres

    // The closing scenes: where the ending's two insets stand on the screen, and the name being
    // entered for a ranked result.
    Rect EndRectA;
    Rect EndRectB;
    ShortString<6> EnteredName;

    std::string SaveError;         // why the last save of the records failed; empty after a good one
    std::string IniDir;            // the folder Kiv.ini is read from and written to (chosen at the first read)
    bool IniInUserFolder = false;  // IniDir is the player's data folder, not the game folder
};

}  // namespace kiv
