#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/config.h"

namespace kiv {

struct ConfigResult {
    bool ok = true;
    std::string message;  // for a malformed file: names the file, the line and the token
    std::string warning;  // for a file that ends before its last line: where it stops
};

// What a checking read of Kiv.txt notes besides the tables: every malformed number (the
// reading goes on and takes it as 0), and the line (1-based, counted as an editor does: CR,
// LF and CR LF each end one) that each record and text came from.
struct ConfigNotes {
    struct BadNumber {
        int Line = 0;
        std::string Token;
        std::string Place;  // the record being read, as "StageParams of stage 3"
        std::string Table;  // its table, as "StageParams"
        int Record = -1;    // its 0-based record in that table; -1 for a table of one record
    };
    std::vector<BadNumber> BadNumbers;
    int LoneLineFeeds = 0;      // LFs not after a CR: the game does not end a line there
    int FirstLoneLineFeed = 0;  // the line that such an LF ends
    int PlayerNameLine = 0, PresetNameLine = 0, SoundNumbersLine = 0, TickerLine = 0;
    std::string PlayerNameText, PresetNameText;  // lines 1 and 12 whole, before any cut
    std::array<int, 10> FaceTableLine{}, StageParamsLine{}, StageSpotsLine{};
    std::array<int, 11> StageLayoutLine{};
    std::array<std::array<int, 20>, 10> CheckPointLine{};
    std::array<std::string, 23> MusicWanted{};  // the file each music number names ("" for 0)
    std::array<int, 23> MusicLine{};
    std::array<std::array<int, 11>, 10> StageTextLine{};           // [stage][1..10]
    std::array<std::array<std::string, 11>, 10> StageTextWhole{};  // the lines before the cut to 95
};

// Reads the bytes of Kiv.txt into cfg (which it zeroes first, keeping AppDir). A music number
// names "KvNN.mid", kept only when that file exists in appDir. A token that is not a number
// stops the reading with ok = false; a file that ends early is no error (the values it lacks
// stay 0 and its texts empty), but the warning says where it stops. With notes the reading
// never stops: every malformed number is noted there, and the result stays ok.
ConfigResult ParseConfiguration(std::string_view bytes, const std::string& appDir, Config& cfg,
                                ConfigNotes* notes = nullptr);

// The 32-bit value of a number token as the original runtime's Val reads it: an optional sign,
// then decimal digits or hex digits after "$", "x", "X", "0x" or "0X". False when it is not one.
bool ParseNumberToken(std::string_view token, int32_t& value);

}  // namespace kiv
