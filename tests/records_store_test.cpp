#include "records/records_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "records/ranking.h"
#include "test_game.h"
#include "test_support.h"

namespace kiv {
namespace {

std::string PresetFile(const std::string& stage = "1") {
    std::string s = "[Kiv]\r\nStage=" + stage + "\r\n";
    for (int k = 1; k <= 30; ++k) {
        std::string time = std::to_string(3000 - 50 * k);
        if (time.size() < 5) time.insert(0, 5 - time.size(), '0');
        s += "Rank" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "=*****master" + time + "\r\n";
    }
    return s;
}

bool HasBareLf(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return true;
    return false;
}

TEST(RecordsStore, FirstStartUsesDefaultsAndWritesStageAndRanksOnly) {
    TempDir dir;
    RecordsGame rg(dir.Path());
    rg.Load();
    EXPECT_EQ(rg.g.Records.StagesOpen, 1);
    EXPECT_EQ(rg.g.Records.PlayerName, "Player");
    EXPECT_EQ(rg.g.Records.RankTable[1], "*****master02950");
    EXPECT_EQ(rg.g.Records.RankTable[30], "*****master01500");

    ASSERT_TRUE(rg.Save());
    EXPECT_EQ(dir.Read("Kiv.ini"), PresetFile());
    EXPECT_FALSE(dir.Exists("Kiv.ini.tmp"));
}

TEST(RecordsStore, RoundTripKeepsStagesRanksAndTheLowEightBits) {
    TempDir dir;
    {
        RecordsGame rg(dir.Path());
        rg.Load();
        rg.g.Records.StagesOpen = static_cast<int8_t>(-56);  // 200 in eight bits
        rg.g.Records.RankTable[1] = "vkrkwalice_02961";
        rg.g.Records.RankTable[7] = "abc";
        rg.g.Records.RankTable[30] = "";
        ASSERT_TRUE(rg.Save());
    }
    EXPECT_NE(dir.Read("Kiv.ini").find("Stage=-56\r\n"), std::string::npos);
    RecordsGame again(dir.Path());
    again.Load();
    EXPECT_EQ(again.g.Records.StagesOpen, -56);
    EXPECT_EQ(again.g.Records.RankTable[1], "vkrkwalice_02961");
    EXPECT_EQ(again.g.Records.RankTable[7], "abc");
    EXPECT_EQ(again.g.Records.RankTable[30], "");  // present but empty: not the preset
    EXPECT_EQ(again.g.Records.RankTable[2], "*****master02900");
}

TEST(RecordsStore, ReadsStageRanksAndNameWithTheirDefaultsAndLimits) {
    std::array<RankEntry, 31> presets{};
    for (int k = 1; k <= 30; ++k) presets[k] = "preset" + std::to_string(k);
    auto parse = [&](const std::string& text, std::string_view name = "Player  ") {
        return ParseRecordsIni(text, presets, name);
    };

    EXPECT_EQ(parse("[Kiv]\nStage=300\n").StagesOpen, 44);
    EXPECT_EQ(parse("[Kiv]\nStage=abc\n").StagesOpen, 1);
    EXPECT_EQ(parse("[Kiv]\nStage=12abc\n").StagesOpen, 1);
    EXPECT_EQ(parse("[Kiv]\nStage=\n").StagesOpen, 1);
    EXPECT_EQ(parse("[Kiv]\nStage=0x1F\n").StagesOpen, 31);
    EXPECT_EQ(parse("[kiv]\r\n  stage  =  $10  \r\n").StagesOpen, 16);
    EXPECT_EQ(parse("[Kiv]\nStage=-1\n").StagesOpen, -1);
    EXPECT_EQ(parse("[Other]\nStage=5\n").StagesOpen, 1);

    // How values are read (quotes, duplicates, letter case) is the INI reader's: see its tests.
    StoredRecords r = parse(
        "; a comment\r\n[KIV]\r\nRank01=abc\r\nRANK02=abcdefghijklmnopqrstuvwxyz\r\nRank05=\"quoted\"\r\n"
        "MyName=Someone_with_a_long_name\r\n");
    EXPECT_EQ(r.RankTable[1], "abc");
    EXPECT_EQ(r.RankTable[2], "abcdefghijklmnop");  // cut to 16
    EXPECT_EQ(r.RankTable[5], "quoted");
    EXPECT_EQ(r.RankTable[6], "preset6");
    EXPECT_EQ(r.PlayerName, "Someone_with_a_l");
    // A missing name takes the default, as the reader hands defaults back.
    EXPECT_EQ(parse("").PlayerName, "Player");

    EXPECT_TRUE(IsRecordsText("; mine\n[ kIV ]\n"));
    EXPECT_TRUE(IsRecordsText("\xEF\xBB\xBF[Kiv]"));
    EXPECT_FALSE(IsRecordsText("Kiv=1\n[Kiv\n; [Kiv]\n[Kivi]\n"));
    EXPECT_FALSE(IsRecordsText(""));
}

TEST(RecordsStore, SaveKeepsWhatTheUserAddedAndReplacesKeysInPlace) {
    TempDir dir;
    dir.Write("Kiv.ini",
              "; my notes\n[Kiv]\nMyName=Hanako\nStage=3\nColour=blue\nRank02=old\n\n[Other]\nKey=value with = sign\n");
    RecordsGame rg(dir.Path());
    rg.Load();
    EXPECT_EQ(rg.g.Records.PlayerName, "Hanako");
    EXPECT_EQ(rg.g.Records.StagesOpen, 3);
    rg.g.Records.StagesOpen = 4;
    ASSERT_TRUE(rg.Save());

    std::string text = dir.Read("Kiv.ini");
    EXPECT_FALSE(HasBareLf(text)) << text;
    EXPECT_NE(text.find("; my notes\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Kiv]\r\nMyName=Hanako\r\nStage=4\r\nColour=blue\r\nRank02=old\r\nRank01=*****master02950\r\n"
                        "Rank03=*****master02850\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[Other]\r\nKey=value with = sign\r\n"), std::string::npos) << text;

    RecordsGame again(dir.Path());
    again.Load();
    EXPECT_EQ(again.g.Records.StagesOpen, 4);
    EXPECT_EQ(again.g.Records.RankTable[2], "old");
}

TEST(RecordsStore, StageAndTheRanksAreAddedToTheSectionInTheirOrder) {
    std::array<RankEntry, 31> ranks{};
    for (int k = 1; k <= 30; ++k) ranks[k] = "r" + std::to_string(k);
    // How the lines around them are kept is the INI writer's: see its tests.
    std::string want = "[Kiv]\r\nRank01=r1\r\nStage=2\r\n";
    for (int k = 2; k <= 30; ++k)
        want += "Rank" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "=r" + std::to_string(k) + "\r\n";
    EXPECT_EQ(UpdateRecordsIni("[Kiv]\r\nRank01=mine\r\n", 2, ranks), want);
    EXPECT_EQ(UpdateRecordsIni("[kiv]\r\nSTAGE=9\r\n", -56, ranks).rfind("[kiv]\r\nSTAGE=-56\r\nRank01=r1\r\n", 0), 0u);
}

TEST(RecordsStore, TheTemporaryFileIsKivIniTmpBesideItAndIsNotLeftBehind) {
    TempDir dir;
    dir.Write("Kiv.ini.tmp", "half a file");  // as a killed save leaves it
    RecordsGame rg(dir.Path());
    rg.Load();
    rg.g.Records.StagesOpen = 5;
    ASSERT_TRUE(rg.Save());
    EXPECT_EQ(dir.Read("Kiv.ini"), PresetFile("5"));
    EXPECT_FALSE(dir.Exists("Kiv.ini.tmp"));
}

TEST(RecordsStore, AKivIniThatIsALinkToARecordsFileStaysOneAndItsFileIsWritten) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("elsewhere"));
    dir.Write("elsewhere/records.ini", "[Kiv]\r\nStage=4\r\n");
    std::filesystem::create_symlink("elsewhere/records.ini", dir.File("Kiv.ini"));
    RecordsGame rg(dir.Path());
    rg.Load();
    EXPECT_EQ(rg.g.Records.StagesOpen, 4);
    EXPECT_FALSE(rg.g.Records.IniInUserFolder);
    rg.g.Records.StagesOpen = 6;
    ASSERT_TRUE(rg.Save());
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("Kiv.ini")));
    EXPECT_EQ(dir.Read("elsewhere/records.ini"), PresetFile("6"));
    EXPECT_FALSE(dir.Exists("elsewhere/records.ini.tmp"));
    // Saved again, it is still a records file, and still written where the link points.
    rg.g.Records.StagesOpen = 7;
    ASSERT_TRUE(rg.Save());
    EXPECT_EQ(dir.Read("elsewhere/records.ini"), PresetFile("7"));
}

TEST(RecordsStore, FailedWriteLeavesTheOldFileAndIsReported) {
    TempDir dir;
    const std::string old = "[Kiv]\r\nStage=6\r\nRank01=keepme\r\n";
    dir.Write("Kiv.ini", old);
    // Something in the place of the temporary file makes the write fail (even for root).
    std::filesystem::create_directory(dir.File("Kiv.ini.tmp"));
    std::filesystem::create_directory(dir.File("trace"));

    RecordsGame rg(dir.Path());
    ASSERT_TRUE(rg.platform.GetTrace().Open(dir.File("trace/t.jsonl")));
    rg.Load();
    rg.g.Records.StagesOpen = 8;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(rg.Save());
    std::string err = testing::internal::GetCapturedStderr();
    rg.platform.GetTrace().Open(dir.File("trace/other.jsonl"));  // flushes the first trace

    EXPECT_EQ(dir.Read("Kiv.ini"), old);
    EXPECT_NE(err.find("Kiv.ini"), std::string::npos) << err;
    EXPECT_NE(rg.g.Records.SaveError.find("Kiv.ini.tmp"), std::string::npos) << rg.g.Records.SaveError;
    std::string trace = dir.Read("trace/t.jsonl");
    EXPECT_NE(trace.find("\"ev\":\"save\""), std::string::npos) << trace;
    EXPECT_NE(trace.find("\"error\""), std::string::npos) << trace;
}

TEST(RecordsStore, NothingIsWrittenWhenHaltingAfterAFatalError) {
    TempDir dir;
    RecordsGame rg(dir.Path());
    rg.Load();
    rg.g.Shell.CloseRequested = true;
    EXPECT_TRUE(rg.Save());
    EXPECT_FALSE(dir.Exists("Kiv.ini"));
}

TEST(RecordsStore, AFileNamedInAnotherCaseIsReadAndReplaced) {
    TempDir dir;
    dir.Write("KIV.INI", "[Kiv]\r\nStage=7\r\n");
    RecordsGame rg(dir.Path());
    rg.Load();
    EXPECT_EQ(rg.g.Records.StagesOpen, 7);
    ASSERT_TRUE(rg.Save());
    EXPECT_FALSE(dir.Exists("Kiv.ini"));
    EXPECT_EQ(dir.Read("KIV.INI"), PresetFile("7"));
}

TEST(RecordsStore, APlayerIsToldAtTheEndWhenTheRecordsCannotBeSaved) {
    TempDir dir;
    WriteMinimalGame(dir);
    dir.Write("Kiv.ini", "[Kiv]\r\nStage=3\r\n");
    std::filesystem::create_directory(dir.File("Kiv.ini.tmp"));  // in the way, even for root
    HeadlessGame hg(dir.Path());
    ASSERT_TRUE(hg.created);
    hg.game.Records.StagesOpen = 5;
    testing::internal::CaptureStderr();
    hg.CloseAndDestroy();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(hg.platform.Messages().size(), 1u);
    const std::string& msg = hg.platform.Messages()[0];
    EXPECT_NE(msg.find("not saved"), std::string::npos) << msg;
    EXPECT_NE(msg.find(dir.File("Kiv.ini.tmp")), std::string::npos) << msg;
    EXPECT_EQ(dir.Read("Kiv.ini"), "[Kiv]\r\nStage=3\r\n");
}

TEST(RecordsStore, AHeadlessRunSavesAtCloseAndAHaltedRunDoesNot) {
    TempDir dir;
    WriteMinimalGame(dir);
    {
        HeadlessGame hg(dir.Path());
        ASSERT_TRUE(hg.created);
        hg.Frames(10);
        hg.CloseAndDestroy();
    }
    std::string text = dir.Read("Kiv.ini");
    EXPECT_EQ(text.rfind("[Kiv]\r\nStage=1\r\nRank01=*****Preset02950\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("Rank30=*****Preset01500\r\n"), std::string::npos);
    EXPECT_EQ(text.find("MyName"), std::string::npos);

    TempDir halted;
    WriteMinimalGame(halted);
    std::filesystem::remove(halted.File("Kiv.txt"));
    {
        HeadlessGame hg(halted.Path());
        hg.Frames(3);
        hg.CloseAndDestroy();
    }
    EXPECT_FALSE(halted.Exists("Kiv.ini"));
}

}  // namespace
}  // namespace kiv
