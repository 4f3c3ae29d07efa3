#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/records_state.h"

namespace kiv {
struct Game;

// Reads Kiv.ini from the game folder: open stages, the ranking and the player's name. A missing
// or unreadable file, section or key gives the defaults (1, the presets, DefaultPlayerName).
void LoadRecords(Game& g);
// Writes Stage and Rank01..Rank30 to Kiv.ini through a temporary file renamed over the old one,
// keeping every other line of the file where it stood; nothing when the program is halting
// after a fatal missing file. A Kiv.ini that is a link is written where it points. A failed
// write leaves the old file whole, is reported on stderr and in the trace, and leaves its
// reason in Records.SaveError. Returns false when the write failed.
bool SaveRecords(Game& g);

// What LoadRecords reads, from the bytes of an INI file (pure, for the store and its tests).
struct StoredRecords {
    int8_t StagesOpen = 1;
    std::array<RankEntry, 31> RankTable{};
    ShortString<16> PlayerName;
};
// presets[k] is the default of rank k (1..30); defaultName that of "MyName".
StoredRecords ParseRecordsIni(std::string_view bytes, const std::array<RankEntry, 31>& presets,
                              std::string_view defaultName);
// The file after writing Stage and the thirty ranks into existing (which may be empty): keys
// replaced in place, new ones after the last key of the section, every other line (comments,
// lines without '=', blank lines, other sections) kept where it stood; CR LF line ends.
std::string UpdateRecordsIni(std::string_view existing, int8_t stagesOpen, const std::array<RankEntry, 31>& rankTable);

// The integer of an INI value as the profile reader takes it: decimal or hexadecimal ("$",
// "x" or "0x" prefix); false when it is neither.
bool IniInteger(std::string_view value, int32_t& out);

}  // namespace kiv
