// What a first play of the bundled demo shows: the ink pot at the refill spot of every stage
// in play, however much is rubbed around it, in the 640 x 480 window and in the 580 x 380 one
// (where every stage can still be cleared). How its lines are typed: sdl/demo_speech_test.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "data/config_reader.h"
#include "test_game.h"

namespace kiv {
namespace {

struct Shot {
    int width = 0, height = 0;
    std::string bytes;  // the 24-bit bottom-up BMP the script's screenshot command writes
    uint32_t At(int x, int y) const {
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
        const size_t at = 54 + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3;
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8 | static_cast<uint8_t>(bytes[at]);
    }
};

Shot ReadShot(const TempDir& dir, const std::string& name) {
    Shot s;
    s.bytes = dir.Read(name);
    if (s.bytes.size() < 54) return s;
    auto le = [&](size_t at) {
        return static_cast<int>(static_cast<uint8_t>(s.bytes[at]) | static_cast<uint8_t>(s.bytes[at + 1]) << 8);
    };
    s.width = le(18);
    s.height = le(22);
    if (s.bytes.size() < 54 + (static_cast<size_t>(s.width) * 3 + 3) / 4 * 4 * static_cast<size_t>(s.height))
        s.width = s.height = 0;
    return s;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {16, 8, 0})
        if (std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)) > tolerance)
            return false;
    return true;
}

// The pot as the demo draws it: blue ink in a glass bottle under a brown cork. Counts the pixels
// of the 35 x 35 square at the spot that have the ink's and the cork's colours.
struct PotSignature {
    int ink = 0, cork = 0;
};
PotSignature PotAt(const Shot& s, int cx, int cy) {
    PotSignature p;
    for (int y = cy - 17; y < cy + 18; ++y)
        for (int x = cx - 17; x < cx + 18; ++x) {
            if (x < 0 || y < 0 || x >= s.width || y >= s.height) continue;
            p.ink += Near(s.At(x, y), 0x2563EB, 40);
            p.cork += Near(s.At(x, y), 0xB7793F, 40);
        }
    return p;
}

// The hit point of a press is the pointer + (9, 7).
std::string ClickOn(int x, int y) {
    return "click " + std::to_string(x - 9) + " " + std::to_string(y - 7) + "\nframes 1\n";
}

// A stroke round the spot whose stamps reach into the pot's square from every side.
std::string RubAround(int cx, int cy, int radius) {
    std::string s;
    for (int k = 0; k <= 30; ++k) {
        const double a = k * 12 * M_PI / 180;
        const int x = static_cast<int>(std::lround(cx + radius * std::cos(a))) - 9;
        const int y = static_cast<int>(std::lround(cy + radius * std::sin(a))) - 7;
        s += (k == 0 ? "press " : "move ") + std::to_string(x) + " " + std::to_string(y) + "\nframes 1\n";
    }
    return s + "release " + std::to_string(cx + radius - 9) + " " + std::to_string(cy - 7) + "\nframes 1\n";
}

class DemoFirstPlay : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CopyDemoGame(game)) GTEST_SKIP() << "the bundled game has not been generated";
        cfg = std::make_unique<Config>();
        ASSERT_TRUE(ParseConfiguration(game.Read("Kiv.txt"), game.Path(), *cfg).ok);
    }

    // A challenge run: in each stage the spot is pressed, rubbed round and pressed again, every
    // check point is pressed, and the window is shot in play, before the stage is finished.
    ProgramRun ChallengeRun(const std::string& firstArg) {
        std::string s =
            "frames 5\nclick 320 240\nuntil-scene 1 300\nuntil-step 12 300\n"
            "click 530 245\nuntil-step 14 100\nclick 530 245\n";
        for (int stage = 0; stage < 10; ++stage) {
            const auto& w = cfg->StageLayout[static_cast<size_t>(stage)];
            s += "until-scene " + std::to_string(stage + 2) +
                 " 300\nuntil-step 4 3000\nclick 320 240\nuntil-step 50 20\n";
            s += ClickOn(w[5], w[6]) + RubAround(w[5], w[6], 40) + RubAround(w[5], w[6], 44) + ClickOn(w[5], w[6]);
            for (const Point16& p : cfg->CheckPoints[static_cast<size_t>(stage)]) s += ClickOn(p.X, p.Y);
            s += "frames 2\nscreenshot " + out.File("stage" + std::to_string(stage + 1) + ".bmp") + "\n";
            s += "click 320 240 right\nuntil-step 84 500\nclick 320 240\nuntil-step 98 500\nclick 320 240\n";
        }
        s += "until-scene 12 300\nframes 5\n";
        return RunProgram(out, (firstArg.empty() ? "" : firstArg + " ") + "--headless --seed 3 --data " + game.Path(),
                          s);
    }

    void ExpectEveryStageClearedWithItsPot(const ProgramRun& r, int width, int height) {
        ASSERT_EQ(r.status, 0) << r.err;
        for (int stage = 1; stage <= 10; ++stage) {
            SCOPED_TRACE("stage " + std::to_string(stage));
            EXPECT_NE(
                r.trace.find("\"ev\":\"stage\",\"stage\":" + std::to_string(stage) + ",\"points\":20,\"outcome\":0"),
                std::string::npos);
            const Shot shot = ReadShot(out, "stage" + std::to_string(stage) + ".bmp");
            ASSERT_EQ(shot.width, width);
            ASSERT_EQ(shot.height, height);
            const auto& w = cfg->StageLayout[static_cast<size_t>(stage - 1)];
            const PotSignature pot = PotAt(shot, w[5], w[6]);
            EXPECT_GE(pot.ink, 150) << "no ink pot at the refill spot (" << w[5] << ", " << w[6] << ")";
            EXPECT_GE(pot.cork, 15) << "no cork on the pot at (" << w[5] << ", " << w[6] << ")";
        }
    }

    TempDir game, out;
    std::unique_ptr<Config> cfg;
};

TEST_F(DemoFirstPlay, EveryStageShowsItsInkPotAtTheRefillSpotInPlay) {
    ExpectEveryStageClearedWithItsPot(ChallengeRun(""), 640, 480);
}

// The small window shows the surfaces' upper-left 580 x 380 pixels: the pot and every check
// point lie there, so the demo plays to its end with presses inside that window.
TEST_F(DemoFirstPlay, TheSmallWindowShowsThePotAndReachesEveryCheckPoint) {
    for (int stage = 0; stage < 10; ++stage) {
        const auto& w = cfg->StageLayout[static_cast<size_t>(stage)];
        ASSERT_LE(w[6] + 18 + 1, 380) << "the pot of stage " << stage + 1 << " is cut by the window";
        for (const Point16& p : cfg->CheckPoints[static_cast<size_t>(stage)]) {
            ASSERT_LT(p.X, 580) << "stage " << stage + 1;
            ASSERT_LT(p.Y, 380) << "stage " << stage + 1;
        }
    }
    ExpectEveryStageClearedWithItsPot(ChallengeRun("wideflower"), 580, 380);
}

}  // namespace
}  // namespace kiv
