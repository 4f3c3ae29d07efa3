// Erase strokes on the layered stage picture: stamps, spread stamps, dabs, ink, the one-frame
// preview, and strokes at and beyond the window's edges.
#include <gtest/gtest.h>

#include <array>

#include "erasing_fixture.h"

namespace kiv {
namespace {

using namespace erasing_test;

// The stamp (0..2) whose shape was erased into the untouched cell at (left, top), or -1.
int StampUsedAt(ErasingStage& t, int left, int top) {
    for (int r = 0; r < 3; ++r) {
        bool all = true;
        for (int cy = 0; cy < 40 && all; ++cy)
            for (int cx = 0; cx < 40 && all; ++cx) all = t.Erased(left + cx, top + cy) == StampErases(r, cx, cy);
        if (all) return r;
    }
    return -1;
}

// The effect slots played, in order, read from the trace.
std::vector<int> EffectSlots(const std::string& trace) {
    std::vector<int> slots;
    const std::string key = "\"ev\":\"effect\",\"slot\":";
    for (size_t at = trace.find(key); at != std::string::npos; at = trace.find(key, at + 1))
        slots.push_back(trace[at + key.size()] - '0');
    return slots;
}

TEST(ErasingStrokes, StampStrokeErasesThroughTheStampShowsItOnePixelLowerThenInPlace) {
    ErasingStage t;
    TempDir out;
    ASSERT_TRUE(t.G().Traces().Open(out.File("trace.jsonl")));
    t.Refill();
    t.G().Rand.RandSeed = 77;
    RandomState expect{77};
    const int stamp = static_cast<int>(Random(expect, 3));
    const int sound = Random(expect, 8) == 0 ? 1 : 0;

    t.PressAt(kPlainX, kPlainY);  // in no zone: no random number at the press
    EXPECT_EQ(t.G().Play.ScrapeState, 1);
    EXPECT_EQ(t.G().Play.PendingStroke, 1);
    EXPECT_EQ(t.game->platform.Cursor(), -1);  // hidden while held
    EXPECT_EQ(t.G().Shell.CurrentCursor, 2);
    EXPECT_EQ(t.ErasedCount(), 0);  // the press itself only asks for the stroke

    const int x = kPlainX - 21, y = kPlainY - 19;
    t.Frame();
    EXPECT_EQ(StampUsedAt(t, x, y), stamp);
    EXPECT_EQ(t.ErasedCount(), 32 * 32 - 16);
    EXPECT_EQ(t.G().Rand.RandSeed, expect.RandSeed);
    EXPECT_EQ(t.Ink(), 139);
    EXPECT_EQ(t.G().Play.ScrapeState, 2);
    EXPECT_EQ(t.G().Play.PendingStroke, 0);
    // The fresh stroke shows with the layers one pixel lower for a frame.
    for (int py = y + 1; py < y + 40; ++py)
        for (int px = x; px < x + 40; ++px) {
            ASSERT_EQ(t.Back(px, py), t.LayeredLower(px, py)) << px << "," << py;
            ASSERT_EQ(t.Window(px, py), t.Back(px, py)) << px << "," << py;
        }
    EXPECT_NE(t.Window(x + 20, y + 4), t.Layered(x + 20, y + 4));

    t.Frame();  // nothing pending: the last stroke is redrawn in place
    EXPECT_EQ(t.FirstMismatch(), "");
    EXPECT_EQ(t.Window(x + 20, y + 20), BackPixel(x + 20, y + 20));
    EXPECT_EQ(t.Window(x + 2, y + 20), PicPixel(x + 2, y + 20));
    EXPECT_EQ(t.Ink(), 139);

    t.Release();
    EXPECT_EQ(t.game->platform.Cursor(), 2);
    t.G().Traces().Open(out.File("end.jsonl"));
    EXPECT_EQ(EffectSlots(out.Read("trace.jsonl")), (std::vector<int>{2, sound}));
}

TEST(ErasingStrokes, TheFirstStrokeOfAPressAddsTwoSpreadStampsAndTheRandomNumbersComeInOrder) {
    ErasingStage t(3);  // spread 3: the three cells do not overlap
    TempDir out;
    ASSERT_TRUE(t.G().Traces().Open(out.File("trace.jsonl")));
    t.Refill();
    // A seed whose stroke sound is the rare one, so the eighth-chance draw is seen in place.
    uint32_t seed = 0;
    std::array<int, 3> stamps{};
    for (;; ++seed) {
        RandomState r{seed};
        if (Random(r, 4) == 0) Random(r, 6);  // the press in zone A, and its line
        for (int& s : stamps) s = static_cast<int>(Random(r, 3));
        if (Random(r, 8) == 0) break;
    }
    t.G().Rand.RandSeed = seed;
    t.PressAt(kZoneAX, kZoneAY - 40);
    const int x = kZoneAX - 21, y = kZoneAY - 40 - 19;
    t.Frame();
    EXPECT_EQ(StampUsedAt(t, x - 16, y + 48), stamps[0]);
    EXPECT_EQ(StampUsedAt(t, x + 16, y - 48), stamps[1]);
    EXPECT_EQ(StampUsedAt(t, x, y), stamps[2]);
    EXPECT_EQ(t.ErasedCount(), 3 * (32 * 32 - 16));
    EXPECT_EQ(t.Ink(), 141 - 4 - 2);
    t.Frame();
    EXPECT_EQ(t.FirstMismatch(), "");  // the spread stamps were shown where they are

    // Later strokes of the same drag have no spread.
    t.MoveTo(kZoneAX + 100, kZoneAY - 40);
    t.Frame();
    EXPECT_EQ(t.ErasedCount(), 4 * (32 * 32 - 16));
    EXPECT_EQ(t.Ink(), 133);
    t.Frame();
    EXPECT_EQ(t.FirstMismatch(), "");
    t.G().Traces().Open(out.File("end.jsonl"));
    const auto slots = EffectSlots(out.Read("trace.jsonl"));
    ASSERT_GE(slots.size(), 2u);
    EXPECT_EQ(slots[1], 1);
}

TEST(ErasingStrokes, NegativeSpreadPutsTheExtraStampsTheOtherWay) {
    ErasingStage t(-3);
    t.Refill();
    t.PressAt(kPlainX, kPlainY + 60);
    const int x = kPlainX - 21, y = kPlainY + 60 - 19;
    t.Frame();
    EXPECT_NE(StampUsedAt(t, x - 16, y - 48), -1);
    EXPECT_NE(StampUsedAt(t, x + 16, y + 48), -1);
    t.Frame();
    EXPECT_EQ(t.FirstMismatch(), "");
}

TEST(ErasingStrokes, ShiftGivesDabsAndReleasingShiftSwitchesBackToStamps) {
    ErasingStage t(2);
    t.Refill();
    t.PressAt(kPlainX, kPlainY, true);
    EXPECT_EQ(t.G().Play.PendingStroke, 2);
    const int x = kPlainX - 21, y = kPlainY - 19;
    t.Frame();
    // The small ellipse (x + 18, y + 17) .. (x + 25, y + 22); a dab has no spread.
    const char* shape[] = {"..###..", "#######", "#######", "#######", "..###.."};
    for (int cy = -2; cy < 7; ++cy)
        for (int cx = -2; cx < 9; ++cx) {
            const bool in = cy >= 0 && cy < 5 && cx >= 0 && cx < 7 && shape[cy][cx] == '#';
            ASSERT_EQ(t.Erased(x + 18 + cx, y + 17 + cy), in) << cx << "," << cy;
            if (!in) {
                ASSERT_TRUE(t.Untouched(x + 18 + cx, y + 17 + cy)) << cx << "," << cy;
            }
        }
    EXPECT_EQ(t.ErasedCount(), 27);
    EXPECT_EQ(t.Ink(), 140);
    EXPECT_EQ(t.G().Play.ScrapeState, 2);
    for (int py = y + 15; py < y + 25; ++py)
        for (int px = x + 16; px < x + 27; ++px) ASSERT_EQ(t.Window(px, py), t.LayeredLower(px, py)) << px << "," << py;
    t.Frame();
    EXPECT_EQ(t.FirstMismatch(), "");

    t.MoveTo(kPlainX + 80, kPlainY);  // Shift let go during the drag
    EXPECT_EQ(t.G().Play.PendingStroke, 1);
    t.Frame();
    EXPECT_EQ(t.Ink(), 138);
    EXPECT_NE(StampUsedAt(t, x + 80, y), -1);
    t.MoveTo(kPlainX + 160, kPlainY, true);
    EXPECT_EQ(t.G().Play.PendingStroke, 2);
    t.Frame();
    EXPECT_EQ(t.Ink(), 137);
    t.Frame();
    EXPECT_EQ(t.FirstMismatch(), "");
}

TEST(ErasingStrokes, InkAtOneGoesToMinusOneThenMovesAreRefused) {
    ErasingStage t;
    t.Refill();
    t.Ink() = 1;
    t.PressAt(kPlainX, kPlainY);
    t.Frame();
    EXPECT_EQ(t.Ink(), -1);
    EXPECT_EQ(t.G().Shell.CurrentCursor, 1);
    EXPECT_EQ(t.game->platform.Cursor(), 1);
    const int erased = t.ErasedCount();
    t.MoveTo(kPlainX + 100, kPlainY + 100);
    EXPECT_EQ(t.G().Play.PendingStroke, 0);
    EXPECT_EQ(t.G().Play.ScrapeState, 2);  // still dragging, erasing nothing
    t.Frame();
    t.Frame();
    EXPECT_EQ(t.ErasedCount(), erased);
    EXPECT_EQ(t.Ink(), -1);
    EXPECT_EQ(t.FirstMismatch(), "");
    t.Release();

    // A dab at 1 empties it exactly: 0 is no ink either.
    t.Refill();
    t.Ink() = 1;
    t.PressAt(kPlainX, kPlainY + 100, true);
    EXPECT_EQ(t.game->platform.Cursor(), -1);
    t.Frame();
    EXPECT_EQ(t.Ink(), 0);
    EXPECT_EQ(t.game->platform.Cursor(), 1);
    t.MoveTo(kPlainX + 100, kPlainY + 100, true);
    EXPECT_EQ(t.G().Play.PendingStroke, 0);
}

TEST(ErasingStrokes, SeveralMovesBetweenTwoFramesLeaveOnlyTheLast) {
    ErasingStage t;
    t.Refill();
    t.PressAt(kPlainX, kPlainY);
    t.Frame();
    t.MoveTo(kPlainX + 60, kPlainY, true);
    t.MoveTo(kPlainX + 120, kPlainY);
    t.MoveTo(kPlainX + 180, kPlainY + 50);
    t.Frame();
    EXPECT_EQ(t.ErasedCount(), 2 * (32 * 32 - 16));
    EXPECT_TRUE(t.Untouched(kPlainX + 60, kPlainY));
    EXPECT_TRUE(t.Untouched(kPlainX + 120, kPlainY));
    EXPECT_NE(StampUsedAt(t, kPlainX + 180 - 21, kPlainY + 50 - 19), -1);
    EXPECT_EQ(t.Ink(), 137);
    t.Frame();  // no stroke left over
    EXPECT_EQ(t.Ink(), 137);
}

TEST(ErasingStrokes, StrokesAtTheCornersAndADragOutsideTheWindowStayInsideTheSurfaces) {
    ErasingStage t(2);
    // Keep the corners free of the tag and the refill spot.
    t.G().Play.TagCloseX = 320;
    t.G().Play.TagCloseY = 240;
    t.G().Cfg.StageLayout[0][5] = 320;
    t.G().Cfg.StageLayout[0][6] = 150;
    const int corners[4][2] = {{0, 0}, {639, 0}, {0, 479}, {639, 479}};
    for (bool shift : {false, true}) {
        for (const auto& c : corners) {
            t.PressAt(320, 150);  // refill
            t.G().Shell.SceneCounters[kInk] = 141;
            t.Form().MouseDown(MouseButton::Left, shift, c[0], c[1]);
            EXPECT_EQ(t.G().Play.ScrapeState, 1) << c[0] << "," << c[1];
            t.Frame();
            // The drag leaves the window and is released outside it.
            for (const auto& m : {std::array<int, 2>{c[0] * 2 - 320, c[1] * 2 - 240},
                                  {-100000, 100000},
                                  {100000, -100000},
                                  {c[0] + 30, c[1] - 30}}) {
                t.Form().MouseMove(shift, m[0], m[1]);
                t.Frame();
            }
            t.Form().MouseUp(MouseButton::Left, false, 2000, -2000);
            EXPECT_EQ(t.G().Play.ScrapeState, 0);
            t.Frame();
        }
    }
    EXPECT_TRUE(t.Erased(2, 2));
    EXPECT_TRUE(t.Erased(637, 477));
    EXPECT_EQ(t.FirstMismatch(), "");
}

}  // namespace
}  // namespace kiv
