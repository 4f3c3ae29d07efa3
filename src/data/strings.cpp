#include "data/strings.h"

#include <algorithm>

#include "data/sjis.h"

namespace kiv {

std::string ZeroPad(int32_t width, int32_t n) {
    // The sum wraps like the original's 32-bit Integer arithmetic.
    int32_t sum = static_cast<int32_t>(static_cast<uint32_t>(n) + 1000000000u);
    std::string text = std::to_string(sum);
    int32_t index = 11 - width;
    if (index < 1) index = 1;
    if (index > static_cast<int32_t>(text.size()) || width <= 0) return std::string();
    return text.substr(static_cast<size_t>(index - 1), static_cast<size_t>(width));
}

void ReplaceAllBytes(std::string_view pattern, std::string_view replacement, int32_t maxLen, std::string& s) {
    if (pattern.empty()) return;
    size_t from = 0;
    for (;;) {
        size_t p = s.find(pattern, from);
        if (p == std::string::npos) return;
        s.erase(p, pattern.size());
        s.insert(p, replacement);
        if (maxLen >= 0 && s.size() > static_cast<size_t>(maxLen)) s.resize(static_cast<size_t>(maxLen));
        from = p + replacement.size();
        if (from >= s.size()) return;
    }
}

void ReplaceAllSjisBytes(std::string_view pattern, std::string_view replacement, int32_t maxLen, std::string& s) {
    if (pattern.empty()) return;
    size_t at = 0;  // always the start of a character of the original text
    while (at < s.size()) {
        if (s.compare(at, pattern.size(), pattern) == 0) {
            s.erase(at, pattern.size());
            s.insert(at, replacement);
            if (maxLen >= 0 && s.size() > static_cast<size_t>(maxLen)) s.resize(static_cast<size_t>(maxLen));
            // The text after the inserted one keeps its own character boundaries.
            at += replacement.size();
            continue;
        }
        at += IsSjisLeadByte(static_cast<unsigned char>(s[at])) ? 2 : 1;
    }
}

std::string RankSuffixLetter(uint8_t kind) {
    switch (kind) {
        case 1: return "S";
        case 2: return "N";
        case 3: return "D";
        default: return "T";
    }
}

}  // namespace kiv
