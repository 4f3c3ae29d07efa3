#include "scenes/menu/menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/raster.h"
#include "menu_test_game.h"
#include "records/ranking.h"

namespace kiv {
namespace {

using namespace menu;
using namespace menu_test;

// Whether BackBmp holds slice a's square exactly k pixels out, in the given colour.
bool SquareAt(MenuGame& t, int a, int k, uint32_t colour) {
    const auto c = SquareCentre(a, k);
    for (int y = c[1] - 6; y < c[1] + 6; ++y)
        for (int x = c[0] - 6; x < c[0] + 6; ++x)
            if (t.Back(x, y) != colour) return false;
    // The square's last place is black again where the new one does not cover it.
    const auto& s = kSliceLayout[static_cast<size_t>(a)];
    const int bx = s.Dx > 0 ? c[0] - 7 : s.Dx < 0 ? c[0] + 6 : c[0];
    const int by = s.Dy > 0 ? c[1] - 7 : s.Dy < 0 ? c[1] + 6 : c[1];
    return k == 0 || t.Back(bx, by) == 0;
}

// The window shows the marker picture at column sx of sheet pixel() at the place of item.
bool MarkerShows(MenuGame& t, int item, int sx, uint32_t (*pixel)(int, int)) {
    const auto p = MarkerPlace(item);
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 25; ++x)
            if (t.Window(p[0] + x, p[1] + y) != pixel(sx + x, y)) return false;
    return true;
}

bool WindowBlack(MenuGame& t) {
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (t.Window(x, y) != 0) return false;
    return true;
}

// Confirms the item whose marker blinks and runs the confirm flash: step 20 follows.
void ConfirmAndFlash(MenuGame& t, int x, int y) {
    t.Click(x, y);
    ASSERT_EQ(t.Step(), kStepConfirm);
    t.Frames(1);
    ASSERT_EQ(t.Step(), kStepConfirmFlash);
    t.Frames(25);
    ASSERT_EQ(t.Step(), kStepConfirmFlash);
    t.Frames(1);
    ASSERT_EQ(t.Step(), kStepCarryOut);
}

// The areas a left press chooses each item by, as the menu's layout gives them: the item, then
// X from, X to, Y from, Y to (inclusive).
constexpr int kItemAreas[11][5] = {
    {1, 297, 325, 156, 208}, {2, 328, 386, 177, 214},  {3, 328, 386, 217, 246},  {4, 328, 386, 249, 286},
    {5, 297, 325, 255, 307}, {6, 235, 294, 249, 286},  {7, 235, 294, 217, 246},  {8, 235, 294, 177, 214},
    {9, 511, 548, 223, 264}, {10, 454, 506, 243, 264}, {11, 397, 449, 243, 264},
};

TEST(MenuScene, BuildsUpInSixtySevenFramesWithSlicesButtonsPanelAndRanking) {
    MenuGame t;
    t.Click(5, 5);
    while (t.g().Shell.SceneNo == 0) t.Frames(1);
    t.NewEffects(3);
    EXPECT_EQ(t.g().Shell.FrameInterval, 20);

    t.Frames(1);  // slice 1 comes in from five pixels above its place
    EXPECT_TRUE(SquareAt(t, 0, 5, OpenColour(0)));
    EXPECT_EQ(t.NewEffects(3), 1);
    t.Frames(5);
    EXPECT_TRUE(SquareAt(t, 0, 0, OpenColour(0)));
    EXPECT_EQ(t.Step(), 1);
    t.Frames(60);
    EXPECT_EQ(t.Step(), kStepShowMenu);
    EXPECT_EQ(t.game->platform.Cursor(), kCursorNone);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepWait);
    EXPECT_EQ(t.g().Shell.FrameInterval, 40);
    EXPECT_EQ(t.game->platform.Cursor(), 1);
    EXPECT_EQ(t.NewEffects(3), 11);  // the other slices, the three buttons, the title panel

    // Stage 1 is open, stages 2..8 are closed; every slice rests at its place.
    for (int a = 0; a < 8; ++a) {
        const auto c = SquareCentre(a);
        EXPECT_EQ(t.Window(c[0], c[1]), a == 0 ? OpenColour(0) : ClosedColour(a)) << a;
        EXPECT_TRUE(SquareAt(t, a, 0, a == 0 ? OpenColour(0) : ClosedColour(a))) << a;
    }
    EXPECT_TRUE(t.ShowsParts(114, 78, 152, 107, 519, 239));  // challenge
    EXPECT_TRUE(t.ShowsParts(57, 94, 110, 108, 462, 255));   // end
    EXPECT_TRUE(t.ShowsParts(0, 94, 53, 108, 405, 255));     // help line
    EXPECT_TRUE(t.ShowsParts(0, 49, 152, 78, 405, 210));     // title panel
    // Ranking rows in glyph text: "01S 029:50" at y 63 and "30T" at y 411.
    EXPECT_TRUE(t.ShowsParts(0, 35, 5, 43, 9, 62));
    EXPECT_TRUE(t.ShowsParts(6, 35, 11, 43, 17, 62));
    EXPECT_TRUE(t.ShowsParts(60, 35, 65, 43, 25, 62));  // S
    EXPECT_TRUE(t.ShowsParts(54, 35, 59, 43, 57, 62));  // 9
    EXPECT_TRUE(t.ShowsParts(84, 35, 89, 43, 65, 62));  // :
    EXPECT_TRUE(t.ShowsParts(18, 35, 23, 43, 9, 410));
    EXPECT_TRUE(t.ShowsParts(78, 35, 83, 43, 25, 410));  // T
}

TEST(MenuScene, RingsPulseInTheWindowOnlyAtTheirOwnCorners) {
    MenuGame t;
    ASSERT_TRUE(t.ToMenu());
    // A white emblem area shows the black ring outlines.
    for (int y = 159; y < 321; ++y)
        for (int x = 238; x < 400; ++x) t.g().Media.BackBmp.Pixels[static_cast<size_t>(y) * 640 + x] = 0xFFFFFF;
    t.Frames(31);  // the first pause: the counter runs from 50 to 80
    EXPECT_EQ(t.Sc(kRingFrame), 0);
    EXPECT_EQ(t.Window(300, 279), 0u);  // nothing was presented there yet
    t.Frames(1);                        // n = 0: boxes (244, 236)-(315, 323) and (246, 234)-(313, 325)
    EXPECT_EQ(t.Window(243, 279), 0xFFFFFFu);
    EXPECT_EQ(t.Window(244, 279), 0u);
    EXPECT_EQ(t.Window(245, 279), 0xFFFFFFu);
    EXPECT_EQ(t.Window(246, 279), 0u);
    EXPECT_EQ(t.Window(300, 279), 0xFFFFFFu);  // outlines only
    EXPECT_EQ(t.Window(312, 279), 0u);
    EXPECT_EQ(t.Window(314, 279), 0u);
    std::vector<int> low;  // near the bottom of the shown area the two rings come close
    for (int x = 238; x < 400; ++x)
        if (t.Window(x, 318) == 0) low.push_back(x);
    EXPECT_EQ(low, (std::vector<int>{262, 263, 264, 265, 293, 294, 295, 296}));
    EXPECT_EQ(t.Window(279, 234), 0u);  // the tops of the rings
    EXPECT_EQ(t.Window(279, 235), 0xFFFFFFu);
    EXPECT_EQ(t.Window(279, 236), 0u);
    EXPECT_EQ(t.Back(244, 279), 0xFFFFFFu);  // BackBmp never holds the rings
    t.Frames(17);                            // n = 17: the second ring's box is (228, 149)-(331, 410)
    EXPECT_EQ(t.Window(330, 279), 0u);
    t.Frames(1);  // n = 18: 5n reaches 90, only the first ring: (261, 182)-(298, 377)
    EXPECT_EQ(t.Window(335, 279), 0xFFFFFFu);
    EXPECT_EQ(t.Window(330, 279), 0xFFFFFFu);
    EXPECT_EQ(t.Window(297, 279), 0u);
    t.Frames(11);  // n = 29 was the last ring; it stays in the window through the pause
    EXPECT_EQ(t.Sc(kRingFrame), 30);
    t.Frames(51);
    EXPECT_EQ(t.Sc(kRingFrame), 0);
    EXPECT_EQ(t.Back(297, 279), 0xFFFFFFu);
}

TEST(MenuScene, AClosedStageRunsTheWholeChoiceWithItsClosedMarkerAndFallsBack) {
    MenuGame t;
    ASSERT_TRUE(t.ToMenu());
    t.NewEffects(3);
    t.Click(350, 195);  // stage 2, the first that is not open
    EXPECT_EQ(t.Step(), kStepSelect);
    EXPECT_EQ(t.Sc(kItem), 2);
    EXPECT_EQ(t.game->platform.Cursor(), kCursorNone);
    t.Frames(6);
    EXPECT_EQ(t.Step(), kStepWaitConfirm);
    EXPECT_TRUE(SquareAt(t, 1, 5, ClosedColour(1)));  // moved out up and to the right
    EXPECT_EQ(t.NewEffects(3), 1);

    t.Frames(1);  // the select marker from the mask sheet: the closed look
    EXPECT_TRUE(MarkerShows(t, 2, 0, MaskSheetPixel));
    t.Frames(23);
    EXPECT_EQ(t.Window(407, 147), t.Back(407, 147));  // hidden at 24
    t.Frames(1);
    EXPECT_TRUE(MarkerShows(t, 2, 0, MaskSheetPixel));

    t.NewEffects(4);
    t.Click(350, 195);
    t.Frames(1);
    EXPECT_EQ(t.NewEffects(4), 1);
    t.Frames(1);  // the confirm marker shows at 25
    EXPECT_TRUE(MarkerShows(t, 2, 27, MaskSheetPixel));
    t.Frames(25);
    ASSERT_EQ(t.Step(), kStepCarryOut);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepCancel);
    EXPECT_EQ(t.g().Shell.SceneNo, 1);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepCancelBack);
    EXPECT_EQ(t.Window(407, 147), t.Back(407, 147));
    t.Frames(6);
    EXPECT_EQ(t.Step(), kStepCancelDone);
    EXPECT_TRUE(SquareAt(t, 1, 0, ClosedColour(1)));
    EXPECT_EQ(t.NewEffects(3), 1);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepWait);
    EXPECT_EQ(t.Sc(kItem), 0);
    EXPECT_EQ(t.game->platform.Cursor(), 1);
}

TEST(MenuScene, OpenStagesAndTheChallengeStartTheirScenesWithTheirFlags) {
    {
        MenuGame t(IniWith(3, false));
        ASSERT_TRUE(t.ToMenu());
        t.g().Play.ChallengeMode = true;
        t.g().Play.CheatUsed = true;
        t.Click(350, 230);
        t.Frames(7);  // the select marker of an open stage comes from the parts sheet
        EXPECT_TRUE(MarkerShows(t, 3, 0, PartsPixel));
        ConfirmAndFlash(t, 350, 230);
        t.Frames(1);
        EXPECT_EQ(t.g().Shell.SceneNo, 4);
        EXPECT_FALSE(t.g().Play.ChallengeMode);
        EXPECT_FALSE(t.g().Play.CheatUsed);
        for (int k = 0; k < 20; ++k) EXPECT_EQ(t.Sc(k), 0) << k;
        EXPECT_TRUE(WindowBlack(t));
        t.Frames(3);  // the stage scene runs on
    }
    {
        MenuGame t;
        ASSERT_TRUE(t.ToMenu());
        t.g().Play.CheatUsed = true;
        t.Click(530, 250);
        EXPECT_EQ(t.Sc(kItem), kItemChallenge);
        t.Frames(6);  // the button moved five pixels to the right
        EXPECT_TRUE(t.ShowsParts(114, 78, 152, 107, 524, 239));
        ConfirmAndFlash(t, 530, 250);
        t.Frames(1);
        EXPECT_EQ(t.g().Shell.SceneNo, 2);
        EXPECT_TRUE(t.g().Play.ChallengeMode);
        EXPECT_FALSE(t.g().Play.CheatUsed);
        EXPECT_TRUE(WindowBlack(t));
    }
}

TEST(MenuScene, EachItemIsChosenOnlyInsideItsAreaAndBlinksItsMarkerAtItsPlace) {
    MenuGame t(IniWith(8, false));
    ASSERT_TRUE(t.ToMenu());
    auto& counters = t.g().Shell.SceneCounters;
    auto chosenBy = [&](int x, int y) {
        t.Click(x, y);
        const int item = t.Step() == kStepSelect ? t.Sc(kItem) : 0;
        counters[kStep] = kStepWait;
        counters[kItem] = 0;
        return item;
    };
    for (const auto& [item, l, r, top, b] : kItemAreas) {
        for (auto [x, y] : {std::pair{l, top}, {r, top}, {l, b}, {r, b}})
            EXPECT_EQ(chosenBy(x, y), item) << item << " at " << x << "," << y;
        const int cx = (l + r) / 2, cy = (top + b) / 2;
        for (auto [x, y] : {std::pair{l - 1, cy}, {r + 1, cy}, {cx, top - 1}, {cx, b + 1}})
            EXPECT_NE(chosenBy(x, y), item) << item << " at " << x << "," << y;
        // Chosen for real: its marker blinks at its place; the middle button cancels as the right does.
        t.Click(cx, cy);
        t.Frames(7);
        EXPECT_TRUE(MarkerShows(t, item, 0, PartsPixel)) << item;
        t.Frames(16);  // it stays until the blinking at the end of the cycle
        const auto marker = MarkerPlace(item);
        EXPECT_EQ(t.Window(marker[0] + 12, marker[1] + 12), PartsPixel(12, 12)) << item;
        t.Click(cx, cy, item % 2 ? MouseButton::Middle : MouseButton::Right);
        EXPECT_EQ(t.Step(), kStepCancel) << item;
        t.Frames(8);
        EXPECT_EQ(t.Step(), kStepWait) << item;
        EXPECT_EQ(t.game->platform.Cursor(), 1);
    }
}

TEST(MenuScene, EachStageSliceStartsItsOwnStage) {
    for (const auto& [item, l, r, top, b] : kItemAreas) {
        if (item > kItemLastStage) break;
        MenuGame t(IniWith(8, false));
        ASSERT_TRUE(t.ToMenu());
        const int cx = (l + r) / 2, cy = (top + b) / 2;
        t.Click(cx, cy);
        t.Frames(6);
        EXPECT_TRUE(SquareAt(t, item - 1, 5, OpenColour(item - 1))) << item;  // moved out its own way
        t.Click(cx, cy);
        t.Frames(2);
        EXPECT_TRUE(MarkerShows(t, item, 27, PartsPixel)) << item;  // the confirm marker
        t.Frames(25);
        ASSERT_EQ(t.Step(), kStepCarryOut);
        t.Frames(1);
        EXPECT_EQ(t.g().Shell.SceneNo, item + 1);
        EXPECT_FALSE(t.g().Play.ChallengeMode);
    }
}

TEST(MenuScene, PressesOutsideTheItemsChooseNothingOrReturnToTheOpening) {
    MenuGame t;
    ASSERT_TRUE(t.ToMenu());
    for (auto [x, y] : {std::pair{450, 250}, {296, 180}, {510, 250}, {330, 215}, {600, 250}, {20, 100}}) {
        t.Click(x, y);
        EXPECT_EQ(t.Step(), kStepWait) << x << "," << y;
    }
    t.Frames(3);
    EXPECT_EQ(t.game->platform.Cursor(), 1);
    // A right press on a stage inside the emblem's centre offers "memories clear".
    t.Click(350, 230, MouseButton::Right);
    EXPECT_EQ(t.Sc(kItem), kItemMemories);
    t.g().Shell.SceneCounters[kStep] = kStepWait;
    // The middle button is a right one here too: on the ranking, on the centre, elsewhere.
    t.Click(133, 53, MouseButton::Middle);
    EXPECT_EQ(t.Sc(kItem), kItemRanking);
    t.g().Shell.SceneCounters[kStep] = kStepWait;
    t.Click(239, 301, MouseButton::Middle);
    EXPECT_EQ(t.Sc(kItem), kItemMemories);
    t.g().Shell.SceneCounters[kStep] = kStepWait;
    for (auto [x, y] : {std::pair{134, 100}, {1, 411}, {238, 230}, {383, 230}, {300, 160}, {300, 302}}) {
        t.Click(x, y, MouseButton::Right);
        EXPECT_EQ(t.g().Shell.SceneNo, 0) << x << "," << y;
        t.g().Shell.SceneNo = 1;
        t.g().Shell.SceneCounters[kStep] = kStepWait;
    }

    t.NewEffects(7);
    t.Click(530, 250, MouseButton::Middle);  // on the challenge button
    EXPECT_EQ(t.g().Shell.SceneNo, 0);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(t.Sc(k), 0) << k;
    EXPECT_EQ(t.NewEffects(7), 1);
    EXPECT_TRUE(WindowBlack(t));
    t.Frames(2);  // the opening starts again
    EXPECT_EQ(t.g().Shell.SceneNo, 0);
}

TEST(MenuScene, ACancelledButtonMovesBackToItsPlace) {
    MenuGame t;
    ASSERT_TRUE(t.ToMenu());
    t.Click(420, 250);  // the help-line button
    t.Frames(6);
    EXPECT_TRUE(t.ShowsParts(0, 94, 53, 108, 405, 260));
    t.Click(420, 250, MouseButton::Right);
    EXPECT_EQ(t.Step(), kStepCancel);
    t.Frames(8);
    EXPECT_EQ(t.Step(), kStepWait);
    EXPECT_TRUE(t.ShowsParts(0, 94, 53, 108, 405, 255));
}

TEST(MenuScene, MemoriesClearClosesStagesTwoToEightAndSavesAtOnce) {
    MenuGame t(IniWith(8, false));
    ASSERT_TRUE(t.ToMenu());
    for (int a = 0; a < 8; ++a) ASSERT_TRUE(SquareAt(t, a, 0, OpenColour(a))) << a;
    t.NewEffects(3);
    t.Click(320, 240, MouseButton::Right);
    t.Frames(41);
    EXPECT_EQ(t.Step(), kStepSelect);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepWaitConfirm);
    EXPECT_EQ(t.Sc(kItem), kItemMemoriesLast);
    EXPECT_EQ(t.NewEffects(3), 7);
    EXPECT_TRUE(SquareAt(t, 0, 0, OpenColour(0)));
    for (int a = 1; a < 8; ++a) EXPECT_TRUE(SquareAt(t, a, 5, OpenColour(a))) << a;
    EXPECT_TRUE(t.ShowsParts(72, 42, 77, 50, 282, 112));  // "m" of "memories clear"
    t.Frames(1);
    EXPECT_TRUE(MarkerShows(t, kItemMemoriesLast, 0, PartsPixel));

    ConfirmAndFlash(t, 320, 240);
    EXPECT_EQ(t.g().Records.StagesOpen, 8);
    t.Frames(1);
    EXPECT_EQ(t.g().Records.StagesOpen, 1);
    EXPECT_EQ(t.Step(), kStepCancel);
    EXPECT_NE(t.dir.Read("Kiv.ini").find("Stage=1\r\n"), std::string::npos) << t.dir.Read("Kiv.ini");
    t.Frames(1 + 42);
    EXPECT_EQ(t.Step(), kStepCancelDone);
    for (int a = 1; a < 8; ++a) {
        const auto c = SquareCentre(a);
        EXPECT_TRUE(SquareAt(t, a, 0, ClosedColour(a))) << a;
        EXPECT_EQ(t.Window(c[0], c[1]), ClosedColour(a)) << a;
    }
    EXPECT_TRUE(SquareAt(t, 0, 0, OpenColour(0)));          // stage 1 was never redrawn
    EXPECT_TRUE(t.ShowsParts(162, 42, 167, 50, 282, 112));  // blanked
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepWait);
    t.game->CloseAndDestroy();
}

TEST(MenuScene, RankingClearRewritesAllThirtyPresetsInSixtyFramesAndSavesThem) {
    MenuGame t(IniWith(1, true));
    ASSERT_TRUE(t.ToMenu());
    ASSERT_EQ(t.g().Records.RankTable[1].View(), "abcdeplayer89900");
    t.NewEffects(3);
    t.Click(133, 410, MouseButton::Right);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepWaitConfirm);
    EXPECT_EQ(t.NewEffects(3), 1);
    EXPECT_TRUE(t.ShowsParts(102, 42, 107, 50, 45, 38));  // "r" of "ranking clear"
    t.Frames(1);
    EXPECT_TRUE(MarkerShows(t, kItemRanking, 0, PartsPixel));

    ConfirmAndFlash(t, 50, 100);
    t.NewEffects(3);
    t.Frames(30);  // rows 1..30 shifted a pixel down
    EXPECT_TRUE(t.ShowsParts(0, 35, 5, 43, 9, 63));
    EXPECT_EQ(t.g().Records.RankTable[30].View(), "abcdeplayer87000");
    t.Frames(29);
    EXPECT_EQ(t.Step(), kStepCarryOut);
    EXPECT_EQ(t.g().Records.RankTable[2].View(), PresetRankEntry(t.g().Cfg.PresetRankName.View(), 2).View());
    EXPECT_EQ(t.g().Records.RankTable[1].View(), "abcdeplayer89900");
    EXPECT_NE(t.dir.Read("Kiv.ini").find("Rank30=abcdeplayer87000"), std::string::npos);
    t.Frames(1);
    EXPECT_EQ(t.Step(), kStepCancel);
    EXPECT_EQ(t.NewEffects(3), 60);
    for (int k = 1; k <= 30; ++k)
        EXPECT_EQ(t.g().Records.RankTable[static_cast<size_t>(k)].View(),
                  PresetRankEntry(t.g().Cfg.PresetRankName.View(), k).View())
            << k;
    // Row 1 back in place with its preset time: "01S 029:50".
    EXPECT_TRUE(t.ShowsParts(0, 35, 5, 43, 9, 62));
    EXPECT_TRUE(t.ShowsParts(54, 35, 59, 43, 57, 62));
    const std::string saved = t.dir.Read("Kiv.ini");
    EXPECT_NE(saved.find("Rank01=*****Preset02950\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Rank30=*****Preset01500\r\n"), std::string::npos) << saved;

    t.Frames(3);
    EXPECT_EQ(t.Step(), kStepWait);
    EXPECT_TRUE(t.ShowsParts(162, 42, 167, 50, 45, 38));  // "ranking clear" blanked
    t.game->CloseAndDestroy();
    const std::string atExit = t.dir.Read("Kiv.ini");
    for (int k = 1; k <= 30; ++k) {
        const std::string line = "Rank" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "=" +
                                 std::string(PresetRankEntry(t.g().Cfg.PresetRankName.View(), k).View()) + "\r\n";
        EXPECT_NE(atExit.find(line), std::string::npos) << line;
    }
}

TEST(MenuScene, TheEndItemClosesTheFormAndTheRecordsAreSaved) {
    MenuGame t;
    ASSERT_TRUE(t.ToMenu());
    t.Click(480, 260);
    EXPECT_EQ(t.Sc(kItem), kItemEnd);
    t.Frames(6);
    EXPECT_TRUE(t.ShowsParts(57, 94, 110, 108, 462, 260));
    ConfirmAndFlash(t, 480, 260);
    EXPECT_FALSE(t.game->platform.Closed());
    t.Frames(1);
    EXPECT_TRUE(t.g().Shell.HaltRequested);
    EXPECT_TRUE(t.game->platform.Closed());
    EXPECT_FALSE(t.dir.Exists("Kiv.ini"));
    t.game->form.FormDestroy();
    t.game->destroyed = true;
    EXPECT_NE(t.dir.Read("Kiv.ini").find("[Kiv]\r\nStage=1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kiv
