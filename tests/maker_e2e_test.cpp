// The maker's tools in headless runs of the program: "overlay on" puts the overlay into the
// screenshots and nowhere else, "reload" starts the stage again.
#include <gtest/gtest.h>

#include <string>

#include "test_game.h"

namespace kiv {
namespace {

class MakerRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CopyDemoGame(game)) GTEST_SKIP() << "the demo game has not been generated";
    }
    ProgramRun Run(const std::string& args, const std::string& script) {
        return RunProgram(out, "--headless --seed 3 --data " + game.Path() + " " + args, script);
    }
    std::string Shot(const std::string& name) { return "screenshot " + out.File(name) + "\n"; }
    TempDir game;
    TempDir out;
};

// The pixels of a 640 x 480 screenshot that differ between two of them.
int DifferentPixels(const std::string& a, const std::string& b) {
    if (a.size() != b.size() || a.size() < 54) return -1;
    int n = 0;
    for (size_t i = 54; i + 2 < a.size(); i += 3) n += a.compare(i, 3, b, i, 3) != 0;
    return n;
}

TEST_F(MakerRun, OverlayShowsInScreenshotsOnlyAndLeavesTheTraceAlone) {
    const std::string upTo = "until-step 4 3000\n";
    ProgramRun plain = Run("--stage 3", upTo + Shot("plain.bmp") + "frames 20\n");
    ASSERT_EQ(plain.status, 0) << plain.err;
    ProgramRun over =
        Run("--stage 3 --maker", upTo + "overlay on\n" + Shot("over.bmp") + "move 100 100\n" + Shot("moved.bmp") +
                                     "overlay off\n" + Shot("off.bmp") + "frames 10\noverlay on\nframes 10\n");
    ASSERT_EQ(over.status, 0) << over.err;
    EXPECT_EQ(over.trace, plain.trace) << "the overlay changed what the game did";
    const std::string base = out.Read("plain.bmp");
    // Circles, numbers and the panel: a good part of the picture, but far from all of it.
    const int drawn = DifferentPixels(base, out.Read("over.bmp"));
    EXPECT_GT(drawn, 3000);
    EXPECT_LT(drawn, 640 * 480 / 4);
    EXPECT_NE(out.Read("moved.bmp"), out.Read("over.bmp")) << "the pointer's place is shown";
    EXPECT_EQ(out.Read("off.bmp"), base);
}

TEST_F(MakerRun, ReloadStartsTheStageAgainAndSaysSo) {
    ProgramRun r = Run("--stage 2", "until-step 4 3000\nreload\nframes 1\nuntil-step 4 3000\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("kiv: the script asked: read Kiv.txt and the files of stage 2 again, and started it again"),
              std::string::npos)
        << r.err;
    // The introduction is typed twice: once at the start, once after the reload.
    const std::string line = "\"ev\":\"speech\",\"line\":1,";
    const size_t first = r.trace.find(line);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(r.trace.find(line, first + 1), std::string::npos) << r.trace;
}

TEST_F(MakerRun, BadOverlayOrReloadCommandsAreRefused) {
    for (const char* bad : {"overlay\n", "overlay maybe\n", "overlay on off\n", "reload now\n"}) {
        ProgramRun r = Run("", std::string("frames 1\n") + bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("script line 2: "), std::string::npos) << bad << r.err;
    }
}

}  // namespace
}  // namespace kiv
