// The command line, closing from a scene, and what start-up does with an unreadable Kiv.txt.
#include <gtest/gtest.h>

#include <stdexcept>

#include "data/data_files.h"
#include "game/scene_control.h"
#include "shell/launch.h"
#include "test_game.h"

namespace kiv {
namespace {

bool Parse(std::vector<const char*> args, LaunchOptions& opt, std::string& error) {
    args.insert(args.begin(), "kiv");
    return ParseCommandLine(static_cast<int>(args.size()), args.data(), opt, error);
}

TEST(CommandLine, FlagsStandAnywhereAndOnlyTheFirstWordPicksTheDisplay) {
    LaunchOptions opt;
    std::string error;
    ASSERT_TRUE(Parse({"wideflower", "--headless", "--data", "/g", "--trace", "t.jsonl", "--seed", "010"}, opt, error));
    EXPECT_EQ(opt.firstArg, "wideflower");
    EXPECT_TRUE(opt.headless);
    EXPECT_EQ(opt.dataDir, "/g");
    EXPECT_EQ(opt.traceFile, "t.jsonl");
    EXPECT_TRUE(opt.seedGiven);
    EXPECT_EQ(opt.seed, 10u);  // decimal, never octal

    ASSERT_TRUE(Parse({"--seed", "0x1F", "wideflower"}, opt, error));
    EXPECT_EQ(opt.firstArg, "--seed");
    EXPECT_EQ(opt.seed, 31u);
    ASSERT_TRUE(Parse({"--seed", "-1"}, opt, error));
    EXPECT_EQ(opt.seed, 0xFFFFFFFFu);
    ASSERT_TRUE(Parse({}, opt, error));
    EXPECT_EQ(opt.firstArg, "");
    EXPECT_FALSE(opt.headless);

    for (std::vector<const char*> bad : {std::vector<const char*>{"--seed", "1e3"},
                                         {"--seed", "99999999999"},
                                         {"--seed"},
                                         {"--data"},
                                         {"--script", "s.txt"},
                                         {"--fast"}}) {
        EXPECT_FALSE(Parse(bad, opt, error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(CloseForm, ASceneClosesTheWindowAndTheRecordsAreSaved) {
    TempDir dir;
    WriteMinimalGame(dir);
    HeadlessGame h(dir.Path());
    h.Frames(2);
    CloseForm(h.game);
    EXPECT_TRUE(h.game.Shell.HaltRequested);
    EXPECT_TRUE(h.platform.Closed());
    h.Frames(3);  // the loop is over: nothing more runs
    EXPECT_EQ(h.game.Shell.FramesRun, 2u);
    h.form.FormDestroy();
    h.destroyed = true;
    EXPECT_NE(dir.Read("Kiv.ini").find("[Kiv]"), std::string::npos);
}

// Runs two frames, then fails the way a bad allocation or a library would.
class FailingPlatform : public HeadlessPlatform {
public:
    void Run(FormEvents& form) override {
        Step(form);
        Step(form);
        SetCursor(kCursorNone);
        throw std::runtime_error("out of luck");
    }
};

TEST(RunGame, AnErrorThatEndsTheLoopStillRestoresThePointerAndSavesTheRecords) {
    TempDir dir;
    WriteMinimalGame(dir);
    FailingPlatform p;
    LaunchOptions opt;
    opt.headless = true;
    opt.dataDir = dir.Path();
    opt.seedGiven = true;
    testing::internal::CaptureStderr();
    const int status = RunGame(p, opt, "/nonexistent/kiv");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, kExitHalted);
    EXPECT_NE(err.find("out of luck"), std::string::npos) << err;
    EXPECT_EQ(p.Cursor(), kCursorDefault);
    EXPECT_NE(dir.Read("Kiv.ini").find("Rank30="), std::string::npos);
}

TEST(StartUp, AKivTxtTooLargeToBeOneStopsLikeAMalformedOne) {
    TempDir dir;
    WriteMinimalGame(dir);
    dir.Write("Kiv.txt", std::string(kMaxTextFileBytes + 1, ' '));
    HeadlessGame h(dir.Path());
    EXPECT_FALSE(h.created);
    ASSERT_EQ(h.platform.Messages().size(), 1u);
    EXPECT_NE(h.platform.Messages()[0].find("Kiv.txt"), std::string::npos);
    EXPECT_EQ(h.game.Shell.FramesRun, 0u);
    EXPECT_FALSE(dir.Exists("Kiv.ini"));
}

class CountingPlatform : public HeadlessPlatform {
public:
    int restarts = 0;

protected:
    void DoTimerChanged() override { ++restarts; }
};

TEST(Timer, SettingTheSameIntervalLeavesTheTimerRunning) {
    CountingPlatform p;
    p.SetTimerInterval(40);
    p.SetTimerInterval(40);
    EXPECT_EQ(p.restarts, 1);
    p.SetTimerInterval(80);
    p.SetTimerInterval(0);
    EXPECT_EQ(p.restarts, 3);
}

}  // namespace
}  // namespace kiv
