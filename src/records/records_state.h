#pragma once

#include <array>
#include <cstdint>

#include "data/short_string.h"

namespace kiv {

using RankEntry = ShortString<16>;  // five code characters, six name characters, five time digits

struct RecordsState {
    std::array<RankEntry, 31> RankTable{};  // [1..30], 1 is best; [0] unused
    int8_t StagesOpen = 1;
    ShortString<16> PlayerName;
};

}  // namespace kiv
