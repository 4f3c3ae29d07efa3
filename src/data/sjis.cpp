#include "data/sjis.h"

#include <algorithm>
#include <cstdint>

#include "data/cp932_table.h"
#include "data/utf8.h"

namespace kiv {

namespace {

constexpr uint32_t kNone = 0xFFFFFFFF;

// The code point of the character at the start of sjis and its length in bytes; kNone with
// length 1 for a byte that does not start a valid character, with length 0 for a double-byte
// character cut at the end.
uint32_t DecodeOne(std::string_view sjis, size_t& length) {
    const auto b = static_cast<unsigned char>(sjis[0]);
    const uint16_t single = cp932::kSingle[b];
    length = 1;
    if (single == cp932::kInvalid) return kNone;
    if (single != cp932::kLead) return single;
    if (sjis.size() < 2) {
        length = 0;
        return kNone;
    }
    const uint16_t cp = cp932::kPair[cp932::kLeadRow[b]][static_cast<unsigned char>(sjis[1])];
    if (cp == 0) return kNone;  // refused at the lead byte: the second byte stands on its own
    length = 2;
    return cp;
}

// The code point of the UTF-8 character at the start of utf8 and its length, read as the C
// library reads it: kNone with length 1 when the first byte starts no valid character (an
// overlong form, a surrogate, past U+10FFFF, a byte that breaks the sequence), with length 0
// when the text ends inside what could still be a character (a lead byte of the old five- and
// six-byte forms included), so that it is dropped as cut.
uint32_t DecodeUtf8(std::string_view utf8, size_t& length) {
    const auto b0 = static_cast<unsigned char>(utf8[0]);
    length = 1;
    if (b0 < 0x80) return b0;
    size_t need = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        need = 1;
    else if (b0 >= 0xE0 && b0 <= 0xEF)
        need = 2;
    else if (b0 >= 0xF0 && b0 <= 0xF7)
        need = 3;
    else if (b0 >= 0xF8 && b0 <= 0xFB)
        need = 4;
    else if (b0 >= 0xFC && b0 <= 0xFD)
        need = 5;
    else
        return kNone;
    uint32_t cp = b0 & (0x3F >> need);
    for (size_t i = 1; i <= need; ++i) {
        if (i >= utf8.size()) {
            length = 0;
            return kNone;
        }
        const auto b = static_cast<unsigned char>(utf8[i]);
        if ((b & 0xC0) != 0x80) return kNone;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr uint32_t kShortest[] = {0, 0x80, 0x800, 0x10000, 0x200000, 0x4000000};
    if (cp < kShortest[need] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kNone;
    length = need + 1;
    return cp;
}

bool Dropped(uint32_t cp) {
    for (int i = 0; i < cp932::kDroppedCount; ++i)
        if (cp >= cp932::kDropped[i].First && cp <= cp932::kDropped[i].Last) return true;
    return false;
}

}  // namespace

std::string SjisToUtf8(std::string_view sjis) {
    std::string out;
    out.reserve(sjis.size() * 2);
    while (!sjis.empty()) {
        size_t length = 0;
        const uint32_t cp = DecodeOne(sjis, length);
        if (length == 0) break;  // a character cut at the end
        if (cp == kNone)
            out += "\xEF\xBF\xBD";
        else
            AppendUtf8(out, cp);
        sjis.remove_prefix(length);
    }
    return out;
}

size_t FirstInvalidSjisByte(std::string_view sjis) {
    for (size_t at = 0; at < sjis.size();) {
        size_t length = 0;
        if (DecodeOne(sjis.substr(at), length) == kNone) return at;
        at += length;
    }
    return std::string_view::npos;
}

std::string Utf8ToSjis(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        size_t length = 0;
        const uint32_t cp = DecodeUtf8(utf8, length);
        if (length == 0) break;  // a character cut at the end
        const cp932::Reverse* end = cp932::kReverse + cp932::kReverseCount;
        const cp932::Reverse* r =
            cp == kNone ? end : std::lower_bound(cp932::kReverse, end, cp, [](const cp932::Reverse& e, uint32_t c) {
                return e.CodePoint < c;
            });
        if (r != end && r->CodePoint == cp) {
            if (r->Bytes > 0xFF) out += static_cast<char>(r->Bytes >> 8);
            out += static_cast<char>(r->Bytes & 0xFF);
        } else if (cp == kNone || !Dropped(cp)) {
            // Not convertible: one mark, and the conversion goes on from the next byte.
            out += '?';
            length = 1;
        }
        utf8.remove_prefix(length);
    }
    return out;
}

}  // namespace kiv
