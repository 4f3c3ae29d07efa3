// kiv --stage N: straight into a stage, as the title menu starts it, with the records left as
// they were.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "data/configuration.h"
#include "test_game.h"

namespace kiv {
namespace {

// The events of a trace from the first frame of scene `scene` on, without the clock and the
// frame count (a run through the menu has run frames before), and without the frames' counters.
std::vector<std::string> EventsFromScene(const std::string& trace, int scene) {
    std::vector<std::string> out;
    const std::regex stamp(R"(^\{"t":\d+,"frame":\d+,)");
    const std::string first = "\"ev\":\"frame\",\"scene\":" + std::to_string(scene) + ",";
    bool on = false;
    for (size_t from = 0; from < trace.size();) {
        size_t end = trace.find('\n', from);
        if (end == std::string::npos) end = trace.size();
        const std::string line = trace.substr(from, end - from);
        from = end + 1;
        if (!on && line.find(first) != std::string::npos) on = true;
        if (on) out.push_back(std::regex_replace(line, stamp, "{"));
    }
    return out;
}

// The run of a stage up to its introduction's wait for a click, with a screenshot there.
std::string UpToIntroduction(int scene, const std::string& shot) {
    return "until-scene " + std::to_string(scene) + " 400\nuntil-step 4 3000\nscreenshot " + shot + "\nframes 30\n";
}

class StageStart : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CopyDemoGame(game)) GTEST_SKIP() << "the demo game has not been generated";
    }
    ProgramRun Run(const std::string& args, const std::string& script) {
        return RunProgram(out, "--headless --seed 7 --data " + game.Path() + " " + args, script);
    }
    TempDir game;
    TempDir out;
};

TEST_F(StageStart, StartsTheStageAsTheTitleMenuDoes) {
    game.Write("Kiv.ini", "[Kiv]\r\nStage=3\r\n");
    // Through the opening and the menu: stage 3 chosen and confirmed.
    ProgramRun menu = Run("",
                          "frames 5\nclick 320 240\nuntil-scene 1 300\nuntil-step 12 300\nclick 357 231\n"
                          "until-step 14 100\nclick 357 231\n" +
                              UpToIntroduction(4, out.File("menu.bmp")));
    ASSERT_EQ(menu.status, 0) << menu.err;
    ProgramRun direct = Run("--stage 3", UpToIntroduction(4, out.File("direct.bmp")));
    ASSERT_EQ(direct.status, 0) << direct.err;
    // The first frame the direct run shows is the stage's, set up with the stage's tune.
    EXPECT_NE(direct.trace.find("\"frame\":1,\"ev\":\"frame\",\"scene\":4,"), std::string::npos) << direct.trace;
    EXPECT_EQ(direct.trace.find("\"scene\":1,"), std::string::npos) << "the menu ran";
    // The same picture at the introduction, the same events from the stage's first frame on
    // (its lines, voices, cursors and presents); the music started as the menu starts it.
    EXPECT_EQ(out.Read("menu.bmp"), out.Read("direct.bmp"));
    const std::vector<std::string> viaMenu = EventsFromScene(menu.trace, 4);
    const std::vector<std::string> straight = EventsFromScene(direct.trace, 4);
    ASSERT_GT(straight.size(), 40u);
    EXPECT_EQ(viaMenu, straight);
    const std::string tune = "\"ev\":\"music\",\"action\":\"play\",\"file\":\"Kv02.mid\"";
    EXPECT_NE(menu.trace.find(tune), std::string::npos);
    EXPECT_NE(direct.trace.find(tune), std::string::npos);
}

TEST_F(StageStart, EveryStageStartsEvenThoseTheMenuDoesNotOffer) {
    for (int n : {1, 9, 10}) {
        ProgramRun r = Run("--stage " + std::to_string(n), "until-step 4 3000\n");
        EXPECT_EQ(r.status, 0) << n << ": " << r.err;
        EXPECT_NE(r.trace.find("\"frame\":1,\"ev\":\"frame\",\"scene\":" + std::to_string(n + 1) + ","),
                  std::string::npos)
            << n;
        EXPECT_NE(r.trace.find("\"ev\":\"speech\",\"line\":1,"), std::string::npos) << n;
    }
}

TEST_F(StageStart, LeavesTheRecordsAloneUnlessAStageIsCleared) {
    game.Write("Kiv.ini", "[Kiv]\r\nStage=1\r\n");
    // Stage 5 entered and given up: the menu still offers stage 1 only, the challenge was not
    // run, so no result enters the ranking.
    ProgramRun given = Run("--stage 5",
                           "until-step 4 3000\nclick 320 240\nuntil-step 50 20\nclick 320 240 right\n"
                           "until-step 84 500\nclick 320 240\nuntil-step 98 500\nclick 320 240\n"
                           "until-scene 12 50\nframes 5\n");
    ASSERT_EQ(given.status, 0) << given.err;
    EXPECT_NE(given.trace.find("\"ev\":\"stage\",\"stage\":5,\"points\":0,\"outcome\":1,"), std::string::npos)
        << given.trace;
    EXPECT_NE(game.Read("Kiv.ini").find("Stage=1\r\n"), std::string::npos) << game.Read("Kiv.ini");

    // Stage 5 cleared: stage 6 follows and is opened, as clearing it in play does.
    std::string clear = "until-step 4 3000\nclick 320 240\nuntil-step 50 20\n";
    auto onPoint = [](int x, int y) {
        return "click " + std::to_string(x - 9) + " " + std::to_string(y - 7) + "\nframes 1\n";
    };
    Config cfg;
    std::string error;
    ASSERT_EQ(LoadConfiguration(game.Path(), cfg, error), ConfigLoad::Read) << error;
    clear += onPoint(cfg.StageLayout[4][5], cfg.StageLayout[4][6]);
    for (const Point16& p : cfg.CheckPoints[4]) clear += onPoint(p.X, p.Y);
    clear +=
        "click 320 240 right\nuntil-step 84 500\nclick 320 240\nuntil-step 98 500\nclick 320 240\n"
        "until-scene 7 50\nuntil-step 4 3000\n";
    ProgramRun cleared = Run("--stage 5", clear);
    ASSERT_EQ(cleared.status, 0) << cleared.err;
    EXPECT_NE(cleared.trace.find("\"ev\":\"stage\",\"stage\":5,\"points\":20,\"outcome\":0,"), std::string::npos);
    EXPECT_NE(game.Read("Kiv.ini").find("Stage=6\r\n"), std::string::npos) << game.Read("Kiv.ini");
}

TEST_F(StageStart, RefusesAStageThatIsNotOne) {
    for (const char* bad : {"0", "11", "-1", "3x", "", "03.5"}) {
        ProgramRun r = RunProgram(out, std::string("--headless --stage '") + bad + "'", "frames 1\n");
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("--stage needs a stage number from 1 to 10, not '" + std::string(bad) + "'"),
                  std::string::npos)
            << r.err;
        EXPECT_TRUE(r.trace.empty()) << "a game started for --stage " << bad;
    }
}

}  // namespace
}  // namespace kiv
