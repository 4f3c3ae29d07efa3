#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/records_state.h"

namespace kiv {
class Platform;

// What the store takes from the rest of the game, gathered by the caller for each call.
struct RecordsSettings {
    std::string GameDir;            // the game folder (the configuration's AppDir), ending in '/'
    bool SharedGameFolder = false;  // the installed demo, which belongs to every user: never written
    std::string PresetRankName;     // the name part of the preset ranks
    std::string DefaultPlayerName;  // the player's name when Kiv.ini has none
    bool Halting = false;           // the program is closing after a fatal error: nothing is saved
};

// Reads Kiv.ini: open stages, the ranking and the player's name. A missing or unreadable file,
// section or key gives the defaults (1, the presets, DefaultPlayerName). The folder it is kept
// in is chosen at the first read (see records_location.h); a Kiv.ini of the game folder that
// links to a file that is not a records file (or to one in a folder that cannot be written) is
// neither read nor written: the records are kept in the player's folder, and stderr says so
// once. Reports the file in the trace's "records" event.
void LoadRecords(RecordsState& records, const RecordsSettings& settings, Platform& platform);

// Writes Stage and Rank01..Rank30 to Kiv.ini through a temporary file renamed over the old one,
// keeping every other line of the file where it stood; nothing when halting. A Kiv.ini that is
// a link to a records file is written where it points (a player's own link into a synchronised
// folder); a link to anything else is never written through. A game folder that cannot be
// written sends the records to the player's folder. A failed write leaves the old file whole,
// is reported on stderr and in the trace, and leaves its reason in SaveError. Returns false
// when the write failed.
bool SaveRecords(RecordsState& records, const RecordsSettings& settings, Platform& platform);

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

// True when bytes read as a records file: they have a [Kiv] section (in any letter case).
bool IsRecordsText(std::string_view bytes);

// The integer of an INI value as the profile reader takes it: decimal or hexadecimal ("$",
// "x" or "0x" prefix); false when it is neither.
bool IniInteger(std::string_view value, int32_t& out);

}  // namespace kiv
