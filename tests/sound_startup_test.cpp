// The title music of the real binary, run headless: started at start-up, looped, stopped at the end.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
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
    out.Write("script.txt", "frames 6\n");
    std::string cmd = std::string(KIV_BINARY) + " --headless --seed 1 --data " + game.Path() + " --script " +
                      out.File("script.txt") + " --trace " + out.File("trace.jsonl") + " 2>" + out.File("err.txt");
    int raw = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 0) << out.Read("err.txt");
    const std::string t = out.Read("trace.jsonl");
    EXPECT_NE(t.find("{\"t\":0,\"frame\":0,\"ev\":\"music\",\"action\":\"play\",\"file\":\"Kv01.mid\"}"),
              std::string::npos) << t;
    // 40 ms frames: the first frame at or past 200 ms restarts the tune.
    EXPECT_NE(t.find("{\"t\":200,\"frame\":5,\"ev\":\"music\",\"action\":\"loop\",\"file\":\"Kv01.mid\"}"),
              std::string::npos) << t;
    EXPECT_NE(t.find("\"ev\":\"music\",\"action\":\"stop\",\"file\":\"Kv01.mid\"}"), std::string::npos) << t;
}

}  // namespace
}  // namespace kiv
