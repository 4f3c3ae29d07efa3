// Links SDL: the game's BMP decoder against SDL 2's reader, which the game used before, on any
// bytes. Both must give the same picture, or both refuse. Two files come from each input: the
// bytes as they are, and a bitmap whose header is made from the first bytes and whose table and
// data are the rest, so that most inputs get past the header checks into the pixels.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bmp_test_files.h"
#include "sdl_bmp_reference.h"

namespace kiv::fuzz {
namespace {

void RequireSame(const uint8_t* data, size_t size, const char* which) {
    const std::string difference = sdl_reference::ParityDifference(data, size);
    if (difference.empty()) return;
    std::fprintf(stderr, "%s file reads differently from SDL's reader: %s\n", which, difference.c_str());
    std::abort();
}

// The header fields, from the first 16 bytes.
constexpr size_t kLayoutBytes = 16;

std::string BuiltFile(const uint8_t* p, size_t size) {
    using bmp_test::BmpLayout;
    static const uint32_t kInfo[] = {12, 40, 52, 56, 64, 108, 124, 40};
    static const uint16_t kBits[] = {1, 4, 8, 16, 24, 32};
    static const uint32_t kMasks[][4] = {
        {0x7C00, 0x03E0, 0x001F, 0},
        {0xF800, 0x07E0, 0x001F, 0},
        {0x0F00, 0x00F0, 0x000F, 0xF000},
        {0x003F, 0x07C0, 0xF800, 0},
        {0x00FF0000, 0x0000FF00, 0x000000FF, 0},
        {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
        {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},
        {0, 0, 0, 0},
    };
    BmpLayout l;
    l.InfoSize = kInfo[p[0] % 8];
    if (p[0] >= 0xF0) l.InfoSize = 40 + (p[0] & 0x0F) * 5;  // lengths between the known ones
    l.Bits = kBits[p[1] % 6];
    // Mostly the compression that goes with the depth, sometimes any.
    const uint32_t natural = l.Bits == 8 ? 1 : l.Bits == 4 ? 2 : l.Bits >= 16 ? 3 : 0;
    l.Compression = (p[2] & 3) == 0 ? 0 : (p[2] & 3) == 1 ? natural : (p[2] >> 2) & 3;
    l.Width = 1 + p[3] % 48 + (p[3] >= 0xF8 ? 200 : 0);
    l.Height = 1 + p[4] % 40;
    if (p[2] & 0x80) l.Height = -l.Height;
    l.ColoursUsed = p[5] < 0x80 ? 0 : uint32_t(p[5] & 0x7F) | uint32_t(p[6] & 3) << 7;
    l.OffBitsZero = (p[7] & 7) == 1;
    if ((p[7] & 7) >= 5) l.OffBitsShift = int64_t(p[8] % 16) - 8;
    if (p[9] < 0xE0) {
        for (int k = 0; k < 4; ++k) l.Masks[k] = kMasks[p[9] % 8][k];
    } else {
        for (int k = 0; k < 4; ++k) l.Masks[k] = uint32_t(p[10 + k]) << (8 * ((p[14] >> (2 * k)) & 3));
    }
    l.MasksAfterHeader = l.InfoSize < 52 && l.Compression == 3;
    const size_t colours = l.Bits <= 8 ? std::min<size_t>(p[15] % 2 ? 256 : (1u << l.Bits), size - kLayoutBytes) : 0;
    const uint8_t* rest = p + kLayoutBytes;
    size_t left = size - kLayoutBytes;
    for (size_t i = 0; i < colours && left >= 3; ++i, rest += 3, left -= 3)
        l.Palette.push_back(uint32_t(rest[0]) | uint32_t(rest[1]) << 8 | uint32_t(rest[2]) << 16);
    std::string pixels(reinterpret_cast<const char*>(rest), left);
    // Plain data padded to the length the header asks for, unless the input says otherwise.
    const size_t need = bmp_test::RowStride(l.Width, l.Bits) * size_t(std::abs(l.Height));
    if (l.Compression != 1 && l.Compression != 2 && pixels.size() < need && !(p[15] & 2))
        pixels.resize(need, char(p[15]));
    return bmp_test::WriteBmpFile(l, pixels);
}

void BmpParityInput(const uint8_t* data, size_t size) {
    RequireSame(data, size, "the input");
    if (size < kLayoutBytes) return;
    const std::string built = BuiltFile(data, size);
    RequireSame(reinterpret_cast<const uint8_t*>(built.data()), built.size(), "the built");
}

}  // namespace
}  // namespace kiv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kiv::fuzz::BmpParityInput(data, size);
    return 0;
}
