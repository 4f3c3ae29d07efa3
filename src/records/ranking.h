#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "records/records_state.h"

namespace kiv {

// The preset of rank k (1..30): "*****" + presetRankName + five digits of 3000 - 50k.
RankEntry PresetRankEntry(std::string_view presetRankName, int k);

// The value an entry ranks by: the number "1" + characters 12..16 minus 100000 (a short or
// empty time field ranks low: "" is -99999); a time field holding anything but digits ranks
// below every other entry.
int32_t RankValue(const RankEntry& e);

// What the code of a result depends on besides its total and its rank: the configuration's
// seed, and whether an assist key was used in the run.
struct ResultCodeInputs {
    int32_t ResultCodeSeed = 0;
    bool CheatUsed = false;
};

// The five-letter code of a total at a rank; "*****" unless the rank is 1 and no assist key
// was used in the run.
std::string MakeResultCode(const ResultCodeInputs& inputs, int32_t total, int rank);

// Puts a result into the ranking above the first entry it equals or beats, the entries below
// moving down without their codes; returns its rank 1..30, or 0 (ranking unchanged).
int InsertResult(RecordsState& records, const ResultCodeInputs& inputs, int32_t total);

// The final entry of a ranked result once its name has been entered.
void NameResult(RecordsState& records, const ResultCodeInputs& inputs, int rank, int32_t total,
                const std::string& name);

// The text of ranking row k: rank, suffix letter, time as "ddd:dd", name.
std::string RankRowText(const RankEntry& e, int k);

}  // namespace kiv
