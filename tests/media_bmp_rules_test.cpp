// The BMP decoder's rules for the odd corners of the format, pixel by pixel: where run-length
// codes put pixels that leave their line, which colours a short or cut table gives, and which
// channel masks read how. (The SDL parity test holds every rule to the reader the game had
// before; these keep them pinned where SDL is not linked.)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "media/image_bmp.h"
#include "media/surface.h"

namespace kiv {
namespace {

using bmp_test::BmpLayout;
using bmp_test::WriteBmpFile;

constexpr uint32_t K = 0x000000, R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF;

BmpPixels Decode(const std::string& file) {
    BmpPixels out;
    std::string why;
    EXPECT_TRUE(DecodeBmp(reinterpret_cast<const uint8_t*>(file.data()), file.size(), kMaxSurfaceSide,
                          kMaxSurfacePixels, out, why))
        << why;
    return out;
}

std::string Refusal(const std::string& file) {
    BmpPixels out;
    std::string why;
    EXPECT_FALSE(DecodeBmp(reinterpret_cast<const uint8_t*>(file.data()), file.size(), kMaxSurfaceSide,
                           kMaxSurfacePixels, out, why));
    EXPECT_TRUE(out.Pixels.empty());
    return why;
}

BmpLayout RunLength(int w, int h, int bits, std::vector<uint32_t> palette = {K, R, G, B}) {
    BmpLayout l;
    l.Width = w;
    l.Height = h;
    l.Bits = uint16_t(bits);
    l.Compression = bits == 8 ? 1 : 2;
    l.ColoursUsed = uint32_t(palette.size());
    l.Palette = std::move(palette);
    return l;
}

const std::string kEnd("\0\1", 2), kEol("\0\0", 2);

TEST(BmpRules, RunsThatLeaveTheirLine) {
    // 3 x 2, rows 4 bytes apart: a run of 6 on the top row fills it, one byte of padding, and the
    // first two pixels of the row below, written before.
    const std::string codes = "\x03\x02" + kEol + "\x06\x01" + kEnd;
    EXPECT_EQ(Decode(WriteBmpFile(RunLength(3, 2, 8), codes)).Pixels, (std::vector<uint32_t>{R, R, R, R, R, G}));
    // The codes always start at the bottom row, in a top-down file too.
    EXPECT_EQ(Decode(WriteBmpFile(RunLength(3, -2, 8), codes)).Pixels, (std::vector<uint32_t>{R, R, R, R, R, G}));
    // On the bottom row the part past the edge is lost; lines past the top are too.
    EXPECT_EQ(Decode(WriteBmpFile(RunLength(3, 2, 8), "\x09\x03" + kEol + kEol + "\x03\x01" + kEnd)).Pixels,
              (std::vector<uint32_t>{K, K, K, B, B, B}));
    // A move right 1 and up 1, then a run; the pixels not coded keep colour 0.
    EXPECT_EQ(Decode(WriteBmpFile(RunLength(3, 2, 8), std::string("\0\2\1\1\x01\x02", 6) + kEnd)).Pixels,
              (std::vector<uint32_t>{K, G, K, K, K, K}));
}

TEST(BmpRules, FourBitRunsAndLiterals) {
    // A run alternates its two pixels; a literal run of 3 takes 2 bytes, of 5 three and a pad.
    const std::string codes =
        "\x05\x12" + kEol + std::string("\0\3\x32\x10", 4) + kEol + std::string("\0\5\x12\x31\x20\0", 6) + kEnd;
    EXPECT_EQ(Decode(WriteBmpFile(RunLength(5, 3, 4), codes)).Pixels,
              (std::vector<uint32_t>{R, G, B, R, G, B, G, R, K, K, R, G, R, G, R}));
    // Without its pad byte the codes after it are read out of step, and the end code is missed.
    const std::string unpadded = "\x05\x12" + kEol + std::string("\0\5\x12\x31\x20", 5) + kEnd;
    EXPECT_NE(Refusal(WriteBmpFile(RunLength(5, 2, 4), unpadded)).find("run-length"), std::string::npos);
}

TEST(BmpRules, ColourTables) {
    // Run-length indices past a short table take its last colour.
    EXPECT_EQ(Decode(WriteBmpFile(RunLength(2, 1, 8, {R, G}), "\x01\x01\x01\x07" + kEnd)).Pixels,
              (std::vector<uint32_t>{G, G}));
    // A table declared as 0 entries has 256, whatever the depth: read on past the two written
    // into the codes, and past the end of the file as white.
    BmpLayout l = RunLength(3, 1, 8, {R, G});
    l.ColoursUsed = 0;
    const std::string codes = "\x01\x01\x01\x02\x01\xC8" + kEnd;  // the third entry is these bytes
    EXPECT_EQ(Decode(WriteBmpFile(l, codes)).Pixels, (std::vector<uint32_t>{G, 0x010101, W}));
    // Plain rows must keep inside the table, at 1 bit as at 8.
    BmpLayout plain;
    plain.Width = 8;
    plain.Bits = 1;
    plain.ColoursUsed = 1;
    plain.Palette = {R, G};
    EXPECT_EQ(Decode(WriteBmpFile(plain, std::string(4, '\0'))).Pixels, std::vector<uint32_t>(8, R));
    EXPECT_NE(Refusal(WriteBmpFile(plain, std::string("\x01\0\0\0", 4))).find("colour table"), std::string::npos);
    // The OS/2 header's table has 3 bytes an entry.
    plain.InfoSize = 12;
    plain.ColoursUsed = 0;
    EXPECT_EQ(Decode(WriteBmpFile(plain, std::string("\x0F\0\0\0", 4))).Pixels,
              (std::vector<uint32_t>{R, R, R, R, G, G, G, G}));
}

TEST(BmpRules, ChannelMasks) {
    auto decode16 = [](uint32_t r, uint32_t g, uint32_t b, uint32_t a, uint32_t info = 56) {
        BmpLayout l;
        l.InfoSize = info;
        l.Width = 2;
        l.Bits = 16;
        l.Compression = 3;
        l.MasksAfterHeader = info < 52;
        l.Masks[0] = r, l.Masks[1] = g, l.Masks[2] = b, l.Masks[3] = a;
        return WriteBmpFile(l, std::string("\xFF\xFF\x1F\0", 4));  // pixels 0xFFFF and 0x001F
    };
    // 5-6-5 white stays white.
    EXPECT_EQ(Decode(decode16(0xF800, 0x07E0, 0x001F, 0, 40)).Pixels, (std::vector<uint32_t>{W, B}));
    EXPECT_EQ(Decode(decode16(0x001F, 0x07E0, 0xF800, 0)).Pixels, (std::vector<uint32_t>{W, R}));
    // 4-4-4-4: 0xF widens to 0xFF.
    EXPECT_EQ(Decode(decode16(0x0F00, 0x00F0, 0x000F, 0xF000)).Pixels, (std::vector<uint32_t>{W, 0x0011FF}));
    // No red mask, the 6-5-5 layout and the 64-byte header (which has no masks) read as 5-6-5.
    EXPECT_EQ(Decode(decode16(0, 0x1234, 0x5678, 0)).Pixels, (std::vector<uint32_t>{W, B}));
    EXPECT_EQ(Decode(decode16(0x003F, 0x07C0, 0xF800, 0)).Pixels, (std::vector<uint32_t>{W, B}));
    EXPECT_EQ(Decode(decode16(0x7C00, 0x03E0, 0x001F, 0, 64)).Pixels, (std::vector<uint32_t>{W, B}));
    // Any other masks are refused, the usual ones with a stray alpha too.
    EXPECT_NE(Refusal(decode16(0x7C00, 0x07E0, 0x001F, 0)).find("masks"), std::string::npos);
    EXPECT_NE(Refusal(decode16(0xF800, 0x07E0, 0x001F, 0x0001)).find("masks"), std::string::npos);
}

}  // namespace
}  // namespace kiv
