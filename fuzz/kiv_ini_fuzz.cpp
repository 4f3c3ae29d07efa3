// Kiv.ini as a player might leave it: hand-edited, saved by any editor, cut short by a crash.
// Reading never fails; the ranking works on whatever was read; and writing the records back
// into the file and reading it again gives exactly the values written, with the name kept.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "records/ranking.h"
#include "records/records_store.h"

namespace kiv::fuzz {

namespace {

uint32_t Fnv1a(std::string_view s) {
    uint32_t h = 2166136261u;
    for (char c : s) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h;
}

bool SameRecords(const StoredRecords& a, const StoredRecords& b) {
    if (a.StagesOpen != b.StagesOpen || !(a.PlayerName == b.PlayerName)) return false;
    for (int k = 1; k <= 30; ++k)
        if (!(a.RankTable[k] == b.RankTable[k])) return false;
    return true;
}

// What the ranking makes of the table: rows of the fixed layout, an ordered insertion.
void CheckRanking(RecordsState& records, int32_t total, const std::string& name) {
    const ResultCodeInputs code{};
    for (int k = 1; k <= 30; ++k)
        Require(RankRowText(records.RankTable[k], k).size() <= 17, "a ranking row fits its line");
    const auto before = records.RankTable;
    const int rank = InsertResult(records, code, total);
    Require(rank >= 0 && rank <= 30, "a rank is 0..30");
    if (rank == 0) {
        Require(records.RankTable == before, "a result that ranks nowhere changes nothing");
        return;
    }
    for (int k = 1; k < rank; ++k) Require(RankValue(before[k]) > total, "only better results stay above");
    Require(RankValue(before[rank]) <= total, "the result goes above the first it equals or beats");
    for (int k = rank + 1; k <= 30; ++k)
        Require(records.RankTable[k].Copy(6, 11) == before[k - 1].Copy(6, 11), "the rest move down one place");
    NameResult(records, code, rank, total, name);
    Require(RankValue(records.RankTable[rank]) == total, "the named entry keeps its total");
}

}  // namespace

void KivIniInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::array<RankEntry, 31> presets{};
    for (int k = 1; k <= 30; ++k) presets[k] = PresetRankEntry("master", k);

    const StoredRecords read = ParseRecordsIni(bytes, presets, "Player");

    // Saving what was read changes none of it, and saving twice is saving once.
    const std::string same = UpdateRecordsIni(bytes, read.StagesOpen, read.RankTable);
    Require(SameRecords(ParseRecordsIni(same, presets, "Player"), read), "the records read back unchanged");
    Require(UpdateRecordsIni(same, read.StagesOpen, read.RankTable) == same, "a second save changes nothing");

    // A new result, a name and other open stages: the file holds exactly them afterwards.
    const uint32_t h = Fnv1a(bytes);
    RecordsState records;
    records.RankTable = read.RankTable;
    const int32_t total = static_cast<int32_t>(h % 100000u);
    const char letters[] = "abcdefghijklmnopqrstuvwxyz_";
    std::string name;
    for (int i = 0; i < 6; ++i) name += letters[(h >> (i * 5)) % 27u];
    CheckRanking(records, total, name);
    StoredRecords want = read;
    want.StagesOpen = static_cast<int8_t>(h >> 24);
    want.RankTable = records.RankTable;
    const std::string saved = UpdateRecordsIni(bytes, want.StagesOpen, want.RankTable);
    Require(SameRecords(ParseRecordsIni(saved, presets, "Player"), want), "the records written read back");
}

}  // namespace kiv::fuzz

KIV_FUZZ_ENTRY(kiv::fuzz::KivIniInput)
