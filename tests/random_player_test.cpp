// A few seeds of the random player over the bundled demo, under the sanitizers the tests are
// built with: every run ends cleanly and leaves thirty valid ranks. Thousands of seeds are a
// matter for tests/tools/random_player_main.cpp (see docs/headless.md).
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "test_support.h"
#include "tools/random_player.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

TEST(RandomPlayer, TheSameSeedGivesTheSameScriptAndSeedsDiffer) {
    const std::string a = randomplay::MakeScript(11, 3000);
    EXPECT_EQ(a, randomplay::MakeScript(11, 3000));
    EXPECT_NE(a, randomplay::MakeScript(12, 3000));
    EXPECT_NE(a.find("close\n"), std::string::npos);
    for (const char* word : {"click ", "press ", "move ", "release ", "frames ", "key f5", "shift"})
        EXPECT_NE(a.find(word), std::string::npos) << word;
}

TEST(RandomPlayer, RecordsChecksRefuseWhatTheGameNeverWrites) {
    TempDir dir;
    std::string good = "[Kiv]\r\nStage=3\r\n";
    for (int k = 1; k <= 30; ++k)
        good += "Rank" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "=" +
                (k == 1 ? std::string("kvmhzalice_02961") : "*****master0" + std::to_string(3000 - 50 * k)) + "\r\n";
    dir.Write("Kiv.ini", good);
    EXPECT_EQ(randomplay::CheckRecordsFile(dir.File("Kiv.ini"), "master"), "");
    auto bad = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        dir.Write("Kiv.ini", text);
        return randomplay::CheckRecordsFile(dir.File("Kiv.ini"), "master");
    };
    EXPECT_NE(bad("Rank30=*****master01500\r\n", ""), "");       // a rank missing
    EXPECT_NE(bad("kvmhzalice_02961", "kvmhzAlice_02961"), "");  // a letter the game has not
    EXPECT_NE(bad("*****master02000", "*****master03000"), "");  // out of order
    EXPECT_NE(bad("*****master02000", "*****master0200"), "");   // cut short
    EXPECT_EQ(randomplay::CheckRecordsFile(dir.File("none.ini"), "master"), "no Kiv.ini after the run");
}

TEST(RandomPlayer, AFewSeedsPlayTheDemoCleanly) {
    const fs::path demo(KIV_GAME_DIR);
    if (!fs::exists(demo / "Kiv.txt")) GTEST_SKIP() << "the bundled game has not been generated";
    TempDir work;
    fs::create_directory(work.File("game"));
    for (const auto& e : fs::directory_iterator(demo)) {
        const std::string name = e.path().filename().string();
        if (e.is_regular_file() && name != "kiv" && name != "Kiv.ini")
            fs::copy_file(e.path(), work.File("game/" + name));
    }
    randomplay::Setup s;
    s.binary = KIV_BINARY;
    s.gameDir = work.File("game");
    s.workDir = work.Path();
    s.presetName = randomplay::PresetNameOf(s.gameDir);
    ASSERT_EQ(s.presetName, "master");

    // Seeds that close early and late; 26 and 13 pass through every scene of the demo, 26 with a
    // whole challenge run, its ranked result and the name entered.
    std::set<int> scenes;
    for (uint32_t seed : {26u, 13u, 7u}) {
        const randomplay::Outcome o = randomplay::PlayOnce(s, seed);
        for (const std::string& p : o.problems) ADD_FAILURE() << "seed " << seed << ": " << p;
        scenes.insert(o.scenes.begin(), o.scenes.end());
    }
    for (int sc = 0; sc <= 13; ++sc)
        EXPECT_EQ(scenes.count(sc), 1u) << "no seed reached scene " << sc
                                        << ": pick seeds that do (kiv_random_player lists each seed's scenes)";
}

}  // namespace
}  // namespace kiv
