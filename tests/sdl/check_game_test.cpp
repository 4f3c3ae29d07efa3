// The game-folder check: the bundled demo passes clean, and every fault broken into a copy of
// it is reported once, at the right file and line, with the right exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "check/game_check.h"
#include "check_demo_copy.h"
#include "media_test_files.h"
#include "platform/sdl/wav_reader.h"
#include "test_game.h"

namespace kiv {
namespace {

// The demo copy checked as the program checks it: whether a sound plays is SDL's WAV reader's
// to say.
struct SdlDemoCopy : DemoCopy {
    SdlDemoCopy() { Probe = &DecodableWav; }
};

std::string Listed(const CheckReport& r) {
    std::string out;
    for (const CheckFinding& f : r.Findings) out += "\n  " + FormatFinding(f);
    return out;
}

// The report holds exactly one finding, of that kind, about that file and line, with those words.
testing::AssertionResult OnlyFinding(const CheckReport& r, bool error, const std::string& file, int line,
                                     const std::string& words) {
    if (r.Findings.size() != 1) return testing::AssertionFailure() << r.Findings.size() << " findings:" << Listed(r);
    const CheckFinding& f = r.Findings[0];
    if (f.Error != error || f.File != file || f.Line != line || f.Text.find(words) == std::string::npos)
        return testing::AssertionFailure() << "found" << Listed(r);
    return testing::AssertionSuccess();
}

std::string Grey(int w, int h) {
    return MakeBmp(w, h, [](int, int) { return 0x808080u; });
}

TEST(CheckGame, TheBundledDemoHasNothingToReport) {
    const CheckReport r = CheckGameFolder(std::string(KIV_GAME_DIR) + "/", &DecodableWav);
    EXPECT_TRUE(r.Findings.empty()) << Listed(r);

    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(RunCheck(KIV_GAME_DIR, out, &DecodableWav), 0);
    std::rewind(out);
    char buf[512] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, out);
    std::fclose(out);
    EXPECT_EQ(std::string(buf, n), std::string(KIV_GAME_DIR) + ": 0 errors, 0 warnings\n");
}

TEST(CheckGame, EveryMalformedNumberIsReportedAtItsLineAndNothingFollowsFromIt) {
    SdlDemoCopy d;
    d.SetNumber(27, 0, "1x");   // stage 3's next scene: no chain fault may follow from it
    d.SetNumber(51, 3, "12q");  // a check point of stage 1
    d.SetNumber(110, 4, "$G");  // a music number
    const CheckReport r = d.Check();
    ASSERT_EQ(r.Findings.size(), 3u) << Listed(r);
    EXPECT_EQ(FormatFinding(r.Findings[0]), "Kiv.txt:27: StageParams of stage 3: \"1x\" is not a number");
    EXPECT_EQ(FormatFinding(r.Findings[1]), "Kiv.txt:51: CheckPoints of stage 1: \"12q\" is not a number");
    EXPECT_EQ(FormatFinding(r.Findings[2]), "Kiv.txt:110: music numbers: \"$G\" is not a number");
    EXPECT_EQ(r.Errors(), 3);
}

TEST(CheckGame, ALineEndedByLfAloneIsOneErrorAtThatLine) {
    SdlDemoCopy d;
    d.rawText = d.Joined();
    size_t at = 0;
    for (int n = 1; n < 60; ++n) at = d.rawText.find("\r\n", at) + 2;
    d.rawText.erase(d.rawText.find("\r\n", at), 1);  // line 60 now ends with LF alone
    EXPECT_TRUE(OnlyFinding(d.Check(), true, "Kiv.txt", 60, "ends with LF alone"));

    SdlDemoCopy unix;
    unix.rawText = unix.Joined();
    for (size_t p; (p = unix.rawText.find("\r\n")) != std::string::npos;) unix.rawText.erase(p, 1);
    EXPECT_TRUE(OnlyFinding(unix.Check(), true, "Kiv.txt", 1, "212 more end with LF alone"));
}

struct PictureFault {
    const char* name;
    std::function<void(SdlDemoCopy&)> breakIt;
    const char* file;   // the file the finding is about
    const char* words;  // words of the finding
};

class CheckPicture : public testing::TestWithParam<PictureFault> {};

TEST_P(CheckPicture, IsReportedOnceAsAnErrorAboutTheFile) {
    SdlDemoCopy d;
    GetParam().breakIt(d);
    const CheckReport r = d.Check();
    EXPECT_TRUE(OnlyFinding(r, true, GetParam().file, 0, GetParam().words));
    EXPECT_EQ(r.Errors(), 1);
}

using media_test::WriteJpeg;
auto Flat = [](int, int) { return 0x406080u; };

INSTANTIATE_TEST_SUITE_P(
    MissingOrUnreadable, CheckPicture,
    testing::Values(
        PictureFault{"decoration_of_two_stages", [](SdlDemoCopy& d) { d.Remove("D21.bmp"); }, "D21.bmp",
                     "missing, and no D21.jpg either: decoration 1 of stage 5 (Kiv.txt:29) needs it"},
        PictureFault{"insert", [](SdlDemoCopy& d) { d.Remove("E03.jpg"); }, "E03.bmp",
                     "the insert picture of stage 3 (Kiv.txt:15)"},
        PictureFault{"bonus", [](SdlDemoCopy& d) { d.Remove("G04.jpg"); }, "G04.bmp",
                     "the bonus picture of stage 4 (Kiv.txt:16)"},
        PictureFault{"bonus_cels", [](SdlDemoCopy& d) { d.Remove("F112.bmp"); }, "F112.bmp",
                     "the bonus picture's cels of stage 4 (Kiv.txt:16)"},
        PictureFault{"cels", [](SdlDemoCopy& d) { d.Remove("F053.bmp"); }, "F053.bmp",
                     "the cels of stage 5 (Kiv.txt:29)"},
        PictureFault{"stamp", [](SdlDemoCopy& d) { d.Remove("M03.bmp"); }, "M03.bmp", "the stamp sheet of stage 4"},
        PictureFault{"ending", [](SdlDemoCopy& d) { d.Remove("End2.bmp"); }, "End2.bmp", "the ending (Kiv.txt:23)"},
        PictureFault{"sheet", [](SdlDemoCopy& d) { d.Remove("Pchzd.bmp"); }, "Pchzd.bmp",
                     "the emblem sheet of closed stages"},
        PictureFault{"damaged_background",
                     [](SdlDemoCopy& d) { d.dir.Write("C03.jpg", d.dir.Read("C03.jpg").substr(0, 600)); }, "C03.jpg",
                     "cannot be read"},
        PictureFault{"damaged_mask", [](SdlDemoCopy& d) { d.dir.Write("D05mask.bmp", "BM not a picture at all"); },
                     "D05mask.bmp", "the mask of the stage picture of stage 5"}),
    [](const testing::TestParamInfo<PictureFault>& i) { return std::string(i.param.name); });

INSTANTIATE_TEST_SUITE_P(
    WrongSize, CheckPicture,
    testing::Values(
        PictureFault{"stage_picture", [](SdlDemoCopy& d) { d.dir.Write("D04.bmp", Grey(600, 480)); }, "D04.bmp",
                     "600x480, stage pictures must be 640x480"},
        PictureFault{"background", [](SdlDemoCopy& d) { d.dir.Write("C02.jpg", WriteJpeg(640, 400, Flat)); }, "C02.jpg",
                     "640x400, backgrounds must be 640x480"},
        PictureFault{"mask", [](SdlDemoCopy& d) { d.dir.Write("D02mask.bmp", Grey(320, 240)); }, "D02mask.bmp",
                     "320x240, masks must be 640x480"},
        PictureFault{"stamp", [](SdlDemoCopy& d) { d.dir.Write("M02.bmp", Grey(100, 40)); }, "M02.bmp",
                     "100x40, a stamp sheet of three 40x40 stamps needs at least 120x40"},
        PictureFault{"cel", [](SdlDemoCopy& d) { d.dir.Write("F011.bmp", Grey(30, 30)); }, "F011.bmp",
                     "30x30 does not hold the second eye (41, 6, 59, 26), the mouth (16, 31, 48, 51) that stage 1"},
        PictureFault{"bonus", [](SdlDemoCopy& d) { d.dir.Write("G04.jpg", WriteJpeg(200, 100, Flat)); }, "G04.jpg",
                     "200x100, the bonus picture of stage 4 in (24, 150, 264, 330) needs at least 240x180"},
        PictureFault{"ending_inset", [](SdlDemoCopy& d) { d.dir.Write("End3.bmp", Grey(40, 48)); }, "End3.bmp",
                     "40x48, the ending's second inset needs at least 48x48"},
        PictureFault{"parts_sheet", [](SdlDemoCopy& d) { d.dir.Write("Ptit.bmp", Grey(200, 108)); }, "Ptit.bmp",
                     "200x108 does not hold the opening logo (167, 0, 265, 90), the gauge strips (185, 104, 265, "
                     "108): the parts sheet must be at least 265x108"},
        PictureFault{"emblem", [](SdlDemoCopy& d) { d.dir.Write("Pchz.bmp", Grey(594, 60)); }, "Pchz.bmp",
                     "594x60 does not hold the eight emblem slices"}),
    [](const testing::TestParamInfo<PictureFault>& i) { return std::string(i.param.name); });

TEST(CheckGame, TextLinesNeedTheirEndCodeOnTheTypingStepsAndAtMost95Bytes) {
    SdlDemoCopy missing;
    std::string& l114 = missing.Line(114);
    l114.erase(l114.find("_/"));
    EXPECT_TRUE(OnlyFinding(missing.Check(), true, "Kiv.txt", 114, "text line 3 of stage 1 has no end code \"_/\""));

    SdlDemoCopy shifted;
    shifted.Line(125) = "x" + shifted.Line(125);  // a one-byte letter before double-byte text
    EXPECT_TRUE(
        OnlyFinding(shifted.Check(), true, "Kiv.txt", 125, "text line 4 of stage 2: its end code \"_/\" at byte"));

    SdlDemoCopy tooLong;
    tooLong.Line(116) = std::string(98, 'a') + "_/";
    EXPECT_TRUE(OnlyFinding(tooLong.Check(), true, "Kiv.txt", 116,
                            "text line 5 of stage 1 has 100 bytes; the game keeps 95, and the cut leaves it without"));

    SdlDemoCopy remark;  // what stands past byte 95 after the end code is only never shown
    remark.Line(116) += std::string(90, ' ') + "; stage 1, line 5";
    const CheckReport r = remark.Check();
    EXPECT_TRUE(OnlyFinding(r, false, "Kiv.txt", 116, "and what stands after them is never shown"));

    // 94 bytes that fit, until the player's name "Friend" takes the place of the placeholder.
    SdlDemoCopy named;
    named.Line(117) = "Hi, \x82\x66" + std::string(86, 'a') + "_/";
    EXPECT_TRUE(OnlyFinding(named.Check(), false, "Kiv.txt", 117, "cut to 95 bytes and loses its end code"));
}

TEST(CheckGame, ACheckPointNoAllowedPressCanRubIsAnError) {
    // The finale's curtain may start over the whole screen (it takes over the rubbing of the
    // stage before), so its points are checked wherever they stand.
    SdlDemoCopy face;
    face.SetFirstPoint(85, 420, 130);
    EXPECT_TRUE(OnlyFinding(face.Check(), true, "Kiv.txt", 85,
                            "CheckPoints of stage 10: point 1 (420, 130) can never be uncovered: every press that "
                            "would rub it lies in the protected circle (420, 130, radius 70)"));

    SdlDemoCopy tag;
    tag.SetFirstPoint(87, 76, 45);
    EXPECT_TRUE(OnlyFinding(tag.Check(), true, "Kiv.txt", 87, "point 11 (76, 45) can never be uncovered"));

    // Without the spread of the first stroke no stamp reaches the middle of the ink spot.
    SdlDemoCopy ink;
    ink.SetNumber(11, 0, "0");
    ink.SetFirstPoint(86, 56, 340);
    EXPECT_TRUE(OnlyFinding(ink.Check(), true, "Kiv.txt", 86, "lies in the ink spot (56, 340, radius 35)"));

    SdlDemoCopy spread;  // with it, a stamp of the spread does
    spread.SetFirstPoint(86, 56, 340);
    EXPECT_TRUE(spread.Check().Findings.empty());

    SdlDemoCopy noInk;
    noInk.SetNumber(13, 5, "-100");
    EXPECT_TRUE(OnlyFinding(noInk.Check(), true, "Kiv.txt", 13, "StageLayout of stage 1: no click inside the window"));
}

TEST(CheckGame, ACheckPointThatCountsFromTheStartIsOnlyAWarning) {
    SdlDemoCopy transparent;  // the face is not part of stage 1's picture
    transparent.SetFirstPoint(49, 420, 130);
    const CheckReport r = transparent.Check();
    EXPECT_TRUE(OnlyFinding(r, false, "Kiv.txt", 49, "point 1 (420, 130) lies where the stage picture is transparent"));
    EXPECT_EQ(r.Errors(), 0);

    SdlDemoCopy outside;
    outside.SetFirstPoint(50, 700, 20);
    EXPECT_TRUE(
        OnlyFinding(outside.Check(), false, "Kiv.txt", 50, "point 6 (700, 20) lies outside the 640x480 picture"));
}

TEST(CheckGame, EveryChainOfStagesMustReachTheEnding) {
    SdlDemoCopy loop;
    loop.SetNumber(29, 0, "3");  // stage 5 leads back to stage 3
    EXPECT_TRUE(OnlyFinding(loop.Check(), true, "Kiv.txt", 29,
                            "StageParams of stage 5: a clear leads back to stage 3, so stages 3, 4 and 5 go round in a "
                            "loop and never reach the ending (scene 12)"));

    SdlDemoCopy opening;
    opening.SetNumber(34, 0, "0");  // stage 10 leads to the menu
    EXPECT_TRUE(
        OnlyFinding(opening.Check(), true, "Kiv.txt", 34, "StageParams of stage 10: a clear leads to scene 1;"));

    SdlDemoCopy empty;
    empty.Line(34) = "0 0 0 0 0 0 0 0 0 0 0 0 0";
    EXPECT_TRUE(OnlyFinding(empty.Check(), true, "Kiv.txt", 33,
                            "StageParams of stage 9: a clear leads to stage 10, whose StageParams are all 0"));

    SdlDemoCopy gap;  // the menu opens stage 7 once stage 8 has been played
    gap.Line(31) = "0 0 0 0 0 0 0 0 0 0 0 0 0";
    EXPECT_TRUE(
        OnlyFinding(gap.Check(), true, "Kiv.txt", 31, "StageParams of stage 7 are all 0, but the menu offers it"));

    SdlDemoCopy unreachable;  // stage 9 ends the course: nothing leads to stage 10 any more
    unreachable.SetNumber(33, 0, "11");
    const CheckReport r = unreachable.Check();
    EXPECT_TRUE(OnlyFinding(r, false, "Kiv.txt", 34, "no stage leads to stage 10"));
    EXPECT_EQ(r.Errors(), 0);
}

struct SoundOrTextFault {
    const char* name;
    std::function<void(SdlDemoCopy&)> breakIt;
    const char* file;
    int line;
    const char* words;
};

class CheckWarning : public testing::TestWithParam<SoundOrTextFault> {};

TEST_P(CheckWarning, IsReportedOnceAndLeavesTheExitStatusAtZero) {
    SdlDemoCopy d;
    GetParam().breakIt(d);
    const CheckReport r = d.Check();
    EXPECT_TRUE(OnlyFinding(r, false, GetParam().file, GetParam().line, GetParam().words));
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(RunCheck(d.dir.Path(), out, &DecodableWav), 0);
    std::fclose(out);
}

INSTANTIATE_TEST_SUITE_P(
    SoundsAndTexts, CheckWarning,
    testing::Values(SoundOrTextFault{"effect", [](SdlDemoCopy& d) { d.Remove("Q05.wav"); }, "Q05.wav", 0,
                                     "missing: effect slot 4 (Kiv.txt:36) stays silent"},
                    SoundOrTextFault{"stage_effect", [](SdlDemoCopy& d) { d.dir.Write("Q10.wav", "RIFF....WAVEjunk"); },
                                     "Q10.wav", 0, "cannot be played"},
                    SoundOrTextFault{"voice", [](SdlDemoCopy& d) { d.Remove("V013.wav"); }, "V013.wav", 0,
                                     "missing: text line 4 of stage 1 (Kiv.txt:115) is typed without its voice"},
                    SoundOrTextFault{"music", [](SdlDemoCopy& d) { d.dir.Write("Kv03.mid", "MThd broken"); },
                                     "Kv03.mid", 0,
                                     "cannot be read as a Standard MIDI File: music slot 3 (Kiv.txt:110)"},
                    SoundOrTextFault{"missing_music", [](SdlDemoCopy& d) { d.Remove("Kv08.mid"); }, "Kv08.mid", 0,
                                     "missing: music slot 22 (Kiv.txt:110) stays silent"},
                    SoundOrTextFault{"odd_name", [](SdlDemoCopy& d) { d.Line(1) = "Bob"; }, "Kiv.txt", 1,
                                     "the default player name \"Bob\" has 3 bytes, an odd number"},
                    SoundOrTextFault{"shift_jis", [](SdlDemoCopy& d) { d.Line(213) += " \x85\x40"; }, "Kiv.txt", 213,
                                     "the help line: byte"}),
    [](const testing::TestParamInfo<SoundOrTextFault>& i) { return std::string(i.param.name); });

TEST(CheckGame, AFolderWithoutKivTxtOrAtAllIsAnError) {
    SdlDemoCopy d;
    d.Remove("Kiv.txt");
    const CheckReport r = CheckGameFolder(d.dir.Path(), &DecodableWav);
    EXPECT_TRUE(OnlyFinding(r, true, "Kiv.txt", 0, "missing"));

    const CheckReport none = CheckGameFolder(d.dir.File("nothing-here"), &DecodableWav);
    EXPECT_EQ(none.Errors(), 1);
}

}  // namespace
}  // namespace kiv
