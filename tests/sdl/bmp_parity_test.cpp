// The game's own BMP decoder against SDL 2's reader, through which the game read its pictures
// before. Every seed and regression file, damaged copies of them, and files of every layout
// written here give the same picture from both, or are refused by both.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "sdl_bmp_reference.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using bmp_test::BmpLayout;
using bmp_test::RowStride;
using bmp_test::WriteBmpFile;

// Runs files through both decoders; keeps the first few that differ, and counts per kind of file
// how many decoded (a kind that never decodes tests nothing).
class Parity {
public:
    void Check(const std::string& bytes, const std::string& kind, const std::string& what) {
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        BmpPixels pixels;
        std::string why;
        Kind& k = kinds_[kind];
        ++k.Files;
        if (DecodeBmp(data, bytes.size(), kMaxSurfaceSide, kMaxSurfacePixels, pixels, why)) ++k.Decoded;
        const std::string difference = sdl_reference::ParityDifference(data, bytes.size());
        if (difference.empty()) return;
        ++differing_;
        if (examples_.size() < 10) examples_.push_back(kind + " " + what + ": " + difference);
    }
    // Every kind (but those named) decoded at least `least` times, and nothing differed.
    void ExpectAllSame(int least, const std::vector<std::string>& mayAllFail = {}) const {
        std::string report;
        for (const std::string& e : examples_) report += "\n  " + e;
        EXPECT_EQ(differing_, 0) << "files that read differently from SDL's reader:" << report;
        for (const auto& [name, k] : kinds_) {
            if (std::find(mayAllFail.begin(), mayAllFail.end(), name) != mayAllFail.end()) continue;
            EXPECT_GE(k.Decoded, least) << name << ": " << k.Decoded << " of " << k.Files << " decoded";
        }
    }
    int Decoded(const std::string& kind) { return kinds_[kind].Decoded; }

private:
    struct Kind {
        int Files = 0;
        int Decoded = 0;
    };
    std::map<std::string, Kind> kinds_;
    int differing_ = 0;
    std::vector<std::string> examples_;
};

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> BmpFilesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.is_regular_file() && e.path().filename().string()[0] != '.') files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Random bytes for pixel rows: each value below `limit` at 1 to 8 bits (the top bits of a byte
// first), anything at more bits.
std::string RandomRows(std::mt19937& rng, int width, int rows, int bits, uint32_t limit) {
    const size_t stride = RowStride(width, bits);
    std::string data(stride * size_t(rows), '\0');
    for (int y = 0; y < rows; ++y) {
        char* row = data.data() + size_t(y) * stride;
        if (bits > 8) {
            for (size_t i = 0; i < stride; ++i) row[i] = char(rng());
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const uint32_t v = limit ? rng() % limit : 0;
            const int bit = x * bits;
            row[bit / 8] = char(uint8_t(row[bit / 8]) | (v << (8 - bits - bit % 8)));
        }
    }
    return data;
}

std::vector<uint32_t> RandomPalette(std::mt19937& rng, size_t n) {
    std::vector<uint32_t> p(n);
    for (uint32_t& c : p) c = rng() & 0xFFFFFF;
    return p;
}

TEST(SdlBmpParity, SeedAndRegressionFilesAndTheirDamagedCopies) {
    Parity parity;
    std::mt19937 rng(20240611);
    size_t seeds = 0;
    for (const char* folder : {"corpus", "regressions"})
        for (const fs::path& file : BmpFilesIn(fs::path(KIV_FUZZ_DIR) / folder / "bmp")) {
            const std::string bytes = ReadBytes(file);
            const std::string name = file.filename().string();
            seeds += folder[0] == 'c';
            parity.Check(bytes, folder, name);
            for (size_t n = 0; n < bytes.size(); ++n) parity.Check(bytes.substr(0, n), "cut", name);
            // Each header byte and the first of the table and the pixels changed a few ways.
            for (size_t at = 0; at < std::min<size_t>(bytes.size(), 160); ++at)
                for (int change : {0x00, 0xFF, 0x101, 0x102, 0x180}) {
                    std::string damaged = bytes;
                    damaged[at] = change < 0x100 ? char(change) : char(uint8_t(damaged[at]) ^ (change & 0xFF));
                    parity.Check(damaged, "changed", name + " at " + std::to_string(at));
                }
            for (int i = 0; i < 300 && !bytes.empty(); ++i) {
                std::string damaged = bytes;
                for (int k = 1 + int(rng() % 4); k > 0; --k) damaged[rng() % damaged.size()] = char(rng());
                parity.Check(damaged, "scrambled", name);
            }
        }
    EXPECT_GE(seeds, 10u);
    // rle4.bmp misses its end code.
    EXPECT_EQ(size_t(parity.Decoded("corpus")), seeds - 1) << "the other seeds are pictures";
    parity.ExpectAllSame(1, {"cut"});  // a cut file lacks rows, or the end code of its runs
}

// Every header kind, depth, odd and even widths, both row orders; colour tables of every length
// the header may declare, written whole or short; data offsets of 0 and off by a few bytes.
TEST(SdlBmpParity, EveryDepthHeaderAndColourTable) {
    Parity parity;
    std::mt19937 rng(7);
    for (uint32_t info : {12u, 40u, 52u, 56u, 64u, 108u, 124u, 47u})
        for (uint16_t bits : {1, 4, 8, 16, 24, 32})
            for (int w : {1, 3, 5, 8, 13, 33})
                for (int h : {1, 2, 5, -3}) {
                    if (info == 12 && h < 0) continue;  // the OS/2 header has no top-down rows
                    BmpLayout l;
                    l.InfoSize = info;
                    l.Width = w;
                    l.Height = h;
                    l.Bits = bits;
                    const std::string kind = "header " + std::to_string(info) + ", " + std::to_string(bits) + " bits";
                    const std::string what = std::to_string(w) + " x " + std::to_string(h);
                    if (bits > 8) {
                        parity.Check(WriteBmpFile(l, RandomRows(rng, w, std::abs(h), bits, 0)), kind, what);
                        continue;
                    }
                    const uint32_t full = 1u << bits;
                    for (uint32_t used : {0u, 1u, 2u, 3u, 15u, full, 200u, 256u, 300u}) {
                        if (info == 12 && used != 0) continue;  // no such field
                        const uint32_t declared = used == 0 || used > 256 ? 256 : used;
                        for (uint32_t written : {declared, std::min(declared, full), 2u, 0u}) {
                            l.ColoursUsed = used;
                            l.Palette = RandomPalette(rng, written);
                            // Mostly indices inside the declared table, sometimes past it.
                            const uint32_t limit = rng() % 4 ? std::min(declared, full) : full;
                            const std::string rows = RandomRows(rng, w, std::abs(h), bits, limit);
                            const std::string table = " table " + std::to_string(used) + "/" + std::to_string(written);
                            parity.Check(WriteBmpFile(l, rows), kind, what + table);
                        }
                    }
                    l.ColoursUsed = 0;
                    l.Palette = RandomPalette(rng, std::min(full, 16u));
                    const std::string rows = RandomRows(rng, w, std::abs(h), bits, std::min(full, 16u));
                    std::string name = kind;
                    name.append(" ").append(what);
                    l.OffBitsZero = true;
                    parity.Check(WriteBmpFile(l, rows), "offset 0", name);
                    l.OffBitsZero = false;
                    for (int64_t shift : {-4, -1, 1, 3, 8}) {
                        l.OffBitsShift = shift;
                        parity.Check(WriteBmpFile(l, rows + std::string(8, '\x01')), "offset off", name);
                    }
                    l.OffBitsShift = 0;
                }
    parity.ExpectAllSame(4);
}

// 16 and 32 bits: no masks (5-5-5 and 8-8-8), then each layout of masks in the 40-byte header's
// place and inside the longer ones, with and without an alpha mask, and masks no layout has.
TEST(SdlBmpParity, ChannelMasks) {
    const std::vector<std::vector<uint32_t>> masks16 = {
        {0x7C00, 0x03E0, 0x001F, 0},      {0x001F, 0x03E0, 0x7C00, 0},      {0x0F00, 0x00F0, 0x000F, 0xF000},
        {0xF000, 0x0F00, 0x00F0, 0x000F}, {0x000F, 0x00F0, 0x0F00, 0xF000}, {0x00F0, 0x0F00, 0xF000, 0x000F},
        {0x7C00, 0x03E0, 0x001F, 0x8000}, {0xF800, 0x07C0, 0x003E, 0x0001}, {0x001F, 0x03E0, 0x7C00, 0x8000},
        {0x003E, 0x07C0, 0xF800, 0x0001}, {0xF800, 0x07E0, 0x001F, 0},      {0x001F, 0x07E0, 0xF800, 0},
        {0x003F, 0x07C0, 0xF800, 0},      {0, 0x03E0, 0x7C00, 0},           {0, 0, 0, 0},
        {0xF800, 0x07E0, 0x001F, 0xFFFF}, {0x7C00, 0x07E0, 0x001F, 0},      {0x0F00, 0x00F0, 0x000F, 0},
        {0x0001, 0x0002, 0x0004, 0},      {0x00FF, 0xFF00, 0x0000, 0},
    };
    const std::vector<std::vector<uint32_t>> masks32 = {
        {0x00FF0000, 0x0000FF00, 0x000000FF, 0},          {0xFF000000, 0x00FF0000, 0x0000FF00, 0},
        {0x000000FF, 0x0000FF00, 0x00FF0000, 0},          {0x0000FF00, 0x00FF0000, 0xFF000000, 0},
        {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF},
        {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF},
        {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}, {0, 0x000000FF, 0x0000FF00, 0},
        {0x00FF0000, 0x0000FF00, 0x000000FF, 0x0000000F}, {0x7C00, 0x03E0, 0x001F, 0},
        {0x00FFF000, 0x00000FF0, 0x0000000F, 0},
    };
    Parity parity;
    std::mt19937 rng(11);
    for (uint16_t bits : {16, 32})
        for (uint32_t info : {40u, 44u, 52u, 56u, 64u, 108u, 124u})
            for (const auto& m : bits == 16 ? masks16 : masks32)
                for (int w : {1, 2, 7})
                    for (int h : {3, -2}) {
                        BmpLayout l;
                        l.InfoSize = info;
                        l.Width = w;
                        l.Height = h;
                        l.Bits = bits;
                        l.Compression = 3;
                        l.MasksAfterHeader = info < 52;
                        std::copy(m.begin(), m.end(), l.Masks);
                        char masks[64];
                        std::snprintf(masks, sizeof masks, " masks %X %X %X %X", unsigned(m[0]), unsigned(m[1]),
                                      unsigned(m[2]), unsigned(m[3]));
                        const std::string kind = std::to_string(bits) + " bits, header " + std::to_string(info);
                        const std::string rows = RandomRows(rng, w, std::abs(h), bits, 0);
                        parity.Check(WriteBmpFile(l, rows), kind, masks);
                        l.Compression = 0;  // the same masks there but not to be used
                        parity.Check(WriteBmpFile(l, rows), kind, std::string(masks) + " unused");
                    }
    // A 40-byte header whose masks the end of the file cuts: the data (from offset 0) is there,
    // the masks past the end read as 0.
    BmpLayout l;
    l.Bits = 16;
    l.Compression = 3;
    l.Width = 2;
    l.Height = 1;
    l.OffBitsZero = true;
    for (const std::string& masks : {std::string(12, '\0'), std::string("\0\x7C\0\0\xE0\x03\0\0\x1F\0\0\0", 12)})
        for (size_t keep = 4; keep <= 12; ++keep)
            parity.Check(WriteBmpFile(l, "").substr(0, 54) + masks.substr(0, keep), "cut masks",
                         std::to_string(keep) + " bytes of masks");
    parity.ExpectAllSame(3);
}

// n random run-length codes: runs of every length, ends of lines, moves, literal runs of odd and
// even length (sometimes without their padding), stray bytes; mostly closed by the end code.
std::string RandomRuns(std::mt19937& rng, bool rle8) {
    std::string s;
    auto small = [&](uint32_t most) { return char(rng() % 3 ? rng() % most : rng() % 256); };
    for (int n = int(rng() % 40); n > 0; --n) {
        switch (rng() % 10) {
            case 0:
            case 1:
            case 2:
            case 3: s += {char(1 + rng() % (rng() % 4 ? 12 : 255)), small(rle8 ? 20 : 256)}; break;
            case 4: s += std::string("\0\0", 2); break;
            case 5: s += {'\0', '\2', small(6), small(4)}; break;
            case 6:
            case 7:
            case 8: {
                const int count = 3 + int(rng() % (rng() % 4 ? 10 : 253));
                const int bytes = rle8 ? count : (count + 1) / 2;
                s += {'\0', char(count)};
                for (int i = 0; i < bytes; ++i) s += small(rle8 ? 20 : 256);
                if ((bytes & 1) && rng() % 8) s += '\0';
                break;
            }
            default: s += char(rng()); break;
        }
    }
    if (rng() % 8) s += std::string("\0\1", 2);
    if (rng() % 16 == 0 && !s.empty()) s.resize(rng() % s.size());
    return s;
}

// Run-length pictures: the codes written out by hand for each rule, then random ones, over
// pictures of several sizes (rows padded or not, top-down too) and colour tables.
TEST(SdlBmpParity, RunLengthCodes) {
    const std::string end("\0\1", 2), eol("\0\0", 2);
    auto delta = [](int dx, int dy) { return std::string{'\0', '\2', char(dx), char(dy)}; };
    const std::vector<std::string> rle8 = {
        "\x03\x01" + end,                                        // a run, the rest 0
        "\x02\x01" + eol + "\x02\x02" + eol + "\x02\x03" + end,  // a run a line
        "\x0A\x05" + end,                                        // past the right edge: padding, then the row below
        "\xFF\x02" + eol + "\xFF\x03" + end,                     // far past it
        std::string("\0\3\1\2\3\0", 6) + end,                    // an odd literal run, padded
        std::string("\0\4\1\2\3\4", 6) + end,                    // an even one
        delta(2, 1) + "\x02\x04" + end,                          // a move right and up
        delta(0, 9) + "\x02\x04" + end,                          // up out of the picture
        delta(200, 0) + "\x02\x04" + eol + "\x01\x03" + end,     // right out of it
        eol + eol + eol + eol + eol + "\x04\x04" + end,          // lines past the top
        "\x04\x07" + eol + "\x04\xC8" + end,                     // indices past a short table
        "\x02\x01",                                              // no end code
        std::string("\0\3\1\2\3", 5) + end,                      // a literal run without its padding
        std::string("\0\5\1\2", 4),                              // cut in a literal run
        delta(1, 0).substr(0, 3),                                // cut in a move
        end + "\x05\x05",                                        // codes after the end are ignored
        "",                                                      // nothing at all
    };
    const std::vector<std::string> rle4 = {
        "\x03\x12" + end,                                   // alternating pixels, odd count
        "\x04\x34" + eol + "\x05\x56" + end,                // even and odd runs
        "\x0B\x9A" + end,                                   // past the right edge
        std::string("\0\3\x12\x30", 4) + end,               // literal: 3 pixels in 2 bytes, no padding
        std::string("\0\5\x12\x34\x50\0", 6) + end,         // 5 pixels in 3 bytes, padded
        std::string("\0\6\x12\x34\x56\0", 6) + end,         // 6 pixels in 3 bytes, padded
        std::string("\0\4\x12\x34", 4) + end,               // 4 pixels in 2 bytes
        delta(1, 1) + "\x02\xFF" + end,                     // a move, then indices 15
        "\x06\xF1" + delta(3, 0) + "\x03\x21" + eol + end,  // a run, a move along the line
        std::string("\0\5\x12\x34\x50", 5) + end,           // no padding where it belongs
        "\x02\x12" + eol,                                   // no end code
    };
    Parity parity;
    std::mt19937 rng(3);
    struct Shape {
        int w, h;
    };
    const Shape shapes[] = {{1, 1}, {3, 2}, {4, 3}, {5, 2}, {8, 4}, {17, 3}, {5, -3}};
    for (bool is8 : {true, false})
        for (const Shape& shape : shapes)
            for (uint32_t used : {0u, 2u, 16u, 256u}) {
                BmpLayout l;
                l.Width = shape.w;
                l.Height = shape.h;
                l.Bits = is8 ? 8 : 4;
                l.Compression = is8 ? 1 : 2;
                l.ColoursUsed = used;
                l.Palette = RandomPalette(rng, used ? used : 256);
                const std::string kind = is8 ? "RLE8" : "RLE4";
                const std::string what = std::to_string(shape.w) + " x " + std::to_string(shape.h) + " table " +
                                         std::to_string(used) + " codes ";
                int i = 0;
                for (const std::string& codes : is8 ? rle8 : rle4)
                    parity.Check(WriteBmpFile(l, codes), kind, what + std::to_string(i++));
                for (int n = 0; n < 120; ++n)
                    parity.Check(WriteBmpFile(l, RandomRuns(rng, is8)), kind + " random", what);
            }
    parity.ExpectAllSame(30);
}

// Lines longer than 2^31 pixels, made of moves: the column count wraps between runs, not within
// one. Each picture is 4096 x 4096 and 34 MB of codes, the moves taking the line up 2^31 bytes
// below the bottom row, so that the pixels 2^31 along it land in the middle of the picture.
TEST(SdlBmpParity, LinesLongerThanTwoToThe31Pixels) {
    BmpLayout l;
    l.Width = l.Height = 4096;
    l.ColoursUsed = 4;
    l.Palette = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
    auto repeated = [](const std::string& code, size_t times) {
        std::string s(code.size() * times, '\0');
        for (size_t i = 0; i < s.size(); i += code.size()) s.replace(i, code.size(), code);
        return s;
    };
    std::string upAndAlong = repeated(std::string("\0\2\0\xFF", 4), 2064);  // 526335 rows up
    upAndAlong += std::string("\0\2\0\x0F", 4);
    upAndAlong += repeated(std::string("\0\2\xFF\0", 4), 8421504);  // 2^31 - 128 along
    const std::string end("\0\1", 2);
    struct Case {
        int bits;
        std::string codes;
        const char* what;
    };
    const Case cases[] = {
        {8, std::string("\0\2\x1C\0\xC8\x01\x32\x02", 8) + end, "a run across 2^31, then a run"},
        {8, std::string("\0\2\x5A\0\0\2\x5A\0\x32\x02", 10) + end, "a move across 2^31, then a run"},
        {4, std::string("\0\2\x7B\0\0\x0A\x12\x31\x23\x12\x31\0\x32\x22", 14) + end,
         "a literal run across 2^31, then a run"},
    };
    Parity parity;
    for (const Case& c : cases) {
        l.Bits = uint16_t(c.bits);
        l.Compression = c.bits == 8 ? 1 : 2;
        parity.Check(WriteBmpFile(l, upAndAlong + c.codes), "long line", c.what);
    }
    parity.ExpectAllSame(3);
}

}  // namespace
}  // namespace kiv
