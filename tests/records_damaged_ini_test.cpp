// Kiv.ini as players really leave it: saved by editors with other line ends or a byte-order
// mark, zero-filled by a crash, too large, or in a folder that cannot be written. Whatever was
// read is written back so that it reads the same, and a save that cannot be made keeps the
// old file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "records/ranking.h"
#include "records/records_store.h"
#include "test_game.h"

namespace kiv {
namespace {

std::array<RankEntry, 31> Presets() {
    std::array<RankEntry, 31> p{};
    for (int k = 1; k <= 30; ++k) p[k] = "preset" + std::to_string(k);
    return p;
}

StoredRecords Parse(const std::string& text) { return ParseRecordsIni(text, Presets(), "Player"); }

// The file after saving stagesOpen and ranks into text.
std::string Save(const std::string& text, int8_t stagesOpen, const std::array<RankEntry, 31>& ranks) {
    return UpdateRecordsIni(text, stagesOpen, ranks);
}

std::array<RankEntry, 31> Ranks(const std::string& prefix) {
    std::array<RankEntry, 31> r{};
    for (int k = 1; k <= 30; ++k) r[k] = prefix + std::to_string(k);
    return r;
}

TEST(RecordsDamagedIni, EveryEditorsLineEndsAndTheByteOrderMarkReadAndSaveAlike) {
    const std::string bodies[] = {
        "[Kiv]\rStage=3\rRank01=old\rMyName=Hanako\r",                      // lone CR
        "[Kiv]\nStage=3\nRank01=old\nMyName=Hanako",                        // LF, no end on the last line
        "\xEF\xBB\xBF[Kiv]\r\nStage=3\r\nRank01=old\r\nMyName=Hanako\r\n",  // UTF-8 mark
        "[Kiv]\r\n\r\nStage=3\n\rRank01=old\r\r\nMyName=Hanako\r\n",        // mixed
    };
    for (const std::string& text : bodies) {
        SCOPED_TRACE(testing::PrintToString(text));
        StoredRecords r = Parse(text);
        EXPECT_EQ(r.StagesOpen, 3);
        EXPECT_EQ(r.RankTable[1], "old");
        EXPECT_EQ(r.RankTable[2], "preset2");
        EXPECT_EQ(r.PlayerName, "Hanako");

        const std::string saved = Save(text, 5, Ranks("new"));
        StoredRecords back = Parse(saved);
        EXPECT_EQ(back.StagesOpen, 5);
        for (int k = 1; k <= 30; ++k) EXPECT_EQ(back.RankTable[k], "new" + std::to_string(k)) << k;
        EXPECT_EQ(back.PlayerName, "Hanako");
        // Nothing was added beside the section: the values replaced the old ones in place.
        EXPECT_EQ(saved.find("[Kiv]"), saved.rfind("[Kiv]")) << saved;
        EXPECT_EQ(saved.find("Stage="), saved.rfind("Stage=")) << saved;
    }
    EXPECT_EQ(Save("\xEF\xBB\xBF[Kiv]\r\n", 1, Ranks("r")).rfind("\xEF\xBB\xBF[Kiv]\r\nStage=1\r\n", 0), 0u);
}

TEST(RecordsDamagedIni, EntriesTheReaderWouldChangeAreWrittenInQuotes) {
    std::array<RankEntry, 31> ranks = Ranks("r");
    ranks[1] = "aaaaaaaaaaaaaaa ";  // a long value cut to 16 just after a blank
    ranks[2] = " lead";
    ranks[3] = "'quoted'";
    ranks[4] = "\"x\"";
    ranks[5] = "\"";  // a single quote character is no pair
    const std::string saved = Save("", 1, ranks);
    EXPECT_NE(saved.find("Rank01=\"aaaaaaaaaaaaaaa \"\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Rank05=\"\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Rank06=r6\r\n"), std::string::npos) << saved;
    StoredRecords back = Parse(saved);
    for (int k = 1; k <= 30; ++k) EXPECT_EQ(back.RankTable[k], ranks[k]) << k;

    // Read from a hand-edited file, cut to 16 and written back, such a value stays itself.
    StoredRecords r = Parse("[Kiv]\r\nRank01=aaaaaaaaaaaaaaa bbb\r\nRank02=''x''\r\n");
    EXPECT_EQ(r.RankTable[1], "aaaaaaaaaaaaaaa ");
    EXPECT_EQ(r.RankTable[2], "'x'");
    StoredRecords again = Parse(Save("", r.StagesOpen, r.RankTable));
    EXPECT_EQ(again.RankTable[1], r.RankTable[1]);
    EXPECT_EQ(again.RankTable[2], r.RankTable[2]);
}

TEST(RecordsDamagedIni, ABrokenOrForeignLineNeverHidesWhereTheValuesGo) {
    // A section line without its bracket ends nothing: the keys below it are still the records'.
    const std::string text = "[Kiv]\r\n[Broken\r\nStage=4\r\n[Other]\r\nRank01=theirs\r\n";
    EXPECT_EQ(Parse(text).StagesOpen, 4);
    EXPECT_EQ(Parse(text).RankTable[1], "preset1");
    const std::string saved = Save(text, 6, Ranks("n"));
    EXPECT_EQ(Parse(saved).StagesOpen, 6);
    EXPECT_EQ(Parse(saved).RankTable[1], "n1");
    EXPECT_NE(saved.find("[Other]\r\nRank01=theirs\r\n"), std::string::npos) << saved;

    // A file a crash filled with zero bytes reads as empty, and a save into it reads back.
    const std::string zeros(4096, '\0');
    EXPECT_EQ(Parse(zeros).StagesOpen, 1);
    EXPECT_EQ(Parse(Save(zeros, 7, Ranks("z"))).StagesOpen, 7);
    // Bytes that are not text at all, with the section in the middle of them.
    std::string binary;
    for (int i = 0; i < 512; ++i) binary += static_cast<char>((i * 37) & 0xFF);
    const std::string mixed = binary + "\n[Kiv]\nStage=2\n" + binary;
    EXPECT_EQ(Parse(mixed).StagesOpen, 2);
    EXPECT_EQ(Parse(Save(mixed, 9, Ranks("m"))).StagesOpen, 9);
    EXPECT_EQ(Parse(Save(mixed, 9, Ranks("m"))).RankTable[30], "m30");
}

// Saves with stderr captured; returns whether the save was made.
bool SaveQuietly(RecordsGame& rg, std::string& err) {
    testing::internal::CaptureStderr();
    bool ok = rg.Save();
    err = testing::internal::GetCapturedStderr();
    return ok;
}

TEST(RecordsDamagedIni, AFileTooLargeToBeRecordsIsNeitherReadNorReplaced) {
    TempDir dir;
    dir.Write("Kiv.ini", "[Kiv]\r\nStage=4\r\n");
    const auto huge = std::uintmax_t(17) << 20;
    std::filesystem::resize_file(dir.File("Kiv.ini"), huge);  // sparse: nothing is written
    RecordsGame sg(dir.Path());
    sg.Load();
    EXPECT_EQ(sg.g.Records.StagesOpen, 1);  // the defaults
    std::string err;
    EXPECT_FALSE(SaveQuietly(sg, err));
    EXPECT_NE(err.find("not saved"), std::string::npos) << err;
    EXPECT_EQ(std::filesystem::file_size(dir.File("Kiv.ini")), huge);
}

TEST(RecordsDamagedIni, AKivIniThatIsAFolderIsLeftAlone) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("Kiv.ini"));
    RecordsGame sg(dir.Path());
    sg.Load();
    EXPECT_EQ(sg.g.Records.RankTable[1], "*****master02950");
    std::string err;
    EXPECT_FALSE(SaveQuietly(sg, err));
    EXPECT_NE(sg.g.Records.SaveError.find("not a regular file"), std::string::npos) << sg.g.Records.SaveError;
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("Kiv.ini")));
}

TEST(RecordsDamagedIni, AReadOnlyFolderKeepsTheOldFileWholeAndTheRecordsGoToThePlayersFolder) {
    TempDir dir, data;
    const char* had = std::getenv("XDG_DATA_HOME");
    const std::string before = had ? had : "";
    ::setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
    const std::string old = "[Kiv]\r\nStage=6\r\n";
    dir.Write("Kiv.ini", old);
    RecordsGame sg(dir.Path());
    ASSERT_TRUE(sg.platform.GetTrace().Open(data.File("trace.jsonl")));
    sg.Load();
    sg.g.Records.StagesOpen = 8;
    // Nobody may write in it, whoever runs the game.
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    std::string err;
    EXPECT_TRUE(SaveQuietly(sg, err));
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    if (had)
        ::setenv("XDG_DATA_HOME", before.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    sg.platform.GetTrace().Open(data.File("other.jsonl"));  // flushes the first trace

    EXPECT_EQ(dir.Read("Kiv.ini"), old);
    EXPECT_FALSE(dir.Exists("Kiv.ini.tmp"));
    EXPECT_EQ(err.find("not saved"), std::string::npos) << err;
    const std::string trace = data.Read("trace.jsonl");
    EXPECT_NE(trace.find("\"ev\":\"save\",\"file\":\"" + data.Path()), std::string::npos) << trace;
    // The records themselves are whole where they went.
    std::string saved;
    for (const auto& e : std::filesystem::recursive_directory_iterator(data.Path()))
        if (e.path().filename() == "Kiv.ini") {
            std::ifstream in(e.path(), std::ios::binary);
            saved.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    EXPECT_NE(saved.find("Stage=8\r\n"), std::string::npos) << saved;
}

}  // namespace
}  // namespace kiv
