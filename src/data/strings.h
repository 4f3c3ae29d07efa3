#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/short_string.h"

namespace kiv {

// Decimal n with leading zeros in `width` characters: the characters from position 11 - width
// of the text of n + 1000000000 (so ZeroPad(2, 123) = "23", ZeroPad(2, 5) = "05").
std::string ZeroPad(int32_t width, int32_t n);

// Replaces every occurrence of pattern in s by replacement, cutting s to maxLen bytes after
// each replacement. The search goes on after the inserted text, so a replacement that holds
// the pattern itself is inserted once per occurrence instead of looping for ever.
void ReplaceAllBytes(std::string_view pattern, std::string_view replacement, int32_t maxLen, std::string& s);

template <int N>
void ReplaceAll(std::string_view pattern, std::string_view replacement, int32_t maxLen, ShortString<N>& s) {
    std::string work = s.Str();
    ReplaceAllBytes(pattern, replacement, maxLen, work);
    s.Assign(work);
}

// ReplaceAll for Shift-JIS text: pattern counts only where a character starts, so the
// trail byte of one double-byte character and the lead byte of the next never match it.
void ReplaceAllSjisBytes(std::string_view pattern, std::string_view replacement, int32_t maxLen, std::string& s);

template <int N>
void ReplaceAllSjis(std::string_view pattern, std::string_view replacement, int32_t maxLen, ShortString<N>& s) {
    std::string work = s.Str();
    ReplaceAllSjisBytes(pattern, replacement, maxLen, work);
    s.Assign(work);
}

// The letter after a rank number: 1 "S", 2 "N", 3 "D", anything else "T".
std::string RankSuffixLetter(uint8_t kind);

}  // namespace kiv
