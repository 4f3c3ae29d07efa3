#include "data/strings.h"

#include <gtest/gtest.h>

#include "data/random.h"
#include "data/short_string.h"

namespace kiv {
namespace {

TEST(ZeroPad, KeepsTheLowDigitsWithLeadingZeros) {
    EXPECT_EQ(ZeroPad(2, 5), "05");
    EXPECT_EQ(ZeroPad(2, 123), "23");
    EXPECT_EQ(ZeroPad(2, 100), "00");
    EXPECT_EQ(ZeroPad(5, 2950), "02950");
    EXPECT_EQ(ZeroPad(5, 0), "00000");
    // Below zero the sum has nine digits, so the text comes out one character short.
    EXPECT_EQ(ZeroPad(2, -1), "9");
    // The sum wraps past the 32-bit range like the original's arithmetic.
    EXPECT_EQ(ZeroPad(2, 2147483647), std::to_string(static_cast<int32_t>(2147483647u + 1000000000u)).substr(8, 2));
}

TEST(ReplaceAll, PutsTheNameInPlaceOfEveryPlaceholder) {
    ShortString<95> s("\x82\x66, hello \x82\x66!");
    ReplaceAll("\x82\x66", "Ann", 95, s);
    EXPECT_EQ(s, "Ann, hello Ann!");

    ShortString<95> cut(std::string(90, 'a') + "\x82\x66" + "b");
    ReplaceAll("\x82\x66", "Bartholomew", 95, cut);
    EXPECT_EQ(cut, std::string(90, 'a') + "Barth");
}

TEST(ReplaceAll, ANameHoldingThePlaceholderDoesNotLoop) {
    ShortString<95> s("\x82\x66 and \x82\x66");
    ReplaceAll("\x82\x66", "X\x82\x66Y", 95, s);
    EXPECT_EQ(s, "X\x82\x66Y and X\x82\x66Y");

    // Filling the line up to the limit with the pattern stops too.
    ShortString<95> full(std::string(40, ' ') + "\x82\x66");
    ReplaceAll("\x82\x66", "\x82\x66\x82\x66\x82\x66", 95, full);
    EXPECT_EQ(full.Length(), 46);
}

TEST(ReplaceAll, ThePlaceholderCountsOnlyAsAWholeCharacter) {
    // Full-width b then 'f': the bytes 82 66 straddle two characters.
    ShortString<95> straddle("\x82\x82\x66 \x82\x66_/");
    ReplaceAllSjis("\x82\x66", "Ann", 95, straddle);
    EXPECT_EQ(straddle, "\x82\x82\x66 Ann_/");

    // After single-byte text and after a replaced name the boundaries still hold.
    ShortString<95> s("ab\x82\x66\x82\x66\x83\x82\x66");
    ReplaceAllSjis("\x82\x66", "Bo", 95, s);
    EXPECT_EQ(s, "abBoBo\x83\x82\x66");

    // A name that holds the placeholder is put in once per placeholder.
    ShortString<95> self("\x82\x66!");
    ReplaceAllSjis("\x82\x66", "\x82\x66\x82\x66", 95, self);
    EXPECT_EQ(self, "\x82\x66\x82\x66!");
}

TEST(RankSuffixLetter, StNdRdTh) {
    EXPECT_EQ(RankSuffixLetter(1), "S");
    EXPECT_EQ(RankSuffixLetter(2), "N");
    EXPECT_EQ(RankSuffixLetter(3), "D");
    EXPECT_EQ(RankSuffixLetter(0), "T");
    EXPECT_EQ(RankSuffixLetter(4), "T");
    EXPECT_EQ(RankSuffixLetter(255), "T");
}

TEST(ShortString, HelpersNeverLeaveTheirBytes) {
    ShortString<5> s("abcdefgh");
    EXPECT_EQ(s, "abcde");
    EXPECT_EQ(s.Copy(0, 3), "abc");
    EXPECT_EQ(s.Copy(4, 10), "de");
    EXPECT_EQ(s.Copy(6, 1), "");
    EXPECT_EQ(s.Copy(2, -1), "");
    s.Delete(2, 100);
    EXPECT_EQ(s, "a");
    s.Delete(0, 1);
    s.Delete(5, 1);
    EXPECT_EQ(s, "a");
    ShortString<5> t("abcd");
    t.Insert("XYZ", 2);
    EXPECT_EQ(t, "aXYZb");
    t.Insert("Q", -7);
    EXPECT_EQ(t, "QaXYZ");
    t.Insert("W", 99);
    EXPECT_EQ(t, "QaXYZ");
    EXPECT_EQ(t.Pos("XY"), 3);
    EXPECT_EQ(t.Pos(""), 0);
    EXPECT_EQ(t.Pos("zz"), 0);
    EXPECT_EQ(t.At(0), 0);
    EXPECT_EQ(t.At(6), 0);
}

TEST(Random, MatchesTheOriginalSequence) {
    RandomState r;
    const uint32_t expected[] = {0, 0, 8, 2, 2, 6, 3, 1};
    for (uint32_t e : expected) EXPECT_EQ(Random(r, 10), e);
    RandomState z;
    EXPECT_EQ(Random(z, 0), 0u);
    EXPECT_EQ(z.RandSeed, 1u);
    EXPECT_EQ(Random(z, 0), 0u);
    EXPECT_EQ(z.RandSeed, 134775814u);
}

}  // namespace
}  // namespace kiv
