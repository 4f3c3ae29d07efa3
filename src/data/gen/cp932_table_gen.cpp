// Writes the Shift-JIS (code page 932) tables of src/data/sjis.cpp as C++ source, read off the
// C library's own CP932 converter (glibc's iconv), so that every build converts the way the
// native build always has, also where the C library has no CP932 (the web build's).
//   cp932_table_gen OUT.cpp
// Runs on the build machine, compiled with its own compiler; it fails rather than write a table
// when the converter is missing or behaves in a way the tables cannot express.
#include <errno.h>
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "data/utf8.h"

namespace {

enum class Result { Ok, Invalid, Incomplete };

struct Converted {
    Result result = Result::Invalid;
    size_t consumed = 0;
    std::string out;
};

Converted Convert(iconv_t cd, const std::string& in) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string copy = in;
    char* src = copy.data();
    size_t left = copy.size();
    char buf[64];
    char* dst = buf;
    size_t room = sizeof buf;
    Converted c;
    const size_t r = iconv(cd, &src, &left, &dst, &room);
    c.consumed = static_cast<size_t>(src - copy.data());
    c.out.assign(buf, static_cast<size_t>(dst - buf));
    if (r != static_cast<size_t>(-1))
        c.result = Result::Ok;
    else
        c.result = errno == EINVAL ? Result::Incomplete : Result::Invalid;
    return c;
}

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "cp932_table_gen: %s\n", why.c_str());
    std::exit(1);
}

// The one code point that a UTF-8 string holds, or -1.
long OneCodePoint(const std::string& s) {
    const auto* b = reinterpret_cast<const unsigned char*>(s.data());
    long cp = -1;
    size_t len = 0;
    if (s.empty()) return -1;
    if (b[0] < 0x80) {
        cp = b[0];
        len = 1;
    } else if ((b[0] & 0xE0) == 0xC0) {
        cp = b[0] & 0x1F;
        len = 2;
    } else if ((b[0] & 0xF0) == 0xE0) {
        cp = b[0] & 0x0F;
        len = 3;
    } else if ((b[0] & 0xF8) == 0xF0) {
        cp = b[0] & 0x07;
        len = 4;
    }
    if (len != s.size()) return -1;
    for (size_t i = 1; i < len; ++i) cp = (cp << 6) | (b[i] & 0x3F);
    return cp;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) Fail("usage: cp932_table_gen OUT.cpp");
    iconv_t decode = iconv_open("UTF-8", "CP932");
    iconv_t encode = iconv_open("CP932", "UTF-8");
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open fails with (iconv_t)-1
    if (decode == reinterpret_cast<iconv_t>(-1) || encode == reinterpret_cast<iconv_t>(-1))
        Fail("the C library has no CP932 converter");

    // Single bytes: a code point, a lead byte (cut short on its own) or invalid.
    constexpr unsigned kLead = 0xFFFE, kInvalid = 0xFFFF;
    std::vector<unsigned> single(256, kInvalid);
    std::vector<int> leads;
    for (int b = 0; b < 256; ++b) {
        const Converted c = Convert(decode, std::string(1, static_cast<char>(b)));
        if (c.result == Result::Incomplete) {
            single[static_cast<size_t>(b)] = kLead;
            leads.push_back(b);
        } else if (c.result == Result::Ok) {
            const long cp = OneCodePoint(c.out);
            if (cp < 0 || cp >= 0xFFFE) Fail("a single byte gives more or other than one character");
            single[static_cast<size_t>(b)] = static_cast<unsigned>(cp);
        }
    }
    // Pairs after a lead byte: a code point of the whole pair, or 0 when the converter refuses
    // it at the lead byte (it then goes on from the second byte).
    std::vector<unsigned> pairs(leads.size() * 256, 0);
    for (size_t l = 0; l < leads.size(); ++l) {
        for (int t = 0; t < 256; ++t) {
            const std::string in{static_cast<char>(leads[l]), static_cast<char>(t)};
            const Converted c = Convert(decode, in);
            if (c.result == Result::Invalid && c.consumed == 0) continue;
            const long cp = c.result == Result::Ok && c.consumed == 2 ? OneCodePoint(c.out) : -1;
            if (cp <= 0 || cp >= 0xFFFE) Fail("a byte pair converts in a way the tables cannot hold");
            pairs[l * 256 + static_cast<size_t>(t)] = static_cast<unsigned>(cp);
        }
    }
    // Every code point that has a CP932 form (the converter's choice where several bytes give
    // the same character), in order.
    // Some characters (the tag characters) the converter drops without a word: ranges of those.
    std::vector<std::pair<unsigned, unsigned>> reverse, dropped;
    for (long cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const Converted c = Convert(encode, kiv::Utf8Of(static_cast<uint32_t>(cp)));
        if (c.result != Result::Ok) continue;
        if (c.out.empty()) {
            if (!dropped.empty() && dropped.back().second + 1 == static_cast<unsigned>(cp))
                dropped.back().second = static_cast<unsigned>(cp);
            else
                dropped.emplace_back(static_cast<unsigned>(cp), static_cast<unsigned>(cp));
            continue;
        }
        if (cp > 0xFFFF) Fail("a character beyond the BMP has a CP932 form");
        unsigned bytes = 0;
        if (c.out.size() == 1)
            bytes = static_cast<unsigned char>(c.out[0]);
        else if (c.out.size() == 2)
            bytes =
                static_cast<unsigned>(static_cast<unsigned char>(c.out[0])) << 8 | static_cast<unsigned char>(c.out[1]);
        else
            Fail("a character has a CP932 form of more than two bytes");
        if (c.out.size() == 2 && single[static_cast<unsigned char>(c.out[0])] != kLead)
            Fail("a two-byte CP932 form does not start with a lead byte");
        reverse.emplace_back(static_cast<unsigned>(cp), bytes);
    }
    iconv_close(decode);
    iconv_close(encode);

    FILE* out = std::fopen(argv[1], "w");
    if (!out) Fail(std::string("cannot write ") + argv[1]);
    std::fprintf(out,
                 "// Generated at build time by src/data/gen/cp932_table_gen.cpp from the C library's CP932\n"
                 "// converter. Do not edit.\n"
                 "#include \"data/cp932_table.h\"\n\nnamespace kiv::cp932 {\n\n");
    std::fprintf(out, "const uint16_t kSingle[256] = {");
    for (size_t i = 0; i < 256; ++i) std::fprintf(out, "%s0x%04X,", i % 12 ? " " : "\n    ", single[i]);
    std::fprintf(out, "\n};\n\nconst int8_t kLeadRow[256] = {");
    for (int b = 0, row = 0; b < 256; ++b) {
        const bool lead = single[static_cast<size_t>(b)] == kLead;
        std::fprintf(out, "%s%d,", b % 16 ? " " : "\n    ", lead ? row++ : -1);
    }
    std::fprintf(out, "\n};\n\nconst int kLeadRows = %zu;\n\nconst uint16_t kPair[%zu][256] = {", leads.size(),
                 leads.size());
    for (size_t l = 0; l < leads.size(); ++l) {
        std::fprintf(out, "\n    {  // lead byte 0x%02X", leads[l]);
        for (size_t t = 0; t < 256; ++t)
            std::fprintf(out, "%s0x%04X,", t % 12 ? " " : "\n        ", pairs[l * 256 + t]);
        std::fprintf(out, "\n    },");
    }
    std::fprintf(out, "\n};\n\nconst int kReverseCount = %zu;\n\nconst Reverse kReverse[%zu] = {", reverse.size(),
                 reverse.size());
    for (size_t i = 0; i < reverse.size(); ++i)
        std::fprintf(out, "%s{0x%04X, 0x%04X},", i % 6 ? " " : "\n    ", reverse[i].first, reverse[i].second);
    std::fprintf(out, "\n};\n\nconst int kDroppedCount = %zu;\n\nconst Range kDropped[%zu] = {", dropped.size(),
                 dropped.size() ? dropped.size() : 1);
    for (const auto& [first, last] : dropped) std::fprintf(out, "\n    {0x%X, 0x%X},", first, last);
    std::fprintf(out, "\n};\n\n}  // namespace kiv::cp932\n");
    if (std::fclose(out) != 0) Fail(std::string("cannot write ") + argv[1]);
    return 0;
}
