// What a press or move may do before it erases: ink, the refill spot, the tag and its close
// spot, the protected circle, the character's reaction by zone; the assist keys; input outside
// a drag.
#include <gtest/gtest.h>

#include "erasing_fixture.h"
#include "platform/headless/script.h"

namespace kiv {
namespace {

using namespace erasing_test;

TEST(ErasingSpots, NoErasingAndNoReactionBeforeTheFirstRefill) {
    ErasingStage t;
    t.G().Rand.RandSeed = 5;
    for (int hx : {kPlainX, kZoneAX, kZoneDX, kZoneEX}) {
        t.PressAt(hx, hx == kPlainX ? kPlainY : hx == kZoneEX ? kZoneEY : kZoneAY);
        EXPECT_EQ(t.G().Play.ScrapeState, 0);
        EXPECT_EQ(t.G().Play.PendingStroke, 0);
        t.MoveTo(kPlainX, kPlainY);
        t.Frame();
        t.Release();
    }
    EXPECT_EQ(t.G().Rand.RandSeed, 5u);  // no reaction was drawn
    EXPECT_EQ(t.G().Play.FaceMood, 1);
    EXPECT_EQ(t.ErasedCount(), 0);
    EXPECT_EQ(t.game->platform.Cursor(), 1);
    EXPECT_EQ(t.FirstMismatch(), "");

    t.Refill();
    EXPECT_EQ(t.Ink(), 141);
    EXPECT_EQ(t.G().Shell.CurrentCursor, 2);
    EXPECT_EQ(t.G().Play.ScrapeState, 0);  // a refill press starts no drag
    t.PressAt(kPlainX, kPlainY);
    EXPECT_EQ(t.G().Play.ScrapeState, 1);
}

TEST(ErasingSpots, ARefillDuringADragEndsItAndGives141Again) {
    ErasingStage t;
    t.Refill();
    t.PressAt(kPlainX, kPlainY);
    t.Frame();
    t.MoveTo(kPlainX + 60, kPlainY);
    t.Frame();
    EXPECT_EQ(t.Ink(), 137);
    t.Sc(kIdleFrames) = 5;
    t.MoveTo(kRefillX + 20, kRefillY - 20);  // inside the spot's radius 35
    EXPECT_EQ(t.Ink(), 141);
    EXPECT_EQ(t.G().Play.ScrapeState, 0);
    EXPECT_EQ(t.game->platform.Cursor(), 2);
    const int erased = t.ErasedCount();
    t.MoveTo(kPlainX, kPlainY + 100);  // no drag any more
    t.Frame();
    t.Frame();
    EXPECT_EQ(t.ErasedCount(), erased);
    t.Release();
    EXPECT_EQ(t.Sc(kIdleFrames), 5);  // nothing to end
    EXPECT_EQ(t.Ink(), 141);
    EXPECT_EQ(t.FirstMismatch(), "");
}

TEST(ErasingSpots, TheTagAreaNeverErasesAndItsCloseSpotRemovesTheTag) {
    ErasingStage t;
    t.Refill();
    auto tagShows = [&t](bool asTag) {
        // The tag's rectangle shows the plain background once the tag is gone.
        bool background = true;
        for (int y = kSpeechY - 25; y < kSpeechY; ++y)
            for (int x = kSpeechX; x < kSpeechX + 68; ++x)
                background = background && t.Back(x, y) == BackPixel(x, y) && t.Window(x, y) == BackPixel(x, y);
        return asTag ? !background : background;
    };
    EXPECT_TRUE(tagShows(true));
    for (bool visible : {true, false}) {
        t.G().Play.TagVisible = visible;
        for (const auto& p : {std::array<int, 2>{kTagCloseX + 89, kTagCloseY},
                              {kTagCloseX - 50, kTagCloseY - 70},
                              {kTagCloseX + 10, kTagCloseY}}) {
            t.PressAt(p[0], p[1]);
            EXPECT_EQ(t.G().Play.ScrapeState, 0) << p[0] << "," << p[1];
            t.Frame();
        }
        EXPECT_EQ(t.G().Play.TagVisible, visible);
    }
    EXPECT_EQ(t.ErasedCount(), 0);
    // Just outside the radius 90 erasing works.
    t.PressAt(kTagCloseX + 90, kTagCloseY);
    EXPECT_EQ(t.G().Play.ScrapeState, 1);
    t.Release();

    TempDir out;
    ASSERT_TRUE(t.G().Traces().Open(out.File("trace.jsonl")));
    t.G().Play.TagVisible = true;
    t.Ink() = 0;  // the close spot works without ink
    t.PressAt(kTagCloseX + 6, kTagCloseY - 7);
    EXPECT_FALSE(t.G().Play.TagVisible);
    EXPECT_EQ(t.G().Play.ScrapeState, 0);
    EXPECT_TRUE(tagShows(false));
    t.G().Traces().Open(out.File("end.jsonl"));
    EXPECT_NE(out.Read("trace.jsonl").find("\"ev\":\"effect\",\"slot\":2"), std::string::npos);
}

TEST(ErasingSpots, TheProtectedCircleRefusesStrokesAndPointsOnACircleAreOutside) {
    ErasingStage t;
    t.Refill();
    t.G().Rand.RandSeed = 9;
    t.PressAt(kGuardX + 29, kGuardY);
    EXPECT_EQ(t.G().Play.ScrapeState, 0);
    EXPECT_EQ(t.G().Rand.RandSeed, 9u);     // refused before any reaction
    t.PressAt(kGuardX - 18, kGuardY + 24);  // exactly on the circle (18, 24, 30)
    EXPECT_EQ(t.G().Play.ScrapeState, 1);
    t.Release();

    Game& g = t.G();
    g.Play.StrokeX = 100 - 21;
    g.Play.StrokeY = 50 - 19;
    EXPECT_TRUE(PointerInCircle(g, 100, 50, 1));
    EXPECT_FALSE(PointerInCircle(g, 100, 50, 0));
    EXPECT_FALSE(PointerInCircle(g, 103, 54, 5));
    EXPECT_TRUE(PointerInCircle(g, 103, 54, 6));
    EXPECT_TRUE(PointerInCircle(g, 103, 54, -6));  // the radius is squared
    // Far points: 16-bit differences, and sums that do not wrap into "inside".
    g.Play.StrokeX = -32768;
    g.Play.StrokeY = -32768;
    EXPECT_FALSE(PointerInCircle(g, 21, 19, 32767));    // dx = dy = -32768
    EXPECT_TRUE(PointerInCircle(g, 32767, 32767, 40));  // -32768 + 21 - 32767 wraps to 22
}

TEST(ErasingSpots, ZoneDWinsOverZoneAAndEachZoneDrawsItsOwnChance) {
    // The hit point lies in zone D and zone A at once.
    const int hx = kZoneDX - 10, hy = kZoneDY;
    int dMoods = 0;
    ErasingStage t;
    t.Refill();
    for (uint32_t seed = 1; seed <= 24; ++seed) {
        t.Release();
        t.G().Play.FaceMood = 1;
        t.Sc(kSpeechState) = 0;
        t.G().Rand.RandSeed = seed;
        RandomState expect{seed};
        const bool own = Random(expect, 2) == 0;
        if (own) Random(expect, 6);  // the press starts one of the zone's two lines
        t.PressAt(hx, hy);
        EXPECT_EQ(t.G().Rand.RandSeed, expect.RandSeed) << seed;
        if (own) {
            ++dMoods;
            EXPECT_EQ(t.G().Play.FaceMood, 5) << seed;
            EXPECT_EQ(t.G().Play.FaceEyeRow, 5) << seed;
            EXPECT_EQ(t.G().Play.FaceMouthRow, 3) << seed;
            EXPECT_EQ(t.Sc(kSpeechState), -1) << seed;
            EXPECT_TRUE(t.Sc(kSpeechLine) == 9 || t.Sc(kSpeechLine) == 10) << seed;
        } else {
            EXPECT_EQ(t.G().Play.FaceMood, 3) << seed;  // only touched
            EXPECT_EQ(t.Sc(kSpeechState), 0) << seed;
        }
    }
    EXPECT_GT(dMoods, 0);
    EXPECT_LT(dMoods, 24);

    for (uint32_t seed = 1; seed <= 24; ++seed) {
        t.Release();
        t.Refill();
        t.G().Play.FaceMood = 1;
        t.Sc(kSpeechState) = 0;
        t.G().Rand.RandSeed = seed;
        RandomState expect{seed};
        const bool own = Random(expect, 4) == 0;
        if (own) Random(expect, 6);
        t.PressAt(kZoneAX - 40, kZoneAY);  // zone A only
        EXPECT_EQ(t.G().Rand.RandSeed, expect.RandSeed) << seed;
        EXPECT_EQ(t.G().Play.FaceMood, own ? 4 : 3) << seed;
        if (own) {
            EXPECT_EQ(t.G().Play.FaceEyeRow, 6) << seed;
            EXPECT_EQ(t.G().Play.FaceMouthRow, 1) << seed;
            EXPECT_TRUE(t.Sc(kSpeechLine) == 5 || t.Sc(kSpeechLine) == 6) << seed;
        }
        t.Frame();
        Random(expect, 3);  // the stamp
        Random(expect, 8);  // its sound
        t.Sc(kSpeechState) = 0;
        const uint8_t before = t.G().Play.FaceMood;
        t.MoveTo(kZoneEX, kZoneEY);  // a drag into zone E: its own chance, but no line
        const bool ownE = Random(expect, 2) == 0;
        EXPECT_EQ(t.G().Rand.RandSeed, expect.RandSeed) << seed;
        EXPECT_EQ(t.Sc(kSpeechState), 0) << seed;
        if (ownE) {
            EXPECT_EQ(t.G().Play.FaceMood, 6) << seed;
            EXPECT_EQ(t.G().Play.FaceEyeRow, 5) << seed;
            EXPECT_EQ(t.G().Play.FaceMouthRow, 3) << seed;
        } else {
            EXPECT_EQ(t.G().Play.FaceMood, before) << seed;  // 3 or 4 already: no change
        }
    }
}

TEST(ErasingSpots, AStrokeOnACheckPointUncoversItAndTheCountNeverFalls) {
    ErasingStage t;
    t.Refill();
    const auto& points = t.G().Cfg.CheckPoints[0];
    t.PressAt(points[3].X, points[3].Y);  // the hit point is the pointer + (9, 7)
    t.Frame();
    t.Release();
    CountCheckPoints(t.G());
    EXPECT_EQ(t.G().Play.PointsUncovered, 1);
    EXPECT_TRUE(t.Erased(points[3].X, points[3].Y));

    // Any colour but black in the erase map counts.
    t.G().Media.EraseMapBmp.Row(points[10].Y)[points[10].X] = 0x000001;
    t.G().Media.EraseMapBmp.Row(points[11].Y)[points[11].X] = 0x800000;
    CountCheckPoints(t.G());
    EXPECT_EQ(t.G().Play.PointsUncovered, 3);
    // Covered again, they still count for the stage.
    t.G().Media.EraseMapBmp.Row(points[3].Y)[points[3].X] = 0;
    t.G().Media.EraseMapBmp.Row(points[10].Y)[points[10].X] = 0;
    CountCheckPoints(t.G());
    EXPECT_EQ(t.G().Play.PointsUncovered, 3);
}

TEST(ErasingSpots, AssistKeysActOnlyInStepFiftyOfAStage) {
    struct Where {
        uint8_t scene;
        int16_t step;
    };
    ErasingStage t;
    for (Where w : {Where{2, 4}, Where{2, 84}, Where{2, 99}, Where{11, 51}, Where{1, 50}, Where{12, 50}, Where{13, 50},
                    Where{0, 50}}) {
        t.G().Shell.SceneNo = w.scene;
        t.Sc(kStep) = w.step;
        const std::vector<uint32_t> before = t.G().Media.BackBmp.Pixels;
        const std::vector<uint32_t> parts = t.G().Media.PartsBmp.Pixels;
        for (uint16_t key : {vk::F4, vk::F5, vk::F11}) t.Form().KeyUp(key, false);
        EXPECT_FALSE(t.G().Play.CheatUsed) << int(w.scene) << "/" << w.step;
        EXPECT_EQ(t.G().Play.PointsUncovered, 0) << int(w.scene) << "/" << w.step;
        EXPECT_TRUE(t.G().Media.BackBmp.Pixels == before) << int(w.scene) << "/" << w.step;
        EXPECT_TRUE(t.G().Media.PartsBmp.Pixels == parts) << int(w.scene) << "/" << w.step;
    }

    t.G().Shell.SceneNo = 2;
    t.Sc(kStep) = kStepPlay;
    // F11: outlines of the circles with the pen, nothing filled; no assist.
    t.Form().KeyUp(vk::F11, false);
    EXPECT_FALSE(t.G().Play.CheatUsed);
    EXPECT_EQ(t.Back(kRefillX - 35, kRefillY), 0u);  // left edge of the refill circle
    EXPECT_EQ(t.Back(kRefillX, kRefillY), PicPixel(kRefillX, kRefillY));
    EXPECT_EQ(t.Back(kZoneAX, kZoneAY - 55), 0u);  // top of zone A
    EXPECT_EQ(t.Back(kZoneDX + kZoneDR, kZoneDY), 0u);
    EXPECT_EQ(t.Back(kZoneEX, kZoneEY + kZoneER), 0u);
    EXPECT_EQ(t.Back(kTagCloseX + 90, kTagCloseY), 0u);  // the tag area
    EXPECT_EQ(t.Back(kGuardX, kGuardY - kGuardR), 0u);
    EXPECT_EQ(t.Window(kRefillX - 35, kRefillY), 0u);
    EXPECT_EQ(t.G().Media.BackBmp.Brush, BrushStyle::Solid);
    EXPECT_EQ(t.G().Media.BackBmp.BrushColor, 0u);

    // F5: a full gauge from the strip two rows higher.
    Surface& parts = t.G().Media.PartsBmp;
    for (int y = 100; y < 110; ++y)
        for (int x = 180; x < 270; ++x) parts.Row(y)[x] = static_cast<uint32_t>(y << 8 | x);
    t.Form().KeyUp(vk::F5, false);
    EXPECT_TRUE(t.G().Play.CheatUsed);
    EXPECT_EQ(t.G().Play.PointsUncovered, 20);
    for (int y = 2; y < 4; ++y)
        for (int x = 102; x < 142; ++x)
            ASSERT_EQ(parts.Row(y)[x], static_cast<uint32_t>((y + 102) << 8 | (x + 83))) << x << "," << y;

    t.G().Play.CheatUsed = false;
    t.G().Shell.SceneNo = 11;
    t.Form().KeyUp(vk::F4, false);
    EXPECT_TRUE(t.G().Play.CheatUsed);
}

TEST(ErasingSpots, MovesAndReleasesOutsideADragDoNothing) {
    ErasingStage t;
    t.Refill();
    for (uint8_t scene : {0, 1, 2, 11, 12, 13}) {
        t.G().Shell.SceneNo = scene;
        t.Sc(kIdleFrames) = 7;
        const int16_t sx = t.G().Play.StrokeX;
        t.MoveTo(kPlainX, kPlainY);
        t.MoveTo(kRefillX, kRefillY);
        t.Release();
        EXPECT_EQ(t.G().Play.StrokeX, sx) << int(scene);
        EXPECT_EQ(t.G().Play.PendingStroke, 0) << int(scene);
        EXPECT_EQ(t.Sc(kIdleFrames), 7) << int(scene);
        EXPECT_EQ(t.game->platform.Cursor(), 2) << int(scene);
    }
    // A drag that outlives its stage (the time ran out while the button was held) looks at no
    // stage records from the next scene; its release still ends it.
    t.G().Shell.SceneNo = 2;
    t.PressAt(kPlainX, kPlainY);
    t.G().Shell.SceneNo = 12;
    t.MoveTo(kPlainX + 50, kPlainY);
    t.Release();
    EXPECT_EQ(t.G().Play.ScrapeState, 0);
    EXPECT_EQ(t.game->platform.Cursor(), 2);
}

TEST(ErasingSpots, ScriptsTakePointerPositionsOutsideTheWindow) {
    std::vector<ScriptCommand> cmds;
    std::string error;
    ASSERT_TRUE(ParseScript("press 630 470\nmove -40 -25\nmove 900 700 shift\nrelease -5 1200 left\n", cmds, error))
        << error;
    ASSERT_EQ(cmds.size(), 4u);
    EXPECT_EQ(cmds[1].a, -40);
    EXPECT_EQ(cmds[2].b, 700);
    EXPECT_EQ(cmds[3].b, 1200);
}

}  // namespace
}  // namespace kiv
