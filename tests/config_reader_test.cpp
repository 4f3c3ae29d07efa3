#include "data/config_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace kiv {
namespace {

// A Kiv.txt of the intended shape: every record on its own line, CR LF line ends.
struct KivText {
    std::vector<std::string> lines = std::vector<std::string>(213);

    KivText() {
        lines[0] = "Hero";
        for (int s = 0; s < 10; ++s) lines[1 + s] = Numbers(15, 100 * s);
        lines[11] = "Champ";
        for (int s = 0; s < 11; ++s) lines[12 + s] = Numbers(17, 1000 + 20 * s);
        lines[23] = "// parameters";
        for (int s = 0; s < 10; ++s) lines[24 + s] = Numbers(13, s);
        lines[35] = Numbers(9, 40);
        for (int s = 0; s < 10; ++s) lines[37 + s] = Numbers(12, 300 + s);
        for (int i = 0; i < 40; ++i) lines[48 + i] = Numbers(10, 10 * i);
        for (int r = 0; r < 3; ++r) lines[89 + r] = Numbers(11, 65 + r);
        for (int i = 0; i < 12; ++i) lines[93 + i] = Numbers(12, i);
        lines[106] = Numbers(8, 0);
        lines[107] = "123456";
        lines[109] = "1 0 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
        for (int s = 0; s < 10; ++s)
            for (int i = 1; i <= 10; ++i)
                lines[110 + 10 * s + i] = "text " + std::to_string(s) + "-" + std::to_string(i) + "_/";
        lines[212] = "Help line";
    }

    static std::string Numbers(int n, int first) {
        std::string s;
        for (int i = 0; i < n; ++i) s += (i ? " " : "") + std::to_string(first + i);
        return s;
    }

    std::string Bytes(const std::string& eol = "\r\n") const {
        std::string out;
        for (const auto& l : lines) out += l + eol;
        return out;
    }
};

TEST(ConfigReader, ReadsEveryTableFromItsLine) {
    TempDir dir;
    dir.Write("Kv01.mid", "MThd");
    Config cfg;
    ConfigResult r = ParseConfiguration(KivText().Bytes(), dir.Path(), cfg);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(cfg.DefaultPlayerName, "Hero");
    EXPECT_EQ(cfg.FaceTable[0][0], 0);
    EXPECT_EQ(cfg.FaceTable[9][14], 914);
    EXPECT_EQ(cfg.PresetRankName, "Champ");
    EXPECT_EQ(cfg.StageLayout[10][16], 1000 + 200 + 16);
    EXPECT_EQ(cfg.StageParams[9][12], 21);
    EXPECT_EQ(cfg.SoundNumbers[8], 48);
    EXPECT_EQ(cfg.StageSpots[9][11], 320);
    EXPECT_EQ(cfg.CheckPoints[0][0].X, 0);
    EXPECT_EQ(cfg.CheckPoints[0][0].Y, 1);
    EXPECT_EQ(cfg.CheckPoints[0][19].Y, 30 + 9);
    EXPECT_EQ(cfg.CheckPoints[9][19].X, 390 + 8);
    EXPECT_EQ(cfg.OpeningScript[2][10], 77);
    EXPECT_EQ(cfg.PaletteRGB[47].B, 11 + 11);
    EXPECT_EQ(cfg.ResultCodeSeed, 123456);
    EXPECT_EQ(cfg.MusicFiles[0], "Kv01.mid");
    EXPECT_EQ(cfg.MusicFiles[2], "");  // Kv03.mid does not exist
    EXPECT_EQ(cfg.MusicFiles[1], "");
    EXPECT_EQ(cfg.StageTexts[0][1], "text 0-1_/");
    EXPECT_EQ(cfg.StageTexts[9][10], "text 9-10_/");
    EXPECT_EQ(cfg.TickerText, "Help line");
}

TEST(ConfigReader, TextFieldsAreCutAndPlaceholdersExpanded) {
    KivText k;
    k.lines[0] = "//dt";
    k.lines[11] = "//du";
    k.lines[111] = std::string(100, 'a');
    k.lines[212] = std::string(1000, 'h');
    Config cfg;
    ASSERT_TRUE(ParseConfiguration(k.Bytes(), "/nonexistent/", cfg).ok);
    EXPECT_EQ(cfg.DefaultPlayerName, "\x83\x7D\x83\x58\x83\x5E\x81\x5B");
    EXPECT_EQ(cfg.PresetRankName, "master");
    EXPECT_EQ(cfg.StageTexts[0][1], std::string(95, 'a'));
    EXPECT_EQ(cfg.TickerText.size(), 1000u);

    k.lines[0] = "//dt ";
    k.lines[11] = "Longer name";
    ASSERT_TRUE(ParseConfiguration(k.Bytes(), "/nonexistent/", cfg).ok);
    EXPECT_EQ(cfg.DefaultPlayerName, "//dt ");
    EXPECT_EQ(cfg.PresetRankName, "Longer");
}

TEST(ConfigReader, OnlyCarriageReturnsEndLines) {
    Config cfg;
    ASSERT_TRUE(ParseConfiguration(KivText().Bytes("\n"), "/nonexistent/", cfg).ok);
    EXPECT_EQ(cfg.DefaultPlayerName, "Hero\n0 1 2 3 4 5");  // the first 16 bytes
    EXPECT_EQ(cfg.FaceTable[0][1], 0);
    EXPECT_EQ(cfg.StageTexts[0][1], "");
    EXPECT_EQ(cfg.TickerText, "");

    // A lone CR ends a line as well as CR LF does.
    ASSERT_TRUE(ParseConfiguration(KivText().Bytes("\r"), "/nonexistent/", cfg).ok);
    EXPECT_EQ(cfg.FaceTable[9][14], 914);
    EXPECT_EQ(cfg.StageTexts[9][10], "text 9-10_/");
}

TEST(ConfigReader, ARecordMaySpreadOverSeveralLines) {
    KivText k;
    k.lines[1] = "0 1 2 3 4 5 6 7";  // stage 0's face row goes on on the next line
    k.lines.insert(k.lines.begin() + 2, "\t8 9 10\t11 12 13 14");
    Config cfg;
    ConfigResult r = ParseConfiguration(k.Bytes(), "/nonexistent/", cfg);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(cfg.FaceTable[0][8], 8);
    EXPECT_EQ(cfg.FaceTable[0][14], 14);
    EXPECT_EQ(cfg.FaceTable[1][0], 100);
    EXPECT_EQ(cfg.PresetRankName, "Champ");
    EXPECT_EQ(cfg.StageTexts[9][10], "text 9-10_/");
    EXPECT_EQ(cfg.TickerText, "Help line");
}

TEST(ConfigReader, NumberFormsAndTruncation) {
    KivText k;
    k.lines[1] = "$1F x1F X1f 0x1F 0X1f -$10 +7 -32768 65537 70000 $FFFFFFFF -1 0 0 0";
    k.lines[24] = "256 257 -1 $1FF 0 0 0 0 0 0 0 0 0";
    k.lines[107] = "-2147483648";
    Config cfg;
    ASSERT_TRUE(ParseConfiguration(k.Bytes(), "/nonexistent/", cfg).ok);
    const auto& f = cfg.FaceTable[0];
    EXPECT_EQ(f[0], 31);
    EXPECT_EQ(f[1], 31);
    EXPECT_EQ(f[2], 31);
    EXPECT_EQ(f[3], 31);
    EXPECT_EQ(f[4], 31);
    EXPECT_EQ(f[5], -16);
    EXPECT_EQ(f[6], 7);
    EXPECT_EQ(f[7], -32768);
    EXPECT_EQ(f[8], 1);     // low 16 bits of 65537
    EXPECT_EQ(f[9], 4464);  // 70000 - 65536
    EXPECT_EQ(f[10], -1);
    EXPECT_EQ(cfg.StageParams[0][0], 0);
    EXPECT_EQ(cfg.StageParams[0][1], 1);
    EXPECT_EQ(cfg.StageParams[0][2], 255);
    EXPECT_EQ(cfg.StageParams[0][3], 255);
    EXPECT_EQ(cfg.ResultCodeSeed, INT32_MIN);
}

TEST(ConfigReader, ATokenEndsAfterThirtyTwoBytes) {
    // The rest of a longer token is read as the next number.
    KivText k;
    k.lines[1] = std::string(32, '0') + "7 9 3 4 5 6 7 8 9 10 11 12 13 14";
    Config cfg;
    ASSERT_TRUE(ParseConfiguration(k.Bytes(), "/nonexistent/", cfg).ok);
    EXPECT_EQ(cfg.FaceTable[0][0], 0);
    EXPECT_EQ(cfg.FaceTable[0][1], 7);
    EXPECT_EQ(cfg.FaceTable[0][2], 9);
}

TEST(ConfigReader, MalformedNumberNamesLineAndToken) {
    for (const char* bad : {"12a", "2147483648", "-2147483649", "$123456789", "1.5", "$", "--1", "0x"}) {
        KivText k;
        k.lines[13] = std::string("5 ") + bad + " 7";
        Config cfg;
        ConfigResult r = ParseConfiguration(k.Bytes(), "/nonexistent/", cfg);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_NE(r.message.find("line 14"), std::string::npos) << r.message;
        EXPECT_NE(r.message.find(std::string("\"") + bad + "\""), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("Kiv.txt"), std::string::npos) << r.message;
    }
}

TEST(ConfigReader, FileEndingEarlyOrAtCtrlZLeavesZeros) {
    KivText k;
    std::string bytes = k.Bytes();
    Config cfg;
    ASSERT_TRUE(ParseConfiguration(bytes.substr(0, bytes.find("Champ")), "/nonexistent/", cfg).ok);
    EXPECT_EQ(cfg.FaceTable[9][14], 914);
    EXPECT_EQ(cfg.PresetRankName, "");
    EXPECT_EQ(cfg.StageLayout[0][0], 0);

    // Ctrl-Z ends the file: nothing after it is read.
    std::string z = bytes;
    z.insert(z.find("Champ"), "\x1A");
    ASSERT_TRUE(ParseConfiguration(z, "/nonexistent/", cfg).ok);
    EXPECT_EQ(cfg.PresetRankName, "");
    EXPECT_EQ(cfg.TickerText, "");

    ASSERT_TRUE(ParseConfiguration("", "/nonexistent/", cfg).ok);
    EXPECT_EQ(cfg.DefaultPlayerName, "");
}

TEST(ConfigReader, MusicSlotsNeedTheirFiles) {
    TempDir dir;
    dir.Write("Kv03.mid", "x");
    dir.Write("KV12.MID", "x");  // a folder made on Windows may spell names in capitals
    KivText k;
    k.lines[109] = "3 0 4 12";
    k.lines[110] = "$10003 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";  // continues on the free line; low 16 bits = 3
    Config cfg;
    ASSERT_TRUE(ParseConfiguration(k.Bytes(), dir.Path(), cfg).ok);
    EXPECT_EQ(cfg.MusicFiles[0], "Kv03.mid");
    EXPECT_EQ(cfg.MusicFiles[1], "");
    EXPECT_EQ(cfg.MusicFiles[2], "");
    EXPECT_EQ(cfg.MusicFiles[3], "Kv12.mid");
    EXPECT_EQ(cfg.MusicFiles[4], "Kv03.mid");
    // The numbers took the free line 111, so the first text line is skipped with it.
    EXPECT_EQ(cfg.StageTexts[0][1], "text 0-2_/");

    // A negative number is padded as a signed 16-bit value: -1 gives "9", $FFFE (-2) "8".
    dir.Write("Kv9.mid", "x");
    dir.Write("Kv8.mid", "x");
    dir.Write("Kv35.mid", "x");  // what 65535 read unsigned would name
    KivText n;
    n.lines[109] = "-1 $FFFE 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
    ASSERT_TRUE(ParseConfiguration(n.Bytes(), dir.Path(), cfg).ok);
    EXPECT_EQ(cfg.MusicFiles[0], "Kv9.mid");
    EXPECT_EQ(cfg.MusicFiles[1], "Kv8.mid");
}

}  // namespace
}  // namespace kiv
