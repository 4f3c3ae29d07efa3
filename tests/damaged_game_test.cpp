// Damaged copies of a game folder, as downloads, editors and odd tools leave them, played by
// the real program headless: each gets the message or the behaviour game makers are told of
// (docs/game-makers.md), never a crash, and the records are never lost.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "data/config_reader.h"
#include "test_game.h"

namespace kiv {
namespace {

// Through the opening and the menu into stage 1, its introduction, a stroke, the pause prompt
// ended with a left click, the ending and the results, back to the opening.
constexpr const char* kPlayStageOne =
    "frames 30\nclick 320 240\nuntil-scene 1 300\nuntil-step 12 500\nclick 311 180\nuntil-step 14 200\n"
    "click 311 180\nuntil-scene 2 500\nuntil-step 4 2000\nclick 320 240\nuntil-step 50 500\npress 300 300\n"
    "move 320 320\nrelease 320 320\nframes 40\nclick 320 240 right\nuntil-step 84 500\nclick 320 240\n"
    "until-step 98 3000\nclick 320 240\nuntil-scene 12 3000\nframes 400\nclick 320 240\nframes 800\nclose\n";

constexpr const char* kOldRecords = "[Kiv]\r\nStage=3\r\nRank01=abcdeqwerty03000\r\n";

struct Outcome : ProgramRun {
    bool Messaged(const std::string& text) const {
        return trace.find("\"ev\":\"message\",\"text\":\"" + text + "\"") != std::string::npos;
    }
    bool AnyMessage() const { return trace.find("\"ev\":\"message\"") != std::string::npos; }
    bool Sanitized() const {
        return err.find("Sanitizer") != std::string::npos || err.find("runtime error") != std::string::npos;
    }
};

class DamagedGame : public testing::Test {
public:
    void SetUp() override {
        if (!CopyDemoGame(game)) GTEST_SKIP() << "the bundled game has not been generated";
        game.Write("Kiv.ini", kOldRecords);
    }

    Outcome Play(const std::string& script = kPlayStageOne) {
        return Outcome{RunProgram(out, "--headless --seed 5 --data " + game.Path(), script)};
    }

    // The first n bytes of a file, in its place.
    void Cut(const std::string& name, size_t n) { game.Write(name, game.Read(name).substr(0, n)); }

    TempDir game, out;
};

TEST_F(DamagedGame, APictureCutShortEmptyOrTooLargeStopsTheGameWithItsNameAndKeepsTheRecords) {
    struct Case {
        const char* file;
        std::function<void(DamagedGame&)> damage;
    };
    const Case cases[] = {
        {"Ptit.bmp", [](DamagedGame& t) { t.Cut("Ptit.bmp", 20000); }},  // at start-up
        {"Ptitm.bmp", [](DamagedGame& t) { t.Cut("Ptitm.bmp", 0); }},    // zero bytes
        {"C01.jpg", [](DamagedGame& t) { t.Cut("C01.jpg", 3000); }},     // at the stage's set-up
        {"D01.bmp",
         [](DamagedGame& t) {  // 9000 pixels wide
             std::string b = t.game.Read("D01.bmp");
             b[18] = static_cast<char>(9000 & 0xFF);
             b[19] = static_cast<char>(9000 >> 8);
             t.game.Write("D01.bmp", b);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        SetUp();
        c.damage(*this);
        const Outcome r = Play();
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_TRUE(r.Messaged(std::string("cannot read  ") + c.file)) << r.trace.substr(r.trace.find("message"), 200);
        EXPECT_NE(r.err.find(c.file), std::string::npos) << r.err;  // with the reason, on the terminal
        EXPECT_FALSE(r.Sanitized()) << r.err;
        EXPECT_EQ(game.Read("Kiv.ini"), kOldRecords);
    }
}

TEST_F(DamagedGame, SoundsThatAreNotSoundsAndTunesOfNoOrEndlessLengthPlayOnInSilence) {
    game.Write("Q07.wav", "this is not a sound");
    game.Write("V010.wav", "");
    game.Write("Kv01.mid", "");  // no tune at all
    // A tune of no length, and one of months (the slowest tempo, the longest wait).
    const std::string header = std::string("MThd\0\0\0\x06\0\0\0\x01\x01\xe0", 14);
    game.Write("Kv02.mid", header + std::string("MTrk\0\0\0\x04\0\xff\x2f\0", 12));
    game.Write("Kv03.mid", header + std::string("MTrk\0\0\0\x12\0\xff\x51\x03\xff\xff\xff\x8f\xff\xff\x7f\x90\x3c\x40"
                                                "\0\xff\x2f\0",
                                                26));
    const Outcome r = Play();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(r.AnyMessage());
    EXPECT_FALSE(r.Sanitized()) << r.err;
    EXPECT_NE(r.trace.find("\"ev\":\"frame\",\"scene\":13"), std::string::npos) << "the run reached the results";
}

TEST_F(DamagedGame, AShortKivTxtPlaysOnZerosAndSaysWhereItStopped) {
    std::string text = game.Read("Kiv.txt");
    size_t at = 0;
    for (int line = 0; line < 100; ++line) at = text.find("\r\n", at) + 2;
    game.Write("Kiv.txt", text.substr(0, at));
    const Outcome r = Play("frames 30\nclick 320 240\nuntil-scene 1 300\nframes 100\nclose\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Kiv.txt stops after line 100 of 213"), std::string::npos) << r.err;
    EXPECT_FALSE(r.AnyMessage());
    EXPECT_NE(game.Read("Kiv.ini").find("Rank01=abcdeqwerty03000\r\n"), std::string::npos);
}

TEST_F(DamagedGame, BytesThatAreNotShiftJisInTheTextsAreShownAsTheyCome) {
    std::string text = game.Read("Kiv.txt");
    std::string junk;
    for (int i = 0; i < 90; ++i) junk += static_cast<char>("\x80\x81\xa0\xe0\xfc\xfd\xff\x82\x7f\x1b\t"[i % 11]);
    // Line 1 (the name) and the texts of stage 1 (lines 112..121) become bytes of no character.
    size_t at = 0;
    std::string out;
    for (int line = 1; at < text.size(); ++line) {
        const size_t end = text.find("\r\n", at);
        const std::string l = text.substr(at, end - at);
        out += (line == 1 ? junk.substr(0, 16) : (line >= 112 && line <= 121) ? junk : l) + "\r\n";
        if (end == std::string::npos) break;
        at = end + 2;
    }
    game.Write("Kiv.txt", out);
    const Outcome r = Play();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(r.AnyMessage());
    EXPECT_FALSE(r.Sanitized()) << r.err;
}

TEST_F(DamagedGame, AbsurdRecordsAreReadAsTheyStandAndSavedReadable) {
    game.Write("Kiv.ini",
               "[Kiv]\r\nStage=300\r\nRank01=abc\r\nRank02=\r\nRank03=zzzzzzzzzzzzzzzzzzzzzzzzzzzz\r\n"
               "Rank04=*****master99999\r\nRank05=*****master-1234\r\nMyName=" +
                   std::string(3000, 'a') + "\r\n");
    const Outcome r = Play();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(r.Sanitized()) << r.err;
    const std::string ini = game.Read("Kiv.ini");
    // 300 keeps its low eight bits (44); entering a stage leaves at most the menu's eight open.
    EXPECT_NE(ini.find("Stage=8\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Rank01=abc\r\nRank02=\r\nRank03=zzzzzzzzzzzzzzzz\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("MyName=" + std::string(3000, 'a') + "\r\n"), std::string::npos);  // never rewritten

    // A Kiv.ini of bytes that are not text at all keeps them, and gets the records added.
    std::string junk;
    for (int i = 0; i < 3000; ++i) junk += static_cast<char>((i * 131 + 7) & 0xFF);
    game.Write("Kiv.ini", junk);
    const Outcome r2 = Play("frames 30\nclick 320 240\nuntil-scene 1 300\nframes 100\nclose\n");
    EXPECT_EQ(r2.status, 0) << r2.err;
    const std::string after = game.Read("Kiv.ini");
    EXPECT_NE(after.find("[Kiv]\r\nStage=1\r\nRank01=*****master02950\r\n"), std::string::npos);
}

TEST(KivTextEnd, ReadingTellsHowFarAShortFileWent) {
    KivTextLines text;
    const std::string full = text.Bytes();
    Config cfg;
    EXPECT_EQ(ParseConfiguration(full, "/nonexistent/", cfg).warning, "");
    // Without its help line (and the free line before it) it is still whole.
    text.lines.resize(211);
    EXPECT_EQ(ParseConfiguration(text.Bytes(), "/nonexistent/", cfg).warning, "");

    text.lines.resize(200);
    std::string part = text.Bytes();
    part.resize(part.size() - 2);  // line 200 without its line end
    EXPECT_EQ(ParseConfiguration(part, "/nonexistent/", cfg).warning,
              "Kiv.txt stops after line 200 of 213: the numbers after it read as 0 and the texts as empty");
    std::string lf = full;
    for (size_t p; (p = lf.find('\r')) != std::string::npos;) lf.erase(p, 1);
    const std::string w = ParseConfiguration(lf, "/nonexistent/", cfg).warning;
    EXPECT_EQ(w.rfind("Kiv.txt stops after line 1 of 213", 0), 0u) << w;
    EXPECT_NE(w.find("LF alone"), std::string::npos) << w;
    EXPECT_EQ(ParseConfiguration("", "/nonexistent/", cfg).warning.rfind("Kiv.txt stops after line 0 of 213", 0), 0u);
}

}  // namespace
}  // namespace kiv
