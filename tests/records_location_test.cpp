// Where the records live: the game folder while it is writable, else the player's own folder,
// where they are written and read back.
#include "records/records_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "records/records_store.h"
#include "test_game.h"

namespace kiv {
namespace {

// A game folder made read-only for the test (writable again afterwards, to be removed).
struct ReadOnly {
    explicit ReadOnly(const std::string& dir) : dir_(dir) { ::chmod(dir.c_str(), 0555); }
    ~ReadOnly() { ::chmod(dir_.c_str(), 0755); }
    std::string dir_;
};

TEST(RecordsLocation, TheGameFolderWhileWritableElseThePlayersOwn) {
    TempDir game, data;
    ScopedEnv xdg("XDG_DATA_HOME", data.Path());
    RecordsLocation here = ChooseRecordsLocation(game.Path(), false);
    EXPECT_EQ(here.Dir, game.Path());
    EXPECT_FALSE(here.UserFolder);

    // The installed demo belongs to every user: never written, even when the user could.
    RecordsLocation shared = ChooseRecordsLocation(game.Path(), true);
    EXPECT_TRUE(shared.UserFolder);
    EXPECT_EQ(shared.Dir.rfind(data.Path() + "kiv/", 0), 0u) << shared.Dir;

    {
        ReadOnly ro(game.Path());
        // Read-only by its permissions, whoever runs the game (the superuser too).
        EXPECT_FALSE(FolderWritable(game.Path()));
        RecordsLocation there = ChooseRecordsLocation(game.Path(), false);
        EXPECT_TRUE(there.UserFolder);
        EXPECT_EQ(there.Dir, shared.Dir);
    }
    EXPECT_FALSE(FolderWritable(game.File("missing/")));
}

TEST(RecordsLocation, EveryGameFolderHasItsOwnNamedFolder) {
    TempDir data;
    ScopedEnv xdg("XDG_DATA_HOME", data.Path());
    const std::string a = UserRecordsDir("/games/a_b/"), b = UserRecordsDir("/games/a/b/");
    EXPECT_NE(a, b);
    EXPECT_EQ(a, UserRecordsDir("/games/a_b/"));
    EXPECT_EQ(a.rfind(data.Path() + "kiv/games_a_b-", 0), 0u) << a;
    EXPECT_EQ(a.back(), '/');
    // A relative XDG_DATA_HOME is ignored, as the rules say: ~/.local/share instead.
    ScopedEnv relative("XDG_DATA_HOME", "relative/path");
    ScopedEnv home("HOME", data.Path() + "home");
    EXPECT_EQ(UserRecordsDir("/games/a_b/").rfind(data.Path() + "home/.local/share/kiv/games_a_b-", 0), 0u);
}

TEST(RecordsLocation, AReadOnlyGameKeepsItsRecordsInThePlayersFolderAndReadsThemBack) {
    TempDir game, data;
    ScopedEnv xdg("XDG_DATA_HOME", data.Path());
    // The game came with records of its own: a name and a comment the player's copy keeps.
    game.Write("Kiv.ini", "; shipped\r\n[Kiv]\r\nStage=2\r\nMyName=Shipped\r\n");
    ReadOnly ro(game.Path());
    std::filesystem::create_directory(data.File("trace"));
    std::string file;
    {
        RecordsGame rg(game.Path());
        ASSERT_TRUE(rg.platform.GetTrace().Open(data.File("trace/t.jsonl")));
        rg.Load();
        EXPECT_EQ(rg.g.Records.StagesOpen, 2) << "first read from the game's own file";
        EXPECT_EQ(rg.g.Records.PlayerName, "Shipped");
        rg.g.Records.StagesOpen = 5;
        rg.g.Records.RankTable[1] = "abcdeplayer03000";
        ASSERT_TRUE(rg.Save()) << rg.g.Records.SaveError;
        file = rg.g.Records.IniDir + "Kiv.ini";
    }
    const std::string trace = data.Read("trace/t.jsonl");
    EXPECT_NE(trace.find("\"ev\":\"records\",\"file\":\"" + file + "\",\"user\":true"), std::string::npos) << trace;
    EXPECT_NE(trace.find("\"ev\":\"save\",\"file\":\"" + file + "\""), std::string::npos) << trace;
    EXPECT_EQ(file.rfind(data.Path() + "kiv/", 0), 0u) << file;
    EXPECT_EQ(game.Read("Kiv.ini"), "; shipped\r\n[Kiv]\r\nStage=2\r\nMyName=Shipped\r\n") << "the game's file stays";

    std::ifstream in(file, std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(saved.rfind("; shipped\r\n[Kiv]\r\nStage=5\r\nMyName=Shipped\r\nRank01=abcdeplayer03000\r\n", 0), 0u)
        << saved;

    RecordsGame again(game.Path());
    again.Load();
    EXPECT_EQ(again.g.Records.StagesOpen, 5);
    EXPECT_EQ(again.g.Records.RankTable[1], "abcdeplayer03000");
}

TEST(RecordsLocation, AFolderMadeReadOnlyDuringTheGameLosesNoResult) {
    TempDir game, data;
    ScopedEnv xdg("XDG_DATA_HOME", data.Path());
    RecordsGame rg(game.Path());
    rg.Load();
    EXPECT_FALSE(rg.g.Records.IniInUserFolder);
    rg.g.Records.StagesOpen = 3;
    {
        ReadOnly ro(game.Path());
        ASSERT_TRUE(rg.Save()) << rg.g.Records.SaveError;
    }
    EXPECT_TRUE(rg.g.Records.IniInUserFolder);
    EXPECT_FALSE(game.Exists("Kiv.ini"));
    RecordsGame again(game.Path());
    ReadOnly ro(game.Path());
    again.Load();
    EXPECT_EQ(again.g.Records.StagesOpen, 3);
}

}  // namespace
}  // namespace kiv
