// The Shift-JIS conversions run on tables of their own (the web build's C library has no CP932);
// here they are held against the C library's CP932 converter, which the tables were made from
// and which the game used before: every single byte, every byte pair, every code point, and
// random texts with invalid and cut characters.
#include <errno.h>
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <random>
#include <string>

#include "data/sjis.h"
#include "data/utf8.h"

namespace kiv {
namespace {

// The conversions as the game made them with iconv: a byte that does not convert is replaced
// and skipped, a character cut at the end is dropped.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (Usable()) iconv_close(cd_);
    }
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open fails with (iconv_t)-1
    bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::string Convert(std::string_view in, std::string_view replacement) const {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        std::string copy(in);
        char* src = copy.data();
        size_t left = copy.size();
        char buf[256];
        while (left > 0) {
            char* dst = buf;
            size_t room = sizeof buf;
            const size_t r = iconv(cd_, &src, &left, &dst, &room);
            out.append(buf, static_cast<size_t>(dst - buf));
            if (r == static_cast<size_t>(-1)) {
                if (errno == E2BIG) continue;
                if (errno == EINVAL) break;
                out.append(replacement);
                ++src;
                --left;
            }
        }
        return out;
    }

    size_t FirstInvalid(std::string_view in) const {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string copy(in);
        char* src = copy.data();
        size_t left = copy.size();
        char buf[256];
        while (left > 0) {
            char* dst = buf;
            size_t room = sizeof buf;
            if (iconv(cd_, &src, &left, &dst, &room) != static_cast<size_t>(-1) || errno == E2BIG) continue;
            return static_cast<size_t>(src - copy.data());
        }
        return std::string_view::npos;
    }

private:
    iconv_t cd_;
};

std::string Hex(std::string_view s) {
    std::string out;
    char b[4];
    for (unsigned char c : s) {
        std::snprintf(b, sizeof b, "%02X", c);
        out += b;
    }
    return out;
}

class Cp932Table : public ::testing::Test {
protected:
    void SetUp() override {
        if (!decode_.Usable() || !encode_.Usable()) GTEST_SKIP() << "the C library has no CP932";
    }

    // Reports the first few inputs that differ, not a flood of them.
    void ExpectSameDecoding(std::string_view sjis) {
        const std::string want = decode_.Convert(sjis, "\xEF\xBF\xBD");
        const std::string got = SjisToUtf8(sjis);
        const size_t wantBad = decode_.FirstInvalid(sjis), gotBad = FirstInvalidSjisByte(sjis);
        if ((want != got || wantBad != gotBad) && ++failures_ <= 10) {
            ADD_FAILURE() << "Shift-JIS " << Hex(sjis) << ": UTF-8 " << Hex(got) << " (iconv " << Hex(want)
                          << "), first invalid byte " << gotBad << " (iconv " << wantBad << ")";
        }
    }

    void ExpectSameEncoding(std::string_view utf8) {
        const std::string want = encode_.Convert(utf8, "?");
        const std::string got = Utf8ToSjis(utf8);
        if (want != got && ++failures_ <= 10)
            ADD_FAILURE() << "UTF-8 " << Hex(utf8) << ": Shift-JIS " << Hex(got) << " (iconv " << Hex(want) << ")";
    }

    Iconv decode_{"UTF-8", "CP932"};
    Iconv encode_{"CP932", "UTF-8"};
    int failures_ = 0;
};

TEST_F(Cp932Table, EverySingleByteAndEveryPairDecodeAsTheCLibraryDoes) {
    for (int a = 0; a < 256; ++a) {
        ExpectSameDecoding(std::string(1, static_cast<char>(a)));
        for (int b = 0; b < 256; ++b) ExpectSameDecoding(std::string{static_cast<char>(a), static_cast<char>(b)});
    }
    EXPECT_EQ(failures_, 0);
}

TEST_F(Cp932Table, EveryCodePointEncodesAsTheCLibraryDoes) {
    for (uint32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        ExpectSameEncoding(Utf8Of(cp));
    }
    EXPECT_EQ(failures_, 0);
}

// Runs of characters, invalid bytes and cut characters in every mix: a conversion must also
// go on from the right byte after a bad one.
TEST_F(Cp932Table, RandomTextsConvertAsTheCLibraryDoes) {
    std::mt19937 rng(932);
    const std::string sjisPieces[] = {"a",        "\\",       "~",        "\x82\xA0", "\x88\x9F", "\x87\x40",
                                      "\xED\x40", "\xFA\x40", "\xB1",     "\x80",     "\xA0",     "\xFD",
                                      "\x81",     "\x85\x40", "\x81\x7F", "\xF0\x40", "\r\n",     "_/"};
    const std::string utf8Pieces[] = {"a",
                                      "\xC2\xA5",
                                      "\xE2\x80\xBE",
                                      "\xE6\xBC\xA2",
                                      "\xE2\x82\xAC",
                                      "\xF0\x9F\x98\x80",
                                      "\xED\xA0\x80",
                                      "\xC0\x80",
                                      "\xE0\x80\x80",
                                      "\x80",
                                      "\xE3\x81",
                                      "\xF0\x9F",
                                      "\xFF",
                                      "\xF3\xA0\x80\x81",
                                      "\xEF\xBF\xBD"};
    for (int n = 0; n < 20000; ++n) {
        std::string sjis, utf8;
        const int count = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < count; ++i) {
            sjis += sjisPieces[rng() % std::size(sjisPieces)];
            utf8 += utf8Pieces[rng() % std::size(utf8Pieces)];
        }
        // Now and then a byte of anything at all.
        if (rng() % 4 == 0) sjis.insert(rng() % (sjis.size() + 1), 1, static_cast<char>(rng() % 256));
        if (rng() % 4 == 0) utf8.insert(rng() % (utf8.size() + 1), 1, static_cast<char>(rng() % 256));
        ExpectSameDecoding(sjis);
        ExpectSameEncoding(utf8);
    }
    EXPECT_EQ(failures_, 0);
}

}  // namespace
}  // namespace kiv
