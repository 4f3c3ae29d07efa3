// Frames and presses reach the routine of the current scene, and no other.
#include <gtest/gtest.h>

#include <string>

#include "game/scene_control.h"
#include "test_game.h"

namespace kiv {
namespace {

class Routing : public ::testing::Test {
protected:
    void SetUp() override {
        WriteMinimalGame(dir);
        dir.Write("Q00.wav", "RIFF");  // every effect slot of the minimal game plays it
        h = std::make_unique<HeadlessGame>(dir.Path());
        ASSERT_TRUE(h->created);
        ASSERT_TRUE(h->platform.GetTrace().Open(dir.File("trace.jsonl")));
    }
    Game& g() { return h->game; }
    // Puts the game in a scene at a step with every other counter zeroed.
    void Enter(uint8_t scene, int16_t step) {
        ResetSceneCounters(g());
        g().Shell.SceneNo = scene;
        g().Shell.SceneCounters[1] = step;
        SetFrameInterval(g(), 77);
    }
    // The effect slots played since the last call, from the trace.
    std::string Effects() {
        h->platform.GetTrace().Open(dir.File("trace2.jsonl"));
        std::string trace = dir.Read("trace.jsonl");
        h->platform.GetTrace().Open(dir.File("trace.jsonl"));
        std::string slots;
        for (size_t at = trace.find("\"ev\":\"effect\",\"slot\":"); at != std::string::npos;
             at = trace.find("\"ev\":\"effect\",\"slot\":", at + 1))
            slots += trace[at + 21];
        return slots;
    }

    TempDir dir;
    std::unique_ptr<HeadlessGame> h;
};

TEST_F(Routing, EachSceneNumberRunsItsOwnFrame) {
    // The opening grows its first letter: no sound.
    Enter(0, 0);
    Effects();
    h->Frames(1);
    EXPECT_EQ(g().Shell.SceneCounters[0], 1);
    EXPECT_EQ(Effects(), "");

    // The menu slides its first slice in with sound 3.
    Enter(1, 0);
    h->Frames(1);
    EXPECT_EQ(g().Shell.SceneCounters[0], 1);
    EXPECT_EQ(Effects(), "3");

    // A stage in its six-frame pause before the closing words.
    Enter(5, 95);
    h->Frames(1);
    EXPECT_EQ(g().Shell.SceneCounters[0], 1);
    EXPECT_EQ(g().Shell.SceneCounters[1], 95);
    EXPECT_EQ(g().Shell.SceneNo, 5);

    // The ending and the results both pass straight on after a stage that was not cleared, at
    // frame intervals of their own.
    g().Play.StageOutcome = 1;
    Enter(12, 0);
    h->Frames(1);
    EXPECT_EQ(g().Shell.FrameInterval, 30);
    EXPECT_EQ(g().Shell.SceneCounters[1], 99);
    Enter(13, 0);
    h->Frames(1);
    EXPECT_EQ(g().Shell.FrameInterval, 40);
    EXPECT_EQ(g().Shell.SceneCounters[1], 99);

    // A scene number beyond the last runs nothing.
    for (uint8_t scene : {14, 200}) {
        Enter(scene, 0);
        const auto counters = g().Shell.SceneCounters;
        const auto image = h->platform.WindowImage();
        h->Frames(1);
        EXPECT_EQ(g().Shell.SceneCounters, counters);
        EXPECT_EQ(g().Shell.FrameInterval, 77);
        EXPECT_EQ(h->platform.WindowImage(), image);
    }
    EXPECT_EQ(Effects(), "");
}

TEST_F(Routing, EachScenesPressRoutineGetsItsPresses) {
    Enter(0, 0);
    h->form.MouseDown(MouseButton::Middle, false, 5, 5);
    EXPECT_EQ(g().Shell.SceneCounters[2], 12) << "the opening closes its disc";

    Enter(1, 12);
    h->form.MouseDown(MouseButton::Right, false, 600, 450);
    EXPECT_EQ(g().Shell.SceneNo, 0) << "the menu returns to the opening";

    Enter(7, 4);
    h->form.MouseDown(MouseButton::Right, false, 5, 5);
    EXPECT_EQ(g().Shell.SceneCounters[1], 5) << "the stage's introduction ends";

    // The ending waits in step 55; the results wait in step 79 (not ranked). Each answers only
    // in its own scene.
    Enter(12, 79);
    h->form.MouseDown(MouseButton::Left, false, 5, 5);
    EXPECT_EQ(g().Shell.SceneCounters[1], 79);
    Enter(12, 55);
    h->form.MouseDown(MouseButton::Left, false, 5, 5);
    EXPECT_EQ(g().Shell.SceneCounters[1], 56);
    Enter(13, 55);
    h->form.MouseDown(MouseButton::Left, false, 5, 5);
    EXPECT_EQ(g().Shell.SceneCounters[1], 55);
    Enter(13, 79);
    h->form.MouseDown(MouseButton::Left, false, 5, 5);
    EXPECT_EQ(g().Shell.SceneCounters[1], 80);

    Effects();
    for (uint8_t scene : {14, 200}) {
        for (int16_t step : {int16_t{55}, int16_t{79}, int16_t{4}, int16_t{12}}) {
            Enter(scene, step);
            h->form.MouseDown(MouseButton::Left, false, 5, 5);
            h->form.MouseDown(MouseButton::Right, false, 600, 450);
            EXPECT_EQ(g().Shell.SceneCounters[1], step) << int(scene);
            EXPECT_EQ(g().Shell.SceneNo, scene);
        }
    }
    EXPECT_EQ(Effects(), "");
}

}  // namespace
}  // namespace kiv
