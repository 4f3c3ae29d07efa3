// The frame clock, the display modes and the keys, on the headless platform's virtual tick.
#include <gtest/gtest.h>

#include "game/scene_control.h"
#include "test_game.h"

namespace kiv {
namespace {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override { WriteMinimalGame(dir); }
    TempDir dir;
};

TEST_F(ShellTest, IdleClockRunsAFrameEachIntervalAndNeverEarly) {
    HeadlessGame h(dir.Path());
    ASSERT_TRUE(h.created);
    EXPECT_EQ(h.game.Shell.FrameInterval, 40);
    EXPECT_TRUE(h.platform.IdleHandlerOn());
    EXPECT_EQ(h.platform.TimerInterval(), 0u);

    h.Frames(3);
    EXPECT_EQ(h.game.Shell.FramesRun, 3u);
    EXPECT_EQ(h.platform.TickCount(), 120u);
    EXPECT_EQ(h.game.Shell.LastFrameTick, 120u);

    // Polling before the interval has passed runs nothing.
    h.platform.SetTick(150);
    h.form.AppEvIdle();
    EXPECT_EQ(h.game.Shell.FramesRun, 3u);
    EXPECT_EQ(h.form.IdleDelay(), 10u);
    h.platform.SetTick(160);
    h.form.AppEvIdle();
    EXPECT_EQ(h.game.Shell.FramesRun, 4u);

    SetFrameInterval(h.game, 80);
    h.Frames(2);
    EXPECT_EQ(h.platform.TickCount(), 320u);
}

TEST_F(ShellTest, IdleClockKeepsItsPaceAcrossTheTickWrap) {
    HeadlessGame h(dir.Path());
    // The last frame before the wrap; the next one is due 40 ms later, past 2^32.
    h.platform.SetTick(0xFFFFFFF0u);
    h.game.Shell.LastFrameTick = 0xFFFFFFF0u;
    const uint64_t frames = h.game.Shell.FramesRun;
    for (uint32_t early : {0xFFFFFFF8u, 0xFFFFFFFFu, 0x0u, 0x17u}) {
        h.platform.SetTick(early);
        h.form.AppEvIdle();
        EXPECT_EQ(h.game.Shell.FramesRun, frames) << "no frame at tick " << early;
    }
    h.platform.SetTick(0x18u);
    h.form.AppEvIdle();
    EXPECT_EQ(h.game.Shell.FramesRun, frames + 1);
    EXPECT_EQ(h.game.Shell.LastFrameTick, 0x18u);

    h.platform.SetTick(0xFFFFFF00u);
    h.game.Shell.LastFrameTick = 0xFFFFFF00u;
    h.Frames(10);  // 400 ms: the tick passes 2^32 on the way
    EXPECT_EQ(h.game.Shell.FramesRun, frames + 11);
    EXPECT_EQ(h.platform.TickCount(), 0xFFFFFF00u + 400u);
}

// A clock that moves on by 7 ms every time it is read, as a real one does during a frame.
class MovingClock : public HeadlessPlatform {
public:
    uint32_t TickCount() override { return HeadlessPlatform::TickCount() + 7 * ++reads; }
    uint32_t reads = 0;
};

TEST_F(ShellTest, TheTimerClockKeepsTheTickReadAfterTheFrame) {
    MovingClock p;
    Game g{p};
    g.DataDirOverride = dir.Path();
    g.SeedGiven = true;
    TFM1 form{g};
    ASSERT_TRUE(form.FormCreate());
    form.KeyUp(vk::Control, false);
    ASSERT_TRUE(g.Shell.TimerDriven);
    const uint32_t before = p.TickCount();
    form.Timer1Timer();
    EXPECT_EQ(g.Shell.FramesRun, 1u);
    // The frame itself read the clock (its presents are stamped), so the tick taken after it
    // is a later one than any read before.
    EXPECT_GT(g.Shell.LastFrameTick, before + 7);
    form.FormDestroy();
}

TEST_F(ShellTest, CtrlSwitchesToTheTimerWithABeepAndBack) {
    TempDir out;
    HeadlessGame h(dir.Path());
    h.platform.GetTrace().Open(out.File("trace.jsonl"));
    h.form.KeyUp(vk::Control, false);
    EXPECT_TRUE(h.game.Shell.TimerDriven);
    EXPECT_FALSE(h.platform.IdleHandlerOn());
    EXPECT_EQ(h.platform.TimerInterval(), 40u);

    // While the timer drives, the interval follows SetFrameInterval.
    SetFrameInterval(h.game, 25);
    EXPECT_EQ(h.platform.TimerInterval(), 25u);
    h.Frames(4);
    EXPECT_EQ(h.game.Shell.FramesRun, 4u);
    EXPECT_EQ(h.platform.TickCount(), 100u);

    h.form.KeyUp(vk::Control, false);
    EXPECT_FALSE(h.game.Shell.TimerDriven);
    EXPECT_TRUE(h.platform.IdleHandlerOn());
    EXPECT_EQ(h.platform.TimerInterval(), 0u);
    // Back on the idle clock, a frame interval only sets the value.
    SetFrameInterval(h.game, 30);
    EXPECT_EQ(h.platform.TimerInterval(), 0u);
    h.Frames(2);
    EXPECT_EQ(h.game.Shell.FramesRun, 6u);

    h.platform.GetTrace().Open("/dev/null");  // flush and close
    std::string trace = out.Read("trace.jsonl");
    EXPECT_NE(trace.find("\"ev\":\"clock\",\"mode\":\"timer\"}\n{\"t\":0,\"frame\":0,\"ev\":\"beep\"}"),
              std::string::npos)
        << trace;
    EXPECT_NE(trace.find("\"ev\":\"clock\",\"mode\":\"idle\""), std::string::npos);
    EXPECT_EQ(trace.find("beep", trace.find("\"mode\":\"idle\"")), std::string::npos);  // no beep going back
}

TEST_F(ShellTest, DisplayModeFollowsTheFirstArgumentAndF12) {
    {
        HeadlessGame h(dir.Path());
        EXPECT_TRUE(h.game.Shell.WideMode);
        EXPECT_EQ(h.platform.ClientWidth(), 640);
        EXPECT_EQ(h.platform.ClientHeight(), 480);
        EXPECT_TRUE(h.platform.Border());
        EXPECT_TRUE(h.platform.Visible());
        h.form.KeyUp(vk::F12, false);  // works in the opening too
        EXPECT_EQ(h.platform.ClientWidth(), 580);
        EXPECT_EQ(h.platform.ClientHeight(), 380);
        h.form.KeyUp(vk::F12, false);
        EXPECT_EQ(h.platform.ClientWidth(), 640);
    }
    {
        HeadlessGame h(dir.Path(), "wideflower");
        EXPECT_FALSE(h.game.Shell.WideMode);
        EXPECT_EQ(h.platform.ClientWidth(), 580);
        EXPECT_EQ(h.platform.ClientHeight(), 380);
        EXPECT_TRUE(h.platform.Border());
        EXPECT_FALSE(h.platform.Topmost());
    }
    for (const char* other : {"Wideflower", "wideflower ", "--headless", "x"}) {
        HeadlessGame h(dir.Path(), other);
        EXPECT_EQ(h.platform.ClientWidth(), 640) << other;
    }
}

TEST_F(ShellTest, ASmallScreenGetsABorderlessWindowOnTop) {
    for (auto [w, h, small] : {std::tuple{640, 480, true}, std::tuple{800, 510, true}, std::tuple{650, 600, true},
                               std::tuple{651, 511, false}, std::tuple{1024, 768, false}}) {
        HeadlessGame g(dir.Path());
        g.platform.SetScreenSize(w, h);
        ApplyDisplayMode(g.game);
        EXPECT_EQ(g.platform.Border(), !small) << w << "x" << h;
        EXPECT_EQ(g.platform.Topmost(), small) << w << "x" << h;
        // The small window is never borderless.
        g.form.KeyUp(vk::F12, false);
        EXPECT_TRUE(g.platform.Border());
        EXPECT_FALSE(g.platform.Topmost());
    }
}

}  // namespace
}  // namespace kiv
