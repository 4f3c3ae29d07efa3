// The sheets loaded at start-up, and the halt path when one of them is missing.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_game.h"

namespace kiv {
namespace {

TEST(MediaStartUp, SheetsLoadAndTheWindowShowsBlack) {
    TempDir dir;
    WriteMinimalGame(dir);
    HeadlessGame h(dir.Path());
    ASSERT_TRUE(h.created);
    EXPECT_TRUE(h.platform.Messages().empty());
    EXPECT_FALSE(h.game.Shell.HaltRequested);
    const MediaState& m = h.game.Media;
    EXPECT_EQ(m.PartsBmp.Width, 640);
    EXPECT_EQ(m.PartsMaskBmp.Height, 480);
    EXPECT_EQ(m.IconBmp.Width, 320);
    EXPECT_EQ(m.IconOffBmp.Width, 320);
    EXPECT_EQ(m.IconMaskBmp.Height, 160);
    // The touch-up blackened the glyph cell edges of the (grey) parts sheet.
    EXPECT_EQ(m.PartsBmp.Row(35)[100], 0u);
    EXPECT_NE(m.PartsBmp.Row(36)[100], 0u);
    EXPECT_TRUE(h.platform.Visible());
    EXPECT_EQ(h.platform.WindowImage()[320 * 640 + 100], 0u);
}

TEST(MediaStartUp, MissingPartsSheetHaltsAndClosesWithoutSaving) {
    TempDir dir;
    WriteMinimalGame(dir);
    std::remove(dir.File("Ptit.bmp").c_str());
    std::remove(dir.File("Pchz.bmp").c_str());
    HeadlessGame h(dir.Path());
    ASSERT_TRUE(h.created);
    EXPECT_EQ(h.platform.Messages(), std::vector<std::string>{"not find  Ptit.bmp"});
    EXPECT_FALSE(h.platform.Visible());
    EXPECT_TRUE(h.game.Shell.HaltRequested);
    EXPECT_TRUE(h.game.Shell.CloseRequested);
    EXPECT_TRUE(h.game.Media.PartsBmp.Empty());
    // Start-up went on: the other sheets loaded, and the second missing one gave no dialog.
    EXPECT_EQ(h.game.Media.IconOffBmp.Width, 320);
    EXPECT_TRUE(h.game.Media.IconBmp.Empty());

    // The first tick closes the window; no frame runs.
    h.Frames(3);
    EXPECT_TRUE(h.platform.Closed());
    EXPECT_EQ(h.game.Shell.FramesRun, 0u);
    h.CloseAndDestroy();
    EXPECT_FALSE(dir.Exists("Kiv.ini"));
}

TEST(MediaStartUp, BinaryEndsWithStatusOneWhenThePicturesAreMissing) {
    TempDir game, out;
    game.Write("Kiv.txt", KivTextLines().Bytes());
    const ProgramRun run = RunProgram(out, "--headless --data " + game.Path(), "frames 5\n");
    ASSERT_NE(run.status, -1);
    EXPECT_EQ(run.status, 1);
    const std::string& trace = run.trace;
    EXPECT_NE(trace.find("\"ev\":\"message\",\"text\":\"not find  Ptit.bmp\""), std::string::npos) << trace;
    // One dialog: the other missing sheets are only noted on stderr.
    EXPECT_EQ(trace.find("\"text\":\"not find  Ptitm.bmp\""), std::string::npos) << trace;
    EXPECT_NE(run.err.find("not find  Pchzd.bmp"), std::string::npos);
    EXPECT_NE(run.err.find("not find  Ptit.bmp"), std::string::npos);
    EXPECT_EQ(trace.find("\"ev\":\"frame\""), std::string::npos);
    EXPECT_FALSE(game.Exists("Kiv.ini"));
}

}  // namespace
}  // namespace kiv
