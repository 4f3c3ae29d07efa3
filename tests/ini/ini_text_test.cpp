// The INI line model alone: how a text is cut into lines and read as the profile functions read
// it, and how keys are written into it keeping everything else.
#include "ini/ini_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kiv {
namespace {

using Kind = IniLine::Kind;

std::vector<std::string> Texts(const std::string& text) {
    std::vector<std::string> out;
    for (const IniLine& l : IniLines(text)) out.emplace_back(l.text);
    return out;
}

TEST(IniLines, EveryEditorsLineEndsEndALineAndALastLineWithoutOneCounts) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Texts("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(Texts("a\n\rb\r\r\nc\r\n"), (V{"a", "", "b", "", "c"}));  // LF CR is two ends, CR CR LF too
    EXPECT_EQ(Texts("\r\n\r\n"), (V{"", ""}));
    EXPECT_TRUE(IniLines("").empty());
    EXPECT_EQ(Texts(std::string("a\0b\nc", 5)), (V{std::string("a\0b", 3), "c"}));
}

TEST(IniLines, SectionsKeysAndEverythingElse) {
    const std::vector<IniLine> l = IniLines(
        "\xEF\xBB\xBF[ Kiv ] trailing\n  Key  =  some value = more  \n; Key=1\n# Key=2\n[Broken\n=no name\nwords\n"
        "\xEF\xBB\xBF[Two]\n[]\n");
    ASSERT_EQ(l.size(), 9u);
    EXPECT_EQ(l[0].kind, Kind::Section);
    EXPECT_EQ(l[0].name, "Kiv");
    EXPECT_EQ(l[0].text, "\xEF\xBB\xBF[ Kiv ] trailing");  // the line as it stands, mark and all
    EXPECT_EQ(l[1].kind, Kind::Key);
    EXPECT_EQ(l[1].name, "Key");
    EXPECT_EQ(l[1].value, "some value = more");
    for (size_t i : {2, 3, 4, 5, 6}) EXPECT_EQ(l[i].kind, Kind::Other) << i;
    EXPECT_EQ(l[7].kind, Kind::Other) << "a mark is taken off the first line only";
    EXPECT_EQ(l[8].kind, Kind::Section);  // of the empty name
    EXPECT_EQ(l[8].name, "");
}

TEST(IniSection, ReadsValuesAsTheProfileFunctionsDo) {
    const std::string text =
        "Rank01=outside\r\n; a comment\r\n[KIV]\r\nRank01=abc\r\nRank03=\"quoted\"\r\nRank04=a=b;c\r\n"
        "Rank05=first\r\nRank05=second\r\nrank06=  'single'  \r\nRank07=\"\r\nRank08=\"mixed'\r\nEmpty=\r\n"
        "[Other]\r\nRank09=theirs\r\n[kiv]\r\nRank10=again\r\nMyName=\x83\x5e\x83\x8d\x81\x5b\r\n";
    const IniSection s(text, "Kiv");
    EXPECT_TRUE(s.Present());
    EXPECT_EQ(s.ReadString("RANK01", "d"), "abc");  // names in any case; keys before a section are no key of it
    EXPECT_EQ(s.ReadString("Rank03", "d"), "quoted");
    EXPECT_EQ(s.ReadString("Rank04", "d"), "a=b;c");
    EXPECT_EQ(s.ReadString("Rank05", "d"), "first");
    EXPECT_EQ(s.ReadString("Rank06", "d"), "single");
    EXPECT_EQ(s.ReadString("Rank07", "d"), "\"");  // one quote is no pair
    EXPECT_EQ(s.ReadString("Rank08", "d"), "\"mixed'");
    EXPECT_EQ(s.ReadString("Empty", "d"), "");
    EXPECT_EQ(s.ReadString("Rank09", "d"), "d");
    EXPECT_EQ(s.ReadString("Rank10", "d"), "again");                     // a second section of the name counts
    EXPECT_EQ(s.ReadString("MyName", "d"), "\x83\x5e\x83\x8d\x81\x5b");  // Shift-JIS bytes pass through
    // A default comes back without its trailing blanks (only those).
    EXPECT_EQ(s.ReadString("Missing", " Player  "), " Player");
    EXPECT_EQ(s.ReadString("Missing", "Player\t"), "Player\t");

    // The reader's buffer holds 2047 characters.
    const IniSection big("[Kiv]\nLong=" + std::string(5000, 'x') + "\n", "Kiv");
    EXPECT_EQ(big.ReadString("Long", ""), std::string(2047, 'x'));

    EXPECT_FALSE(IniSection("[Kivi]\n[Kiv\n; [Kiv]\nKiv=1\n", "Kiv").Present());
    EXPECT_FALSE(IniSection("[Other]\nStage=5\n", "Kiv").Present());
    EXPECT_EQ(IniSection("[Other]\nStage=5\n", "Kiv").ReadString("Stage", ""), "");
}

TEST(WriteIniKeys, EveryLineTheUserWroteStaysWhereItStood) {
    const std::string before =
        "[Kiv]\r\n; ranks below\r\nRank01=mine\r\n# my own note\r\njust words\r\n; end of the section\r\n"
        "[Other]\r\nKey=1\r\n; last line without an end";
    const std::vector<IniKeyValue> values = {{"Stage", "2"}, {"Rank01", "r1"}, {"Rank02", "r2"}};
    const std::string after = WriteIniKeys(before, "Kiv", values);

    // New keys follow the last key of the section.
    EXPECT_EQ(after,
              "[Kiv]\r\n; ranks below\r\nRank01=r1\r\nStage=2\r\nRank02=r2\r\n# my own note\r\njust words\r\n"
              "; end of the section\r\n[Other]\r\nKey=1\r\n; last line without an end\r\n");
    // Writing again changes nothing: no blank lines creep in.
    EXPECT_EQ(WriteIniKeys(after, "Kiv", values), after);
    // A key spelled in other letters is replaced in place and keeps its spelling.
    EXPECT_EQ(WriteIniKeys("[kiv]\r\nSTAGE=9\r\n", "Kiv", values), "[kiv]\r\nSTAGE=2\r\nRank01=r1\r\nRank02=r2\r\n");
}

TEST(WriteIniKeys, ASectionIsAddedWhereThereIsNoneAndOnlyTheFirstOfDuplicatesIsReplaced) {
    const std::vector<IniKeyValue> values = {{"A", "1"}, {"B", "2"}};
    EXPECT_EQ(WriteIniKeys("", "Kiv", values), "[Kiv]\r\nA=1\r\nB=2\r\n");
    EXPECT_EQ(WriteIniKeys("x\n[Other]\nA=0", "Kiv", values), "x\r\n[Other]\r\nA=0\r\n[Kiv]\r\nA=1\r\nB=2\r\n");
    // New keys go to the first section of the name; a duplicate further down stays as it is.
    EXPECT_EQ(WriteIniKeys("[Kiv]\nC=3\n[x]\n[Kiv]\nA=old\nA=older\n", "Kiv", values),
              "[Kiv]\r\nC=3\r\nB=2\r\n[x]\r\n[Kiv]\r\nA=1\r\nA=older\r\n");
    // A broken section line ends nothing; a mark before the first line stays.
    EXPECT_EQ(WriteIniKeys("\xEF\xBB\xBF[Kiv]\n[Broken\nA=0\n", "Kiv", values),
              "\xEF\xBB\xBF[Kiv]\r\n[Broken\r\nA=1\r\nB=2\r\n");
}

TEST(WriteIniKeys, ValuesTheReaderWouldChangeAreQuotedAndReadBackAsWritten) {
    const std::vector<std::string> odd = {"trailing ", " leading", "\tTab",           "'quoted'", "\"x\"", "\"",
                                          "",          "a=b",      "; not a comment", "''",       "plain"};
    std::vector<IniKeyValue> values;
    for (size_t i = 0; i < odd.size(); ++i) values.push_back({"K" + std::to_string(i), odd[i]});
    const std::string text = WriteIniKeys("", "S", values);
    EXPECT_NE(text.find("K0=\"trailing \"\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("K5=\"\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("K10=plain\r\n"), std::string::npos) << text;
    const IniSection back(text, "S");
    for (size_t i = 0; i < odd.size(); ++i) EXPECT_EQ(back.ReadString("K" + std::to_string(i), "?"), odd[i]) << i;
}

}  // namespace
}  // namespace kiv
