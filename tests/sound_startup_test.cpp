// The title music of the real binary, run headless: started at start-up, looped, stopped at the end.
#include <gtest/gtest.h>

#include <string>

#include "sound_midi.h"
#include "test_game.h"

namespace kiv {
namespace {

TEST(SoundStartup, TitleMusicPlaysAtStartAndLoops) {
    TempDir game, out;
    KivTextLines text;
    text.lines[109] = "0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";  // slot 1: Kv01.mid
    WriteMinimalGame(game, text);
    game.Write("Kv01.mid", midi::TuneOfMs(200));
    const ProgramRun run = RunProgram(out, "--headless --seed 1 --data " + game.Path(), "frames 6\n");
    ASSERT_NE(run.status, -1);
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string& t = run.trace;
    EXPECT_NE(t.find("{\"t\":0,\"frame\":0,\"ev\":\"music\",\"action\":\"play\",\"file\":\"Kv01.mid\"}"),
              std::string::npos)
        << t;
    // 40 ms frames: the first frame at or past 200 ms restarts the tune.
    EXPECT_NE(t.find("{\"t\":200,\"frame\":5,\"ev\":\"music\",\"action\":\"loop\",\"file\":\"Kv01.mid\"}"),
              std::string::npos)
        << t;
    EXPECT_NE(t.find("\"ev\":\"music\",\"action\":\"stop\",\"file\":\"Kv01.mid\"}"), std::string::npos) << t;
}

}  // namespace
}  // namespace kiv
