#include "scenes/results/results.h"

#include <gtest/gtest.h>

#include "closing_test_game.h"
#include "records/ranking.h"

namespace kiv {
namespace {

using namespace closing_test;
using namespace results;

// A challenge run whose stages 1..8 kept these times; stages 9 and 10 keep times of their own,
// which never count.
void KeepTimes(ClosingGame& t, std::initializer_list<int16_t> times) {
    size_t s = 0;
    for (int16_t v : times) t.g().Cfg.StageLayout[s++][8] = v;
    t.g().Cfg.StageLayout[8][8] = t.g().Cfg.StageLayout[9][8] = 1000;
}

// Frames from step 0 to the first frame of name entry for a ranked total.
constexpr int kToNameEntry = 2 + 8 + 1 + 104 + 1 + 44 + 1;

bool RowReads(ClosingGame& t, int x, int y, std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const int cx = x + 8 * static_cast<int>(i);
        const char c = text[i];
        const bool ok =
            (c >= 'a' && c <= 'z') || c == '_' || c == ' ' ? t.ShowsLetter(cx, y, c) : t.ShowsDigit(cx, y, c);
        if (!ok) return false;
    }
    return true;
}

// Letter j of the alphabet, doubled: each sheet pixel of its six inner rows as a 2 x 2 block.
bool AlphabetLetterShows(ClosingGame& t, int j) {
    const int x = j % 2 ? 193 : 167, y = 14 * j + 52;
    for (int dy = 0; dy < 6; ++dy)
        for (int dx = 0; dx < 5; ++dx)
            for (int d = 0; d < 4; ++d)
                if (t.Window(x + 2 * dx + d % 2, y + 2 * dy + d / 2) != SheetPixel(6 * j + dx, 43 + dy)) return false;
    return true;
}

TEST(ResultsScene, ARankedTotalIsShownTypedAndNamedThenSavedAtOnce) {
    ClosingGame t;
    KeepTimes(t, {1800, 1800, 1800, 1800, 1800, 1800, 1800, 1800});
    SetGameCursor(t.g(), kCursorNone);  // as the ending leaves it
    t.Enter(13, 0, true);
    t.Frames(2);
    EXPECT_EQ(t.Sc(kStep), kStepFirstStageLine);
    EXPECT_EQ(t.Sc(kTotal), 14400);
    EXPECT_EQ(t.Sc(kRank), 1);
    EXPECT_EQ(t.g().Shell.FrameInterval, 30);
    const std::string code = t.g().Records.RankTable[1].Copy(1, 5);
    EXPECT_EQ(t.g().Records.RankTable[1].Copy(6, 11), "______14400");
    for (char c : code) EXPECT_TRUE(c >= 'a' && c <= 'z') << code;
    EXPECT_EQ(t.g().Records.RankTable[2], "*****Preset02950");

    // Every row but the new one, and the alphabet in white circles in two staggered columns.
    EXPECT_EQ(t.Lit(MakeRect(9, 62, 9 + 8 * 17, 70)), 0);
    EXPECT_TRUE(RowReads(t, 9, 75, "02N 029:50 "));
    EXPECT_TRUE(RowReads(t, 9, 411, "30T 015:50 "));
    for (int j : {0, 1, 13, 25, 26}) EXPECT_TRUE(AlphabetLetterShows(t, j)) << j;
    EXPECT_EQ(t.Window(161, 58), 0xFFFFFFu);  // the left edge of the circle around "a"
    EXPECT_EQ(t.Window(182, 58), 0xFFFFFFu);
    EXPECT_EQ(t.Window(164, 58), 0u);         // between circle and letter
    EXPECT_EQ(t.Window(172, 47), 0xFFFFFFu);  // its top and bottom
    EXPECT_EQ(t.Window(172, 68), 0xFFFFFFu);
    EXPECT_EQ(t.Window(172, 69), 0u);
    EXPECT_EQ(t.Window(187, 72), 0xFFFFFFu);  // "b", one column to the right and lower
    EXPECT_EQ(t.g().Media.BackBmp.Brush, BrushStyle::Solid);
    EXPECT_EQ(t.g().Media.BackBmp.PenColor, 0u);

    t.TakeTrace();
    t.Frames(8);
    EXPECT_EQ(t.Sc(kStep), kStepTotalLine);
    EXPECT_EQ(t.platform().Cursor(), kCursorNone);
    t.Frames(1);  // the pointer comes back with the total line, for the name to come
    EXPECT_EQ(t.platform().Cursor(), 1);
    EXPECT_EQ(ClosingGame::Count(t.TakeTrace(), {"\"effect\"", "\"slot\":3"}), 8);
    for (int n = 1; n <= 8; ++n)
        EXPECT_TRUE(RowReads(t, 270, 14 * n + 152, "stage 0" + std::to_string(n) + " clear time 018:00")) << n;

    t.Frames(104);
    EXPECT_EQ(t.Sc(kStep), kStepRankRow);
    EXPECT_TRUE(RowReads(t, 270, 292, "          all total 144:00"));
    t.Frames(1 + 44);
    EXPECT_TRUE(RowReads(t, 9, 63, "01S 144:00 "));
    EXPECT_EQ(t.Sc(kStep), kStepNameStart);
    t.Frames(1);
    EXPECT_EQ(t.Sc(kStep), kStepNameEntry);
    EXPECT_EQ(t.g().Glyph.TextStartX, 97);
    t.Frames(1);
    EXPECT_TRUE(t.ShowsLetter(97, 63, '_'));   // the cursor blinks where the name begins
    for (int frame = 1; frame < 9; ++frame) {  // two frames shown, two hidden
        t.Frames(1);
        EXPECT_TRUE(t.ShowsLetter(97, 63, frame % 4 < 2 ? '_' : ' ')) << frame;
        EXPECT_LE(t.Sc(kSubFrame), 3);
    }

    t.TakeTrace();
    t.Press(MouseButton::Left, 100, 40);
    t.Press(MouseButton::Left, 200, 60);
    t.Press(MouseButton::Left, 100, 70);
    EXPECT_EQ(t.g().Closing.EnteredName, "abc");
    EXPECT_EQ(t.Sc(kStep), 67);
    EXPECT_TRUE(RowReads(t, 97, 63, "abc"));
    t.Press(MouseButton::Right, 100, 40);
    EXPECT_EQ(t.g().Closing.EnteredName, "ab");
    EXPECT_EQ(t.Sc(kStep), 66);
    EXPECT_TRUE(RowReads(t, 97, 63, "ab  "));  // the blanks wipe "c" and the cursor
    EXPECT_EQ(t.g().Glyph.TextX, 113);
    t.Frames(3);
    for (int i = 0; i < 4; ++i) t.Press(MouseButton::Left, 200, 400);
    EXPECT_EQ(t.Sc(kStep), kStepNameFull);
    t.Press(MouseButton::Left, 100, 40);  // the seventh adds nothing and stores the entry
    EXPECT_EQ(t.Sc(kStep), kStepStoreName);
    EXPECT_EQ(t.g().Closing.EnteredName, "abzzzz");
    auto trace = t.TakeTrace();
    EXPECT_EQ(ClosingGame::Count(trace, {"\"effect\"", "\"slot\":7"}), 8);
    EXPECT_EQ(ClosingGame::Count(trace, {"\"effect\"", "\"slot\":8"}), 1);

    EXPECT_FALSE(t.dir.Exists("Kiv.ini"));
    t.Frames(1);
    EXPECT_EQ(t.g().Records.RankTable[1], code + "abzzzz14400");
    // Written before the program ends.
    EXPECT_NE(t.dir.Read("Kiv.ini").find("Rank01=" + code + "abzzzz14400\r\n"), std::string::npos);
    EXPECT_EQ(ClosingGame::Count(t.TakeTrace(), {"\"ev\":\"save\""}), 1);
    t.Frames(1);
    EXPECT_EQ(t.Lit(MakeRect(0, 0, 640, 480)), 0);
    EXPECT_EQ(t.g().Shell.FrameInterval, 40);
    EXPECT_EQ(t.Scene(), 13);
    t.Frames(1);  // two frames after the entry was stored the opening follows
    EXPECT_EQ(t.Scene(), 0);
    EXPECT_EQ(t.platform().Cursor(), 1);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(t.Sc(k), 0) << k;
}

TEST(ResultsScene, ATotalEqualToAnEntryIsPlacedAboveIt) {
    ClosingGame t;
    KeepTimes(t, {366, 362, 362, 362, 362, 362, 362, 362});  // 2900, the value of rank 2
    t.Enter(13, 0, true);
    t.Frames(kToNameEntry);
    ASSERT_EQ(t.Sc(kStep), kStepNameEntry);
    const auto& table = t.g().Records.RankTable;
    EXPECT_EQ(table[1], "*****Preset02950");
    EXPECT_EQ(table[2], "*****______02900");
    EXPECT_EQ(table[3], "*****Preset02900");
    EXPECT_EQ(table[30], "*****Preset01550");
    EXPECT_TRUE(RowReads(t, 9, 75, "02N 029:00 "));
    EXPECT_TRUE(RowReads(t, 9, 87, "03D 029:00 "));
}

TEST(ResultsScene, NameEntryPicksByColumnAndRowAndAWindowClosedMeanwhileKeepsThePlaceholder) {
    ClosingGame t;
    KeepTimes(t, {1800, 1800, 1800, 1800, 1800, 1800, 1800, 1800});
    t.g().Play.CheatUsed = true;
    t.g().Closing.EnteredName = "qqqqqq";  // the name of an earlier run
    t.Enter(13, 0, true);
    t.Frames(kToNameEntry);
    ASSERT_EQ(t.Sc(kStep), kStepNameEntry);

    t.Press(MouseButton::Right, 100, 40);  // nothing to erase: only the sound
    EXPECT_EQ(t.Sc(kStep), kStepNameEntry);
    EXPECT_EQ(t.g().Closing.EnteredName, "");
    t.Press(MouseButton::Left, 176, 40);
    t.Press(MouseButton::Left, 177, 40);
    EXPECT_EQ(t.g().Closing.EnteredName, "ab");
    t.Press(MouseButton::Middle, 177, 40);  // any button but the left one erases
    EXPECT_EQ(t.g().Closing.EnteredName, "a");
    EXPECT_EQ(t.Sc(kStep), 65);
    t.Press(MouseButton::Right, 177, 40);
    EXPECT_EQ(t.g().Closing.EnteredName, "");
    EXPECT_EQ(t.Sc(kStep), kStepNameEntry);

    // Rows of 28 pixels; truncation toward zero lets the right column's first row reach up to
    // y 23; beyond the last row comes "_".
    EXPECT_EQ(LetterUnderPointer(176, 63), 'a');
    EXPECT_EQ(LetterUnderPointer(176, 64), 'c');
    EXPECT_EQ(LetterUnderPointer(177, 77), 'b');
    EXPECT_EQ(LetterUnderPointer(177, 78), 'd');
    EXPECT_EQ(LetterUnderPointer(300, 23), 'b');
    EXPECT_EQ(LetterUnderPointer(300, 22), 'a');
    EXPECT_EQ(LetterUnderPointer(10, -500), 'a');
    EXPECT_EQ(LetterUnderPointer(639, 413), 'z');
    EXPECT_EQ(LetterUnderPointer(639, 414), '_');
    EXPECT_EQ(LetterUnderPointer(639, 479), '_');
    EXPECT_EQ(LetterUnderPointer(0, 479), '_');

    t.game->CloseAndDestroy();
    EXPECT_NE(t.dir.Read("Kiv.ini").find("Rank01=*****______14400\r\n"), std::string::npos);
}

TEST(ResultsScene, AnUnrankedTotalWaitsForAPressAndLeavesTheRankingAlone) {
    ClosingGame t;
    KeepTimes(t, {100, 100, 100, 100, 100, 100, 100, 100});
    const auto before = t.g().Records.RankTable;
    SetGameCursor(t.g(), kCursorNone);
    t.Enter(13, 0, true);
    t.Frames(2);
    EXPECT_EQ(t.Sc(kRank), 0);
    EXPECT_TRUE(RowReads(t, 9, 63, "01S 029:50 "));
    t.Frames(60);
    t.Press(MouseButton::Left, 100, 40);  // typing takes no presses
    t.Frames(53);
    EXPECT_EQ(t.Sc(kStep), kStepRankRow);
    t.Frames(1);
    EXPECT_EQ(t.Sc(kStep), kStepWaitNotRanked);
    t.Frames(1);
    EXPECT_TRUE(t.ShowsLetter(478, 292, '_'));
    EXPECT_EQ(t.platform().Cursor(), 1);
    t.TakeTrace();
    t.Press(MouseButton::Right, 300, 300);
    EXPECT_EQ(t.Sc(kStep), kStepClear);
    EXPECT_EQ(ClosingGame::Count(t.TakeTrace(), {"\"effect\"", "\"slot\":7"}), 1);
    t.Frames(3);
    EXPECT_EQ(t.Scene(), 0);
    EXPECT_EQ(t.g().Records.RankTable, before);
    EXPECT_FALSE(t.dir.Exists("Kiv.ini"));
}

TEST(ResultsScene, OtherRunsPassOnAtOnceWithoutTouchingTheRanking) {
    struct Run {
        uint8_t outcome;
        bool challenge;
    };
    for (Run run : {Run{0, false}, Run{1, true}, Run{2, true}}) {
        ClosingGame t;
        KeepTimes(t, {1800, 1800, 1800, 1800, 1800, 1800, 1800, 1800});
        const auto before = t.g().Records.RankTable;
        SetGameCursor(t.g(), kCursorNone);
        t.Enter(13, run.outcome, run.challenge);
        t.Frames(1);
        EXPECT_EQ(t.Sc(kStep), kStepLeave);
        // The badge is left reading six points and 000 00 for the next stage to show.
        const Surface& parts = t.g().Media.PartsBmp;
        EXPECT_EQ(parts.Row(8)[99], SheetPixel(0, 36));
        EXPECT_EQ(parts.Row(2)[102], SheetPixel(213, 106));
        EXPECT_EQ(t.g().Sound.CurMusicName, "Kv41.mid");
        t.Frames(1);
        EXPECT_EQ(t.Scene(), 0);
        EXPECT_EQ(t.platform().Cursor(), 1);
        EXPECT_EQ(t.Lit(MakeRect(0, 0, 640, 480)), 0);
        EXPECT_EQ(t.g().Records.RankTable, before);
        t.game->CloseAndDestroy();
        EXPECT_EQ(t.dir.Read("Kiv.ini").find("______"), std::string::npos);
    }
}

}  // namespace
}  // namespace kiv
