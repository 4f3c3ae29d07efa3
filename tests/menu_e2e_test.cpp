// The title menu through the real binary on the bundled game: "memories clear", then the end
// button, which closes the program normally and leaves the records saved.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "test_support.h"

namespace kiv {
namespace {

bool CopyBundledGame(const TempDir& into) {
    namespace fs = std::filesystem;
    const fs::path from(KIV_GAME_DIR);
    if (!fs::exists(from / "Kiv.txt")) return false;
    for (const auto& e : fs::directory_iterator(from)) {
        const std::string name = e.path().filename().string();
        if (!e.is_regular_file() || name == "kiv" || name == "Kiv.ini") continue;
        fs::copy_file(e.path(), into.File(name));
    }
    return true;
}

TEST(MenuEndToEnd, MemoriesClearThenTheEndButtonExitsWithStatusZero) {
    TempDir game, out;
    if (!CopyBundledGame(game)) GTEST_SKIP() << "the bundled game has not been generated";
    game.Write("Kiv.ini", "[Kiv]\r\nStage=8\r\n");
    out.Write("script.txt",
              "frames 5\nclick 320 240\nuntil-scene 1 200\nuntil-step 12 200\n"
              "click 320 240 right\nuntil-step 14 100\nclick 320 240\nuntil-step 12 200\n"
              "click 480 260\nuntil-step 14 100\nclick 480 260\nframes 100\n");
    const std::string cmd = std::string(KIV_BINARY) + " --headless --seed 1 --data " + game.Path() + " --script " +
                            out.File("script.txt") + " --trace " + out.File("trace.jsonl") + " 2>" +
                            out.File("stderr.txt");
    const int raw = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 0) << out.Read("stderr.txt");
    const std::string trace = out.Read("trace.jsonl");
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
