// A game folder is data from anyone: a Kiv.ini in it that is a link leads the records out of it
// only to a records file. Every other target (a file of the player's, a folder, a name not made
// yet, a file in a folder that cannot be written) is left exactly as it was, and the records go
// to the player's own folder instead, with one line on the terminal saying why.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "records/records_location.h"
#include "records/records_store.h"
#include "test_game.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

enum class Target { FileWithoutSection, Folder, Missing, FileInReadOnlyFolder, RecordsFile };

const char* Name(Target t) {
    switch (t) {
        case Target::FileWithoutSection: return "a file without [Kiv]";
        case Target::Folder: return "a folder";
        case Target::Missing: return "a name not made yet";
        case Target::FileInReadOnlyFolder: return "a records file in a read-only folder";
        case Target::RecordsFile: return "a records file";
    }
    return "";
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// A game folder whose Kiv.ini links into another folder of the player's, and the player's data
// folder (XDG_DATA_HOME) for the time of the test.
struct LinkedGame {
    explicit LinkedGame(Target t) : kind(t), xdg("XDG_DATA_HOME", data.Path()) {
        std::string dir = elsewhere.Path();
        if (t == Target::FileInReadOnlyFolder) {
            fs::create_directory(elsewhere.File("locked"));
            dir = elsewhere.File("locked/");
        }
        target = dir + "target.ini";
        switch (t) {
            case Target::FileWithoutSection: elsewhere.Write("target.ini", "export PATH=$PATH:~/bin\n"); break;
            case Target::Folder: fs::create_directory(target); break;
            case Target::Missing: break;
            case Target::FileInReadOnlyFolder:
                std::ofstream(target, std::ios::binary) << "; far away\r\n[Kiv]\r\nStage=3\r\n";
                ::chmod(dir.c_str(), 0555);  // read-only by its permissions, for the superuser too
                break;
            case Target::RecordsFile: elsewhere.Write("target.ini", "; synchronised\r\n[Kiv]\r\nStage=3\r\n"); break;
        }
        fs::create_symlink(target, game.File("Kiv.ini"));
        before = Snapshot();
    }
    ~LinkedGame() { ::chmod(elsewhere.File("locked").c_str(), 0755); }

    // Every entry below the other folder with its kind and bytes: equal snapshots mean that
    // nothing there was written, made or removed.
    std::string Snapshot() const {
        std::vector<std::string> entries;
        for (const auto& e : fs::recursive_directory_iterator(elsewhere.Path())) {
            std::string line = e.path().string() + (e.is_directory() ? "/" : "");
            if (e.is_regular_file()) {
                std::ifstream in(e.path(), std::ios::binary);
                line += "=" + std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            }
            entries.push_back(line);
        }
        std::sort(entries.begin(), entries.end());
        std::string all;
        for (const std::string& line : entries) all += line + "\n";
        return all;
    }

    std::string UserIni() const { return UserRecordsDir(game.Path()) + "Kiv.ini"; }
    std::string ReadUserIni() const {
        std::ifstream in(UserIni(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The line that says why the records are not where the link points.
    std::string Refusal() const {
        const std::string why = kind == Target::FileInReadOnlyFolder
                                    ? "Kiv.ini links to a records file in a folder that cannot be written"
                                    : "Kiv.ini links to a file that is not a records file";
        return why + ": the records are kept in " + UserIni() + "\n";
    }

    Target kind;
    TempDir game, elsewhere, data;
    ScopedEnv xdg;
    std::string target, before;
};

// What a game left after reading its records, opening a stage and saving them.
struct Outcome {
    bool saved = false;
    int stagesRead = 0;
    std::string err, trace;
};

Outcome LoadAndSave(LinkedGame& lg) {
    RecordsGame rg(lg.game.Path());
    fs::create_directory(lg.data.File("trace"));
    EXPECT_TRUE(rg.platform.GetTrace().Open(lg.data.File("trace/t.jsonl")));
    Outcome o;
    testing::internal::CaptureStderr();
    rg.Load();
    o.stagesRead = rg.g.Records.StagesOpen;  // NOLINT(bugprone-signed-char-misuse): a signed count
    rg.g.Records.StagesOpen = 6;
    o.saved = rg.Save();
    rg.g.Records.StagesOpen = 7;
    o.saved = o.saved && rg.Save();
    o.err = testing::internal::GetCapturedStderr();
    rg.platform.GetTrace().Open(lg.data.File("trace/other.jsonl"));  // flushes the first trace
    o.trace = lg.data.Read("trace/t.jsonl");
    return o;
}

const Target kRefused[] = {Target::FileWithoutSection, Target::Folder, Target::Missing, Target::FileInReadOnlyFolder};

TEST(RecordsLink, ALinkToAnythingButAWritableRecordsFileLeavesItsTargetAndKeepsTheRecordsInThePlayersFolder) {
    for (Target t : kRefused) {
        SCOPED_TRACE(Name(t));
        LinkedGame lg(t);
        const Outcome o = LoadAndSave(lg);
        EXPECT_TRUE(o.saved);
        EXPECT_EQ(lg.Snapshot(), lg.before);
        EXPECT_EQ(fs::exists(fs::symlink_status(lg.target)), t != Target::Missing);
        EXPECT_TRUE(fs::is_symlink(lg.game.File("Kiv.ini")));
        EXPECT_FALSE(lg.game.Exists("Kiv.ini.tmp"));

        EXPECT_EQ(Count(o.err, lg.Refusal()), 1u) << o.err;
        EXPECT_EQ(Count(o.err, "kiv:"), 1u) << o.err;
        EXPECT_NE(o.trace.find("\"ev\":\"records\",\"file\":\"" + lg.UserIni() + "\",\"user\":true"), std::string::npos)
            << o.trace;
        EXPECT_EQ(Count(o.trace, "\"ev\":\"save\",\"file\":\"" + lg.UserIni() + "\"}"), 2u) << o.trace;

        // A records file is read (and its lines kept), whatever its folder; nothing else of the
        // player's is, nor copied into the records.
        const std::string records = lg.ReadUserIni();
        EXPECT_NE(records.find("[Kiv]\r\nStage=7\r\n"), std::string::npos) << records;
        EXPECT_EQ(records.find("PATH"), std::string::npos) << records;
        if (t == Target::FileInReadOnlyFolder) {
            EXPECT_EQ(o.stagesRead, 3);
            EXPECT_EQ(records.rfind("; far away\r\n", 0), 0u) << records;
        } else {
            EXPECT_EQ(o.stagesRead, 1);
        }
    }
}

TEST(RecordsLink, APlayersOwnLinkToARecordsFileIsReadAndWrittenThrough) {
    LinkedGame lg(Target::RecordsFile);
    const Outcome o = LoadAndSave(lg);
    EXPECT_TRUE(o.saved);
    EXPECT_EQ(o.stagesRead, 3);
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(fs::is_symlink(lg.game.File("Kiv.ini")));
    const std::string records = lg.elsewhere.Read("target.ini");
    EXPECT_EQ(records.rfind("; synchronised\r\n[Kiv]\r\nStage=7\r\nRank01=", 0), 0u) << records;
    EXPECT_FALSE(lg.elsewhere.Exists("target.ini.tmp"));
    EXPECT_FALSE(fs::exists(lg.UserIni()));
    EXPECT_NE(o.trace.find("\"ev\":\"records\",\"file\":\"" + lg.game.File("Kiv.ini") + "\",\"user\":false"),
              std::string::npos)
        << o.trace;
}

TEST(RecordsLink, ATargetChangedAfterTheRecordsWereReadIsNotWrittenEither) {
    // Read through the link while it led to a records file, then the file is swapped for a
    // link to another of the player's files: the save neither follows it nor replaces it.
    LinkedGame lg(Target::RecordsFile);
    lg.elsewhere.Write("bashrc", "alias ls='ls -F'\n");
    RecordsGame rg(lg.game.Path());
    testing::internal::CaptureStderr();
    rg.Load();
    EXPECT_EQ(rg.g.Records.StagesOpen, 3);
    fs::remove(lg.target);
    fs::create_symlink(lg.elsewhere.File("bashrc"), lg.target);
    EXPECT_TRUE(rg.Save());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lg.elsewhere.Read("bashrc"), "alias ls='ls -F'\n");
    EXPECT_TRUE(fs::is_symlink(lg.target));
    EXPECT_NE(lg.ReadUserIni().find("Stage=3\r\n"), std::string::npos);
    EXPECT_EQ(Count(err, "Kiv.ini links to a file that is not a records file"), 1u) << err;
    // From then on the records stay in the player's folder, and nothing more is said.
    testing::internal::CaptureStderr();
    EXPECT_TRUE(rg.Save());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(RecordsLink, ALinkInACircleIsRefusedToo) {
    TempDir game, data;
    ScopedEnv xdg("XDG_DATA_HOME", data.Path());
    fs::create_symlink("Kiv.ini", game.File("Kiv.ini"));
    RecordsGame rg(game.Path());
    testing::internal::CaptureStderr();
    rg.Load();
    EXPECT_TRUE(rg.Save());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Count(err, "not a records file"), 1u) << err;
    EXPECT_TRUE(rg.g.Records.IniInUserFolder);
    EXPECT_TRUE(fs::is_symlink(game.File("Kiv.ini")));
}

// The same, with the program itself run headless over a whole game folder.
TEST(RecordsLink, TheProgramKeepsToTheSameRules) {
    for (Target t : {Target::FileWithoutSection, Target::Folder, Target::Missing, Target::FileInReadOnlyFolder,
                     Target::RecordsFile}) {
        SCOPED_TRACE(Name(t));
        LinkedGame lg(t);
        WriteMinimalGame(lg.game);
        TempDir out;
        const ProgramRun run = RunProgram(out, "--headless --data " + lg.game.Path(), "frames 10\nclose\n");
        EXPECT_EQ(run.status, 0) << run.err;
        if (t == Target::RecordsFile) {
            EXPECT_EQ(run.err.find("records"), std::string::npos) << run.err;
            EXPECT_NE(lg.elsewhere.Read("target.ini").find("[Kiv]\r\nStage=3\r\nRank01="), std::string::npos);
            EXPECT_FALSE(fs::exists(lg.UserIni()));
            continue;
        }
        EXPECT_EQ(lg.Snapshot(), lg.before);
        EXPECT_EQ(Count(run.err, lg.Refusal()), 1u) << run.err;
        EXPECT_NE(run.trace.find("\"ev\":\"records\",\"file\":\"" + lg.UserIni() + "\",\"user\":true"),
                  std::string::npos)
            << run.trace;
        EXPECT_NE(lg.ReadUserIni().find("Rank30="), std::string::npos);
    }
}

}  // namespace
}  // namespace kiv
