// The records through the real binary: a headless run of the bundled game that ends by closing
// the window writes Kiv.ini; a run that halts for a missing file writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_game.h"

namespace kiv {
namespace {

int RunHeadless(const TempDir& game, const TempDir& out, const std::string& script) {
    return RunProgram(out, "--headless --data " + game.Path(), script).status;
}

TEST(RecordsEndToEnd, ClosingTheWindowSavesStageAndPresetRanksWithoutTheName) {
    TempDir game, out;
    if (!CopyDemoGame(game)) GTEST_SKIP() << "the bundled game has not been generated";
    // Through the opening into the menu, then the window is closed.
    EXPECT_EQ(RunHeadless(game, out, "frames 20\nclick 320 240\nuntil-scene 1 200\nframes 10\nclose\n"), 0)
        << out.Read("stderr.txt");
    std::string ini = game.Read("Kiv.ini");
    EXPECT_EQ(ini.rfind("[Kiv]\r\nStage=1\r\n", 0), 0u) << ini;
    for (int k = 1; k <= 30; ++k) {
        std::string key = "\r\nRank" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "=*****";
        EXPECT_NE(ini.find(key), std::string::npos) << key;
    }
    EXPECT_EQ(ini.find("MyName"), std::string::npos);
    EXPECT_NE(out.Read("trace.jsonl").find("\"ev\":\"save\",\"file\":\"Kiv.ini\"}"), std::string::npos);

    // A halted run (a picture is missing) leaves the records alone, here and in a fresh folder.
    const std::string& saved = ini;
    std::filesystem::remove(game.File("Ptit.bmp"));
    std::filesystem::remove(game.File("Ptit.jpg"));
    EXPECT_EQ(RunHeadless(game, out, "frames 5\n"), 1);
    EXPECT_EQ(game.Read("Kiv.ini"), saved);
    EXPECT_EQ(out.Read("trace.jsonl").find("\"ev\":\"save\""), std::string::npos);

    std::filesystem::remove(game.File("Kiv.ini"));
    EXPECT_EQ(RunHeadless(game, out, "frames 5\n"), 1);
    EXPECT_FALSE(game.Exists("Kiv.ini"));
}

}  // namespace
}  // namespace kiv
