// Stage 1 of the bundled game cleared by a scripted player through the real binary: the menu,
// the introduction, a refill, a drag that leaves the window, one press on each check point, the
// pause and the finish; the next scene is stage 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "data/config_reader.h"
#include "test_game.h"

namespace kiv {
namespace {

int Count(const std::string& text, const std::regex& re) {
    return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
}

TEST(ErasingEndToEnd, AScriptedPlayerClearsTheFirstStageOfTheBundledGame) {
    TempDir game, out;
    if (!CopyDemoGame(game)) GTEST_SKIP() << "the bundled game has not been generated";
    game.Write("Kiv.ini", "[Kiv]\r\nStage=1\r\n");
    auto cfg = std::make_unique<Config>();
    ASSERT_TRUE(ParseConfiguration(game.Read("Kiv.txt"), game.Path(), *cfg).ok);
    const auto& w = cfg->StageLayout[0];

    // The hit point of a press is the pointer + (9, 7).
    auto clickOn = [](int x, int y) { return "click " + std::to_string(x - 9) + " " + std::to_string(y - 7) + "\n"; };
    std::string script =
        "frames 5\nclick 320 240\nuntil-scene 1 300\nuntil-step 12 300\n"
        "click 311 180\nuntil-step 14 100\nclick 311 180\n"  // stage 1 chosen and confirmed
        "until-scene 2 200\nuntil-step 4 3000\nclick 320 240\nuntil-step 50 20\n" +
        clickOn(w[5], w[6]) + "frames 1\n";
    // A drag out of the window on both sides, released outside; the next move erases nothing.
    script +=
        "press 300 470\nframes 1\nmove -60 -40\nframes 1\nmove 900 700\nframes 1\nrelease 900 700\n"
        "move 300 300\nframes 2\n";
    for (const Point16& p : cfg->CheckPoints[0]) script += clickOn(p.X, p.Y) + "frames 1\n";
    script +=
        "click 320 240 right\nuntil-step 84 500\nclick 320 240\nuntil-step 98 500\nclick 320 240\n"
        "until-scene 3 50\nframes 2\n";
    const ProgramRun run = RunProgram(out, "--headless --seed 7 --data " + game.Path(), script);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& trace = run.trace;

    EXPECT_EQ(Count(trace, std::regex("\"ev\":\"stage\",\"stage\":1,\"points\":20,\"outcome\":0,[^\\n]*\"next\":3")), 1)
        << trace.substr(0, 2000);
    EXPECT_GT(Count(trace, std::regex("\"ev\":\"frame\",\"scene\":3,")), 0);
    // Twenty-three strokes: three of the drag, twenty on the check points.
    const std::string stroke0 = "\"ev\":\"effect\",\"slot\":0,", stroke1 = "\"ev\":\"effect\",\"slot\":1,";
    EXPECT_EQ(Count(trace, std::regex(stroke0)) + Count(trace, std::regex(stroke1)), 23);
    // The pointer, hidden at each press from the refill on, comes back at each release, also
    // at the one outside the window.
    std::vector<int> cursors;
    const std::regex cursorEvent("\"ev\":\"cursor\",\"id\":(-?[0-9]+)");
    for (auto it = std::sregex_iterator(trace.begin(), trace.end(), cursorEvent); it != std::sregex_iterator(); ++it)
        cursors.push_back(std::stoi((*it)[1]));
    const auto refill = std::find(cursors.begin(), cursors.end(), 2);
    ASSERT_GE(cursors.end() - refill, 43);
    for (int k = 1; k <= 42; ++k) EXPECT_EQ(refill[k], k % 2 ? -1 : 2) << k;
}

}  // namespace
}  // namespace kiv
