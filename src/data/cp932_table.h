#pragma once

#include <cstdint>

// The Shift-JIS (code page 932) tables, generated at build time from the C library's CP932
// converter by src/data/gen/cp932_table_gen.cpp. Read through data/sjis.h.
namespace kiv::cp932 {

// What a single byte is: its code point, kLead for a byte that starts a pair, kInvalid.
constexpr uint16_t kLead = 0xFFFE;
constexpr uint16_t kInvalid = 0xFFFF;
extern const uint16_t kSingle[256];

// The row of kPair for a lead byte (-1 for any other byte), and each row's code points by the
// second byte: 0 where the pair is invalid (the conversion then goes on from the second byte).
extern const int8_t kLeadRow[256];
extern const int kLeadRows;
extern const uint16_t kPair[][256];

// Every character that has a CP932 form, by code point: one byte (below 0x100) or two (lead
// byte in the high half).
struct Reverse {
    uint16_t CodePoint;
    uint16_t Bytes;
};
extern const int kReverseCount;
extern const Reverse kReverse[];

// Characters that convert to nothing at all (and so vanish from the text), as ranges.
struct Range {
    uint32_t First, Last;
};
extern const int kDroppedCount;
extern const Range kDropped[];

}  // namespace kiv::cp932
