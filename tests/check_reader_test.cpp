// What the check asks of the shared readers: a reading of Kiv.txt that notes every malformed
// number and the line of every record while the game's own reading still stops at the first,
// and the Shift-JIS test.
#include <gtest/gtest.h>

#include "data/config_reader.h"
#include "data/sjis.h"
#include "test_game.h"

namespace kiv {
namespace {

TEST(CheckReader, NotesEveryMalformedNumberWhileTheGameStopsAtTheFirst) {
    KivTextLines k;
    k.lines[26] = "4 2y 1 2 3 3 1 3 3 0 0 0 0";         // StageParams of stage 3
    k.lines[50] = "1 2 3 4 5 6 7 8 9 1.5";              // CheckPoints of stage 1, point 15's Y
    k.lines[22] = "$ 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";  // the ending's layout
    k.lines[111] = "Hi_/";
    Config cfg;
    ConfigNotes notes;
    ASSERT_TRUE(ParseConfiguration(k.Bytes(), "/nonexistent/", cfg, &notes).ok);
    ASSERT_EQ(notes.BadNumbers.size(), 3u);
    EXPECT_EQ(notes.BadNumbers[0].Line, 23);
    EXPECT_EQ(notes.BadNumbers[0].Place, "StageLayout of the ending");
    EXPECT_EQ(notes.BadNumbers[0].Record, 10);
    EXPECT_EQ(notes.BadNumbers[1].Line, 27);
    EXPECT_EQ(notes.BadNumbers[1].Token, "2y");
    EXPECT_EQ(notes.BadNumbers[1].Place, "StageParams of stage 3");
    EXPECT_EQ(notes.BadNumbers[1].Table, "StageParams");
    EXPECT_EQ(notes.BadNumbers[1].Record, 2);
    EXPECT_EQ(notes.BadNumbers[2].Line, 51);
    EXPECT_EQ(notes.BadNumbers[2].Place, "CheckPoints of stage 1");
    // A bad token reads as 0 and takes its own place: the values after it stand where they should.
    EXPECT_EQ(cfg.StageParams[2][0], 4);
    EXPECT_EQ(cfg.StageParams[2][1], 0);
    EXPECT_EQ(cfg.StageParams[2][2], 1);
    EXPECT_EQ(cfg.CheckPoints[0][14].Y, 0);
    EXPECT_EQ(cfg.StageTexts[0][1], "Hi_/");
    EXPECT_EQ(notes.StageParamsLine[2], 27);
    EXPECT_EQ(notes.CheckPointLine[0][14], 51);
    EXPECT_EQ(notes.StageTextLine[0][1], 112);
    EXPECT_EQ(notes.StageTextLine[9][10], 211);
    EXPECT_EQ(notes.TickerLine, 213);

    // The game's own reading still ends at the first one.
    ConfigResult r = ParseConfiguration(k.Bytes(), "/nonexistent/", cfg);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("line 23"), std::string::npos) << r.message;
}

TEST(CheckReader, NotesWholeTextLinesMusicNamesAndLoneLineFeeds) {
    KivTextLines k;
    k.lines[0] = "A name longer than sixteen";
    k.lines[112] = std::string(100, 'a');
    k.lines[109] = "3 0 $FFFF 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
    Config cfg;
    ConfigNotes notes;
    ASSERT_TRUE(ParseConfiguration(k.Bytes(), "/nonexistent/", cfg, &notes).ok);
    EXPECT_EQ(notes.PlayerNameText, "A name longer than sixteen");
    EXPECT_EQ(cfg.DefaultPlayerName, "A name longer th");
    EXPECT_EQ(notes.StageTextWhole[0][2].size(), 100u);
    EXPECT_EQ(cfg.StageTexts[0][2].Length(), 95);
    EXPECT_EQ(notes.MusicWanted[0], "Kv03.mid");  // named even though the file is missing
    EXPECT_EQ(cfg.MusicFiles[0], "");
    EXPECT_EQ(notes.MusicWanted[1], "");
    EXPECT_EQ(notes.MusicWanted[2], "Kv9.mid");  // the last two digits of -1 + 1000000000
    EXPECT_EQ(notes.MusicLine[22], 110);
    EXPECT_EQ(notes.LoneLineFeeds, 0);

    // Lines count as an editor counts them, so an LF-only file still names its lines.
    std::string bytes = k.Bytes();
    bytes.replace(bytes.find("\r\n", bytes.find("Preset")), 2, "\n");
    ASSERT_TRUE(ParseConfiguration(bytes, "/nonexistent/", cfg, &notes).ok);
    EXPECT_EQ(notes.LoneLineFeeds, 1);
    EXPECT_EQ(notes.FirstLoneLineFeed, 12);
    EXPECT_EQ(notes.StageLayoutLine[0], 14);  // line 13 went with line 12: everything comes a line late
    EXPECT_EQ(notes.TickerLine, 214);
}

TEST(CheckReader, ARecordIsAtTheLineOfItsFirstNumber) {
    KivTextLines k;
    k.lines[1] = "0 1 2 3 4 5 6 7";  // stage 1's face row goes on on the next line
    k.lines.insert(k.lines.begin() + 2, "8 9 10 11 12 13 14");
    Config cfg;
    ConfigNotes notes;
    ASSERT_TRUE(ParseConfiguration(k.Bytes(), "/nonexistent/", cfg, &notes).ok);
    EXPECT_EQ(notes.FaceTableLine[0], 2);
    EXPECT_EQ(notes.FaceTableLine[1], 4);
    EXPECT_EQ(notes.StageParamsLine[0], 26);
}

TEST(CheckReader, FirstInvalidShiftJisByte) {
    EXPECT_EQ(FirstInvalidSjisByte("plain text"), std::string_view::npos);
    EXPECT_EQ(FirstInvalidSjisByte("\x83\x7D\x83\x58 ok \xB1"), std::string_view::npos);  // kana, half-width kana
    EXPECT_EQ(FirstInvalidSjisByte(""), std::string_view::npos);
    EXPECT_EQ(FirstInvalidSjisByte("ab\x80"
                                   "cd"),
              2u);
    EXPECT_EQ(FirstInvalidSjisByte("\x82\x66\xFD"), 2u);
    EXPECT_EQ(FirstInvalidSjisByte("abc\x82"), 3u);  // a double-byte character cut at the end
}

}  // namespace
}  // namespace kiv
