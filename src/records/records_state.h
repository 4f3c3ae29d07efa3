#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/short_string.h"

namespace kiv {

using RankEntry = ShortString<16>;  // five code characters, six name characters, five time digits

struct RecordsState {
    std::array<RankEntry, 31> RankTable{};  // [1..30], 1 is best; [0] unused
    int8_t StagesOpen = 1;
    ShortString<16> PlayerName;

    std::string SaveError;         // why the last save of the records failed; empty after a good one
    std::string IniDir;            // the folder Kiv.ini is read from and written to (chosen at the first read)
    bool IniInUserFolder = false;  // IniDir is the player's data folder, not the game folder
};

}  // namespace kiv
