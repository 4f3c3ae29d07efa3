#pragma once

#include <cstdint>
#include <string>

#include "records/records_state.h"

namespace kiv {
struct Game;

// The preset of rank k (1..30): "*****" + PresetRankName + five digits of 3000 - 50k.
RankEntry PresetRankEntry(const Game& g, int k);

// The value an entry ranks by: the number "1" + characters 12..16 minus 100000 (a short or
// empty time field ranks low: "" is -99999); a time field holding anything but digits ranks
// below every other entry.
int32_t RankValue(const RankEntry& e);

// The five-letter code of a total at a rank; "*****" unless the rank is 1 and no assist key
// was used in the run.
std::string MakeResultCode(const Game& g, int32_t total, int rank);

// Puts a result into the ranking above the first entry it equals or beats, the entries below
// moving down without their codes; returns its rank 1..30, or 0 (ranking unchanged).
int InsertResult(Game& g, int32_t total);

// The final entry of a ranked result once its name has been entered.
void NameResult(Game& g, int rank, int32_t total, const std::string& name);

// The text of ranking row k: rank, suffix letter, time as "ddd:dd", name.
std::string RankRowText(const RankEntry& e, int k);

// Draws ranking row k with the text cursor starting at (x, y); the run start stays, nothing
// is presented.
void DrawRankRow(Game& g, int k, int x, int y);

}  // namespace kiv
