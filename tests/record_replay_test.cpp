// Recording a run's input as a script (--record) and replaying it: the seed command, the lines
// as they reach the file, and a recorded run played again with the same game events.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/headless/script.h"
#include "shell/launch.h"
#include "shell/recorder.h"
#include "test_game.h"
#include "test_support.h"

namespace kiv {
namespace {

TEST(ScriptSeed, OnlyTheFirstCommandMayGiveTheSeed) {
    std::vector<ScriptCommand> script;
    std::string error;
    uint32_t seed = 0;
    ASSERT_TRUE(ParseScript("# recorded\n\nseed 0x10\nframes 3\n", script, error)) << error;
    ASSERT_TRUE(ScriptSeed(script, seed));
    EXPECT_EQ(seed, 16u);
    script.clear();
    ASSERT_TRUE(ParseScript("seed -1\n", script, error)) << error;
    ASSERT_TRUE(ScriptSeed(script, seed));
    EXPECT_EQ(seed, 4294967295u);
    script.clear();
    ASSERT_TRUE(ParseScript("frames 3\n", script, error));
    EXPECT_FALSE(ScriptSeed(script, seed));

    for (const char* bad : {"frames 1\nseed 5\n", "seed 5\nseed 6\n", "click 1 1\n# a comment\nseed 1\n"}) {
        script.clear();
        EXPECT_FALSE(ParseScript(bad, script, error)) << bad;
        EXPECT_NE(error.find("seed must be the first command"), std::string::npos) << error;
    }
    for (const char* bad : {"seed\n", "seed 1 2\n", "seed x\n", "seed 4294967296\n", "seed 0x\n", "seed 1.5\n"}) {
        script.clear();
        EXPECT_FALSE(ParseScript(bad, script, error)) << bad;
        EXPECT_EQ(error.rfind("script line 1: usage: seed N", 0), 0u) << error;
    }
}

// Into stage 1 through the menu, ink, strokes with and without Shift, the spot outlines, the
// clock switched to the timer and back, a pause and the end of the stage, then the ending.
std::string StagePlay() {
    return "frames 5\nclick 320 240\nuntil-scene 1 300\nuntil-step 12 300\n"
           "click 311 180\nuntil-step 14 100\nclick 311 180\n"
           "until-scene 2 300\nuntil-step 4 3000\nclick 320 240\nuntil-step 50 20\n"
           "click 38 326\nframes 2\n"
           "press 380 230\nmove 390 240\nframes 1\nmove 400 250\nmove 410 260\nframes 3\nrelease 410 260\n"
           "key f11\nframes 2\nkey ctrl\nframes 7\n"
           "press 420 300 shift\nmove 430 310 shift\nframes 2\nrelease 430 310\nkey ctrl\nframes 4\n"
           "click 320 240 right\nuntil-step 84 500\nclick 320 240\nuntil-step 98 500\nclick 320 240\n"
           "until-scene 12 300\nframes 40\n";
}

// The events a replay must give again, without the clock's time.
std::vector<std::string> GameEvents(const std::string& trace) {
    std::vector<std::string> out;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) {
        for (const char* ev : {"frame", "stage", "speech", "voice", "clock", "effect"}) {
            if (line.find(std::string("\"ev\":\"") + ev + "\"") == std::string::npos) continue;
            out.push_back(line.substr(line.find(",\"frame\"")));
        }
    }
    return out;
}

// A headless run of the program's own RunGame, recording its input when record is given.
int Play(const TempDir& game, const std::string& script, const std::string& trace, const std::string& record = "",
         uint32_t seed = 0) {
    HeadlessPlatform platform;
    std::vector<ScriptCommand> commands;
    std::string error;
    EXPECT_TRUE(ParseScript(script, commands, error)) << error;
    platform.SetScript(std::move(commands));
    EXPECT_TRUE(platform.GetTrace().Open(trace));
    LaunchOptions opt;
    opt.dataDir = game.Path();
    opt.recordFile = record;
    opt.seedGiven = seed != 0;
    opt.seed = seed;
    return RunGame(platform, opt, "/nowhere/kiv");
}

TEST(RecordReplay, ARecordedRunReplaysWithTheSameGameEventsAndRecords) {
    TempDir played, replayed, out;
    ASSERT_TRUE(CopyDemoGame(played));
    ASSERT_TRUE(CopyDemoGame(replayed));
    for (const TempDir* d : {&played, &replayed}) d->Write("Kiv.ini", "[Kiv]\r\nStage=1\r\nMyName=Tester\r\n");
    ASSERT_EQ(Play(played, StagePlay(), out.File("played.jsonl"), out.File("run.script"), 12345), 0);
    const std::string record = out.Read("run.script");
    ASSERT_EQ(record.rfind("seed 12345\n#", 0), 0u) << record.substr(0, 200);
    EXPECT_NE(record.find("\npress 420 300 shift\n"), std::string::npos);
    EXPECT_NE(record.find("\nkey ctrl\n"), std::string::npos);
    EXPECT_NE(record.find("\nrelease 320 240 right\n"), std::string::npos);
    EXPECT_EQ(record.find("until-"), std::string::npos);
    EXPECT_EQ(record.substr(record.size() - 7), "\nclose\n");

    // The replay is given another seed on its command line: the script's own wins.
    ASSERT_EQ(Play(replayed, record, out.File("replayed.jsonl"), "", 999), 0);
    const std::vector<std::string> a = GameEvents(out.Read("played.jsonl")), b = GameEvents(out.Read("replayed.jsonl"));
    ASSERT_GT(a.size(), 300u);
    EXPECT_EQ(a, b);
    EXPECT_NE(out.Read("replayed.jsonl").find("\"ev\":\"stage\""), std::string::npos);
    EXPECT_EQ(played.Read("Kiv.ini"), replayed.Read("Kiv.ini"));
}

TEST(RecordReplay, TheSeedOfAScriptIsTheSeedOfTheRun) {
    TempDir game, out;
    ASSERT_TRUE(CopyDemoGame(game));
    auto events = [&](const std::string& args, const std::string& script) {
        game.Write("Kiv.ini", "[Kiv]\r\nStage=1\r\n");
        const ProgramRun r = RunProgram(out, "--headless --data " + game.Path() + args, script);
        EXPECT_EQ(r.status, 0) << r.err;
        return GameEvents(r.trace);
    };
    const auto bySeedFlag = events(" --seed 7", StagePlay());
    EXPECT_EQ(events("", "seed 7\n" + StagePlay()), bySeedFlag);
    EXPECT_EQ(events(" --seed 8", "seed 7\n" + StagePlay()), bySeedFlag);
    EXPECT_NE(events(" --seed 8", StagePlay()), bySeedFlag);  // the seed shows in the game
    const ProgramRun late = RunProgram(out, "--headless --data " + game.Path(), "frames 1\nseed 7\n");
    EXPECT_EQ(late.status, 2);
    EXPECT_NE(late.err.find("script line 2: seed must be the first command"), std::string::npos) << late.err;
}

// A form that counts its frames as a game does: one for each tick of the clock.
struct CountingForm : FormEvents {
    uint64_t frames = 0;
    int presses = 0;
    bool closeOnTick = false, closed = false;
    void MouseDown(MouseButton, bool, int, int) override { ++presses; }
    void MouseMove(bool, int, int) override {}
    void MouseUp(MouseButton, bool, int, int) override {}
    void KeyUp(uint16_t, bool) override {}
    void Paint() override {}
    bool CloseQuery() override { return closed = true; }
    void Idle() override {
        if (closeOnTick)
            closed = true;
        else
            ++frames;
    }
    void TimerTick() override { ++frames; }
    uint32_t IdleDelay() override { return 0; }
};

TEST(RecordReplay, EveryLineIsInTheFileAsItHappensAndTheFramesAreKeptUpToDate) {
    TempDir out;
    CountingForm form;
    InputRecorder rec(
        form, [&] { return form.frames; }, [&] { return form.closed; });
    std::string error;
    ASSERT_TRUE(rec.Open(out.File("r.script"), 42, "a test", error)) << error;
    EXPECT_EQ(out.Read("r.script"), "seed 42\n# a test\n");
    rec.MouseDown(MouseButton::Left, false, 10, 20);  // before any frame: no frames line
    EXPECT_EQ(form.presses, 1);
    for (int i = 0; i < 9; ++i) rec.Idle();
    // Killed now, the file says all there was.
    EXPECT_EQ(out.Read("r.script"), "seed 42\n# a test\npress 10 20\nframes 9\n");
    rec.Idle();
    EXPECT_EQ(out.Read("r.script"), "seed 42\n# a test\npress 10 20\nframes 10\n");
    rec.MouseMove(true, -5, 700);
    rec.MouseUp(MouseButton::Middle, true, -5, 700);
    rec.KeyUp(vk::F12, false);
    rec.KeyUp(65, false);
    rec.TimerTick();
    rec.Paint();
    form.closeOnTick = true;  // a game halting over a missing file closes on a tick of its own
    rec.Idle();
    ASSERT_TRUE(rec.Finish());
    EXPECT_EQ(out.Read("r.script"),
              "seed 42\n# a test\npress 10 20\nframes 10\nmove -5 700 shift\nrelease -5 700 middle\nkey f12\n"
              "key 65\nframes 1\npaint\nframes 1\n");
    std::vector<ScriptCommand> parsed;
    EXPECT_TRUE(ParseScript(out.Read("r.script"), parsed, error)) << error;

    InputRecorder refused(
        form, [&] { return form.frames; }, [&] { return form.closed; });
    EXPECT_FALSE(refused.Open(out.File("no/such/folder/r.script"), 1, "", error));
    EXPECT_NE(error.find("cannot write the record"), std::string::npos) << error;
}

TEST(RecordReplay, RecordIsForWindowRunsOnly) {
    LaunchOptions opt;
    std::string error;
    const char* headless[] = {"kiv", "--headless", "--record", "r.script"};
    EXPECT_FALSE(ParseCommandLine(4, headless, opt, error));
    EXPECT_NE(error.find("--record works only in a window"), std::string::npos) << error;
    const char* empty[] = {"kiv", "--record", ""};
    EXPECT_FALSE(ParseCommandLine(3, empty, opt, error));
    const char* window[] = {"kiv", "--record", "r.script"};
    EXPECT_TRUE(ParseCommandLine(3, window, opt, error)) << error;
    EXPECT_EQ(opt.recordFile, "r.script");
}

}  // namespace
}  // namespace kiv
