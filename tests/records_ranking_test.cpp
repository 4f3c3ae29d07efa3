#include "records/ranking.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kiv {
namespace {

struct RankingGame {
    RankingGame() {
        for (int k = 1; k <= 30; ++k) records.RankTable[k] = PresetRankEntry("master", k);
    }
    RecordsState records;
    ResultCodeInputs code{12345, false};
    std::array<RankEntry, 31>& Table() { return records.RankTable; }
};

TEST(Ranking, PresetsRunFromRankOneDownInStepsOfFifty) {
    RankingGame r;
    EXPECT_EQ(r.Table()[1], "*****master02950");
    EXPECT_EQ(r.Table()[2], "*****master02900");
    EXPECT_EQ(r.Table()[30], "*****master01500");
    EXPECT_EQ(RankValue(r.Table()[1]), 2950);
    EXPECT_EQ(RankValue(r.Table()[30]), 1500);

    // A short preset name shifts the time field left: the value then reads other characters.
    RankEntry shortName = PresetRankEntry("ab", 1);
    EXPECT_EQ(shortName, "*****ab02950");
    EXPECT_EQ(RankValue(shortName), 10 - 100000);  // only character 12 ("0") is left of the time
    EXPECT_EQ(RankValue(RankEntry("*****abcd029")), 19 - 100000);
    EXPECT_EQ(RankValue(RankEntry("*****abc")), 1 - 100000);
}

TEST(Ranking, ResultCodeIsTheReversedLettersOfTheKeyedNumber) {
    RankingGame r;
    // (4718263 - 3 * 12345 - 7 * 2961) mod 100000 = 60501; reversed digits 1 0 5 0 6.
    EXPECT_EQ(MakeResultCode(r.code, 2961, 1), "vkrkw");
    EXPECT_EQ(MakeResultCode(r.code, 2961, 2), "*****");
    r.code.ResultCodeSeed = 2000000000;  // the 32-bit arithmetic wraps; the number stays 0..99999
    std::string code = MakeResultCode(r.code, 99999, 1);
    ASSERT_EQ(code.size(), 5u);
    for (char c : code) EXPECT_TRUE(c >= 'a' && c <= 'z') << code;

    std::set<std::string> codes;
    for (int32_t total = 0; total < 1000; ++total) codes.insert(MakeResultCode(r.code, total, 1));
    EXPECT_EQ(codes.size(), 1000u);  // ten distinct letters keep different numbers apart

    r.code.CheatUsed = true;
    EXPECT_EQ(MakeResultCode(r.code, 2961, 1), "*****");
}

TEST(Ranking, AnEqualResultRanksAboveAndTheLastEntryDrops) {
    RankingGame r;
    RankEntry old5 = r.Table()[5], old29 = r.Table()[29];
    EXPECT_EQ(InsertResult(r.records, r.code, 2750), 5);  // the value of rank 5
    EXPECT_EQ(r.Table()[5], "*****______02750");
    EXPECT_EQ(r.Table()[6], old5);
    EXPECT_EQ(r.Table()[30], old29);
    EXPECT_EQ(r.Table()[4], "*****master02800");

    RankingGame low;
    auto before = low.Table();
    EXPECT_EQ(InsertResult(low.records, low.code, 1499), 0);
    EXPECT_EQ(low.Table(), before);
    EXPECT_EQ(InsertResult(low.records, low.code, 1500), 30);
    EXPECT_EQ(low.Table()[30], "*****______01500");
    EXPECT_EQ(low.Table()[29], before[29]);
}

TEST(Ranking, TheOldFirstPlaceLosesItsCode) {
    RankingGame r;
    r.Table()[1] = "vkrkwalice_02961";
    EXPECT_EQ(InsertResult(r.records, r.code, 3100), 1);
    EXPECT_EQ(r.Table()[1], MakeResultCode(r.code, 3100, 1) + "______03100");
    EXPECT_NE(r.Table()[1].Copy(1, 5), "*****");
    EXPECT_EQ(r.Table()[2], "*****alice_02961");
    EXPECT_EQ(r.Table()[3], "*****master02900");

    NameResult(r.records, r.code, 1, 3100, "bob___");
    EXPECT_EQ(r.Table()[1], MakeResultCode(r.code, 3100, 1) + "bob___03100");
    NameResult(r.records, r.code, 2, 2000, "carol_");
    EXPECT_EQ(r.Table()[2], "*****carol_02000");

    r.code.CheatUsed = true;
    EXPECT_EQ(InsertResult(r.records, r.code, 5000), 1);
    EXPECT_EQ(r.Table()[1], "*****______05000");
}

TEST(Ranking, EditedEntriesStillRankAndDraw) {
    RankingGame r;
    // "abc" has no time field: it is worth -99999 and every field of its row is empty.
    r.Table()[3] = "abc";
    EXPECT_EQ(RankValue(r.Table()[3]), -99999);
    EXPECT_EQ(RankRowText(r.Table()[3], 3), "03D : ");
    EXPECT_EQ(InsertResult(r.records, r.code, 10), 3);
    EXPECT_EQ(r.Table()[4], "*****");  // the moved "abc" keeps only its (empty) name and time

    // A time field with other characters than digits counts below everything, even -99999.
    RankingGame odd;
    odd.Table()[1] = "*****master0x9FF";
    odd.Table()[2] = "";
    EXPECT_EQ(InsertResult(odd.records, odd.code, -99999), 1);
    EXPECT_EQ(InsertResult(odd.records, odd.code, -100000), 2);
}

TEST(Ranking, RowTextShowsRankSuffixTimeAndName) {
    RankingGame r;
    EXPECT_EQ(RankRowText(r.Table()[1], 1), "01S 029:50 master");
    EXPECT_EQ(RankRowText(r.Table()[2], 2), "02N 029:00 master");
    EXPECT_EQ(RankRowText(r.Table()[3], 3), "03D 028:50 master");
    EXPECT_EQ(RankRowText(r.Table()[21], 21), "21T 019:50 master");
}

}  // namespace
}  // namespace kiv
