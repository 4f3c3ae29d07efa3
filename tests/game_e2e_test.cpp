// A whole challenge run of the bundled game through the real binary: the opening, the menu's
// challenge item, all ten stages cleared, the ending, the results with a name entered, and back
// to the opening; then Kiv.ini holds the new first rank.
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>

#include "data/config_reader.h"
#include "data/strings.h"
#include "demo_scripts.h"
#include "test_game.h"

namespace kiv {
namespace {

struct RunResult {
    std::string trace, ini;
};

RunResult Play(const std::string& script) {
    TempDir game, out;
    RunResult r;
    if (!CopyDemoGame(game)) return r;
    const ProgramRun run = RunProgram(out, "--headless --seed 11 --data " + game.Path(), script);
    EXPECT_EQ(run.status, 0) << run.err;
    r.trace = run.trace;
    r.ini = game.Read("Kiv.ini");
    return r;
}

class GameEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        TempDir game;
        if (!CopyDemoGame(game)) GTEST_SKIP() << "the bundled game has not been generated";
        cfg = std::make_unique<Config>();
        ASSERT_TRUE(ParseConfiguration(game.Read("Kiv.txt"), game.Path(), *cfg).ok);
    }
    std::unique_ptr<Config> cfg;
};

TEST_F(GameEndToEnd, AChallengeRunClearsEveryStageAndTheNamedResultRanksFirst) {
    const RunResult r = Play(ChallengeRun(*cfg, "player", false));

    // Every stage was cleared with its twenty points, each leading to the next and the last to
    // the ending; the kept times of stages 1..8 make the total.
    const std::regex stageEvent(
        "\"ev\":\"stage\",\"stage\":([0-9]+),\"points\":([0-9]+),\"outcome\":([0-9]+),"
        "\"time\":([0-9]+),\"next\":([0-9]+)");
    int stages = 0, total = 0;
    for (auto it = std::sregex_iterator(r.trace.begin(), r.trace.end(), stageEvent); it != std::sregex_iterator();
         ++it) {
        const int stage = std::stoi((*it)[1]);
        ++stages;
        EXPECT_EQ(stage, stages);
        EXPECT_EQ((*it)[2], "20") << "stage " << stage;
        EXPECT_EQ((*it)[3], "0") << "stage " << stage;
        EXPECT_EQ(std::stoi((*it)[5]), stage == 10 ? 12 : stage + 2);
        if (stage <= 8) total += std::stoi((*it)[4]);
    }
    ASSERT_EQ(stages, 10) << r.trace.substr(0, 3000);
    ASSERT_GT(total, 2950) << "the total beats every preset";

    const std::string first = "Rank01=";
    const size_t at = r.ini.find(first);
    ASSERT_NE(at, std::string::npos) << r.ini;
    const std::string entry = r.ini.substr(at + first.size(), 16);
    EXPECT_TRUE(std::regex_match(entry.substr(0, 5), std::regex("[a-z]{5}"))) << entry;
    EXPECT_EQ(entry.substr(5), "player" + ZeroPad(5, total)) << r.ini;
    EXPECT_NE(r.ini.find("Rank02=*****master02950"), std::string::npos) << r.ini;
    // The run ended back in the opening.
    EXPECT_NE(r.trace.rfind("\"ev\":\"frame\",\"scene\":0,"), std::string::npos);
}

TEST_F(GameEndToEnd, AnAssistKeyUsedInTheRunLeavesTheFirstRankWithoutItsCode) {
    const RunResult r = Play(ChallengeRun(*cfg, "helped", true));
    const size_t at = r.ini.find("Rank01=");
    ASSERT_NE(at, std::string::npos) << r.ini;
    EXPECT_EQ(r.ini.substr(at + 7, 11), "*****helped") << r.ini;
}

}  // namespace
}  // namespace kiv
