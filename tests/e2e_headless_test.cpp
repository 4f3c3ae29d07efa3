// The real binary, run headless with a script and a trace.
#include <gtest/gtest.h>

#include <string>

#include "test_game.h"

namespace kiv {
namespace {

class HeadlessBinary : public ::testing::Test {
protected:
    ProgramRun Run(const std::string& args, const std::string& script) { return RunProgram(out, args, script); }
    std::string Data() const { return "--headless --data " + game.Path(); }

    TempDir game;
    TempDir out;
};

TEST_F(HeadlessBinary, ScriptedRunShowsWindowClockAndKeys) {
    WriteMinimalGame(game);
    ProgramRun r = Run(Data() + " --seed 7",
                       "frames 3\nkey ctrl\nframes 2\nkey f12\nkey ctrl\nframes 1\n"
                       "screenshot " +
                           out.File("shot.bmp") + "\n");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string& t = r.trace;
    EXPECT_NE(t.find("\"ev\":\"window\",\"w\":640,\"h\":480,\"visible\":true,\"border\":true"), std::string::npos) << t;
    EXPECT_NE(t.find("\"ev\":\"interval\",\"ms\":40"), std::string::npos);
    EXPECT_NE(t.find("{\"t\":40,\"frame\":1,\"ev\":\"frame\",\"scene\":0,\"sc\":["), std::string::npos);
    EXPECT_NE(t.find("\"ev\":\"clock\",\"mode\":\"timer\""), std::string::npos);
    EXPECT_NE(t.find("\"ev\":\"beep\""), std::string::npos);
    EXPECT_NE(t.find("\"ev\":\"window\",\"w\":580,\"h\":380,\"visible\":true"), std::string::npos);
    EXPECT_NE(t.find("\"ev\":\"clock\",\"mode\":\"idle\""), std::string::npos);
    EXPECT_NE(t.find("{\"t\":240,\"frame\":6,\"ev\":\"frame\""), std::string::npos);
    EXPECT_NE(t.find("\"ev\":\"exit\",\"status\":0}"), std::string::npos);
    // The screenshot holds the client area as it was: 580 x 380, 24 bits.
    std::string bmp = out.Read("shot.bmp");
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<uint8_t>(bmp[18]) | static_cast<uint8_t>(bmp[19]) << 8, 580);
    EXPECT_EQ(static_cast<uint8_t>(bmp[22]) | static_cast<uint8_t>(bmp[23]) << 8, 380);
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(bmp.size(), 54u + 580u * 3u * 380u);
}

TEST_F(HeadlessBinary, WideflowerFirstSelectsTheSmallWindow) {
    WriteMinimalGame(game);
    ProgramRun r = Run("wideflower " + Data(), "frames 1\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.trace.find("\"w\":580,\"h\":380,\"visible\":true"), std::string::npos) << r.trace;
    EXPECT_EQ(r.trace.find("\"w\":640"), std::string::npos);
}

TEST_F(HeadlessBinary, MissingKivTxtHaltsWithoutSaving) {
    ProgramRun r = Run(Data(), "frames 5\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.trace.find("\"ev\":\"message\",\"text\":\"not find  Kiv.txt\""), std::string::npos) << r.trace;
    // The first tick hides the window; no frame ever runs.
    size_t shown = r.trace.find("\"visible\":true");
    ASSERT_NE(shown, std::string::npos);
    EXPECT_NE(r.trace.find("{\"t\":40,\"frame\":0,\"ev\":\"window\",\"w\":640,\"h\":480,\"visible\":false", shown),
              std::string::npos)
        << r.trace;
    EXPECT_EQ(r.trace.find("\"ev\":\"frame\""), std::string::npos);
    EXPECT_NE(r.trace.find("\"ev\":\"exit\",\"status\":1"), std::string::npos);
    EXPECT_NE(r.err.find("not find  Kiv.txt"), std::string::npos);
    EXPECT_FALSE(game.Exists("Kiv.ini"));
}

TEST_F(HeadlessBinary, MalformedNumberStopsBeforeAnyFrame) {
    KivTextLines text;
    text.lines[29] = "1 2 three 4";
    WriteMinimalGame(game, text);
    ProgramRun r = Run(Data(), "frames 5\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Kiv.txt line 30"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\"three\""), std::string::npos) << r.err;
    EXPECT_NE(r.trace.find("\"ev\":\"message\""), std::string::npos);
    EXPECT_EQ(r.trace.find("\"ev\":\"frame\""), std::string::npos);
    EXPECT_FALSE(game.Exists("Kiv.ini"));
}

TEST_F(HeadlessBinary, BadUsageAndGivingUpHaveTheirOwnStatus) {
    WriteMinimalGame(game);
    EXPECT_EQ(Run(Data() + " --bogus", "frames 1\n").status, 2);
    EXPECT_EQ(Run(Data() + " --seed", "frames 1\n").status, 2);
    EXPECT_EQ(Run(Data() + " --seed x12", "frames 1\n").status, 2);
    ProgramRun bad = Run(Data(), "frames 1\njump 3\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("script line 2"), std::string::npos) << bad.err;
    EXPECT_EQ(Run(Data(), "click 1 2 sideways\n").status, 2);
    EXPECT_EQ(Run(Data(), "frames -1\n").status, 2);

    ProgramRun gaveUp = Run(Data(), "# wait for a scene that never comes\nuntil-scene 9 25\n");
    EXPECT_EQ(gaveUp.status, 3);
    EXPECT_NE(gaveUp.trace.find("\"frame\":25,\"ev\":\"frame\""), std::string::npos);
    EXPECT_EQ(gaveUp.trace.find("\"frame\":26,"), std::string::npos);

    ProgramRun reached = Run(Data(), "until-scene 0\nuntil-step 0 5\n");
    EXPECT_EQ(reached.status, 0) << reached.err;
    EXPECT_EQ(reached.trace.find("\"ev\":\"frame\""), std::string::npos);  // already there: no frame runs
}

}  // namespace
}  // namespace kiv
