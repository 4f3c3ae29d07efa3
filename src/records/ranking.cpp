#include "records/ranking.h"

#include "data/strings.h"

namespace kiv {

namespace {

// The key of the result code: a seven-digit constant and a letter for each decimal digit.
constexpr int32_t kResultCodeConstant = 4718263;
constexpr char kResultCodeLetters[11] = "kvmhzrwpcj";
constexpr const char* kNoCode = "*****";

int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t WrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

}  // namespace

RankEntry PresetRankEntry(std::string_view presetRankName, int k) {
    return RankEntry(std::string(kNoCode) + std::string(presetRankName) + ZeroPad(5, 3000 - 50 * k));
}

int32_t RankValue(const RankEntry& e) {
    std::string field = e.Copy(12, 5);
    int32_t v = 1;
    for (char c : field) {
        // Only an edited file can put other characters here; they rank below everything.
        if (c < '0' || c > '9') return INT32_MIN;
        v = v * 10 + (c - '0');
    }
    return v - 100000;
}

std::string MakeResultCode(const ResultCodeInputs& inputs, int32_t total, int rank) {
    if (rank != 1 || inputs.CheatUsed) return kNoCode;
    int32_t n = WrapAdd(WrapAdd(kResultCodeConstant, WrapMul(-3, inputs.ResultCodeSeed)), WrapMul(-7, total));
    n %= 100000;
    if (n < 0) n += 100000;
    std::string digits = ZeroPad(5, n);
    std::string code;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) code += kResultCodeLetters[*it - '0'];
    return code;
}

int InsertResult(RecordsState& records, const ResultCodeInputs& inputs, int32_t total) {
    auto& table = records.RankTable;
    int p = 0;
    for (int k = 1; k <= 30; ++k) {
        if (RankValue(table[k]) <= total) {
            p = k;
            break;
        }
    }
    if (p == 0) return 0;
    for (int k = 29; k >= p; --k) table[k + 1] = std::string(kNoCode) + table[k].Copy(6, 11);
    table[p] = MakeResultCode(inputs, total, p) + "______" + ZeroPad(5, total);
    return p;
}

void NameResult(RecordsState& records, const ResultCodeInputs& inputs, int rank, int32_t total,
                const std::string& name) {
    if (rank < 1 || rank > 30) return;
    records.RankTable[rank] = MakeResultCode(inputs, total, rank) + name + ZeroPad(5, total);
}

std::string RankRowText(const RankEntry& e, int k) {
    return ZeroPad(2, k) + RankSuffixLetter(static_cast<uint8_t>(k)) + " " + e.Copy(12, 3) + ":" + e.Copy(15, 2) + " " +
           e.Copy(6, 6);
}

}  // namespace kiv
