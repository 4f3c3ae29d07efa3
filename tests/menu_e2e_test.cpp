// The title menu through the real binary on the bundled game: "memories clear", then the end
// button, which closes the program normally and leaves the records saved.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "test_game.h"

namespace kiv {
namespace {

TEST(MenuEndToEnd, MemoriesClearThenTheEndButtonExitsWithStatusZero) {
    TempDir game, out;
    if (!CopyDemoGame(game)) GTEST_SKIP() << "the bundled game has not been generated";
    game.Write("Kiv.ini", "[Kiv]\r\nStage=8\r\n");
    const ProgramRun run = RunProgram(out, "--headless --seed 1 --data " + game.Path(),
                                      "frames 5\nclick 320 240\nuntil-scene 1 200\nuntil-step 12 200\n"
                                      "click 320 240 right\nuntil-step 14 100\nclick 320 240\nuntil-step 12 200\n"
                                      "click 480 260\nuntil-step 14 100\nclick 480 260\nframes 100\n");
    ASSERT_NE(run.status, -1);
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string& trace = run.trace;
    EXPECT_NE(trace.find("\"ev\":\"exit\",\"status\":0"), std::string::npos);
    // The end button closed the program: the last frame was step 20 of the menu with item 10.
    const size_t last = trace.rfind("\"ev\":\"frame\"");
    ASSERT_NE(last, std::string::npos);
    const std::string lastFrame = trace.substr(last, trace.find('\n', last) - last);
    EXPECT_TRUE(std::regex_search(lastFrame, std::regex("\"scene\":1,\"sc\":\\[20,20,[0-9]+,10,0,"))) << lastFrame;
    const std::string ini = game.Read("Kiv.ini");
    EXPECT_EQ(ini.rfind("[Kiv]\r\nStage=1\r\n", 0), 0u) << ini;
    EXPECT_NE(ini.find("Rank30=*****"), std::string::npos) << ini;
}

}  // namespace
}  // namespace kiv
