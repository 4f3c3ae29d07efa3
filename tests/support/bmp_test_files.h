#pragma once

// Bitmap files of any layout, every header field chosen by the caller (sound or not): the
// parity test and the parity fuzz target write their inputs with it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kiv::bmp_test {

struct BmpLayout {
    uint32_t InfoSize = 40;  // 12 (OS/2), 40, 52, 56, 64, 108, 124, or anything else
    int32_t Width = 1;
    int32_t Height = 1;  // below 0: rows top-down
    uint16_t Planes = 1;
    uint16_t Bits = 24;
    uint32_t Compression = 0;  // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
    uint32_t ColoursUsed = 0;
    std::vector<uint32_t> Palette;     // 0x00RRGGBB, written after the header (3 bytes each for OS/2)
    bool MasksAfterHeader = false;     // the 40-byte header's masks, in place of a colour table
    uint32_t Masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha: inside headers of 52 bytes and more
    bool OffBitsZero = false;          // data offset 0, as some writers leave it
    int64_t OffBitsShift = 0;          // data offset this far from where the data really starts
};

inline void PutLe(std::string& s, size_t at, uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) s[at + size_t(k)] = char((v >> (8 * k)) & 0xFF);
}

// Bytes a stored row takes at `bits` a pixel: whole 32-bit words.
inline size_t RowStride(int width, int bits) { return ((size_t(width) * size_t(bits) + 31) / 32) * 4; }

// The file: headers, masks, colour table, then `data` (rows as stored, or the run-length codes).
inline std::string WriteBmpFile(const BmpLayout& l, const std::string& data) {
    const bool os2 = l.InfoSize == 12;
    const size_t info = l.InfoSize < 16 ? 16 : l.InfoSize;  // room for the fields written
    std::string f(14 + info, '\0');
    f[0] = 'B';
    f[1] = 'M';
    PutLe(f, 14, l.InfoSize, 4);
    if (os2) {
        PutLe(f, 18, uint32_t(l.Width), 2);
        PutLe(f, 20, uint32_t(l.Height), 2);
        PutLe(f, 22, l.Planes, 2);
        PutLe(f, 24, l.Bits, 2);
    } else if (info >= 40) {
        PutLe(f, 18, uint32_t(l.Width), 4);
        PutLe(f, 22, uint32_t(l.Height), 4);
        PutLe(f, 26, l.Planes, 2);
        PutLe(f, 28, l.Bits, 2);
        PutLe(f, 30, l.Compression, 4);
        PutLe(f, 34, uint32_t(data.size()), 4);
        PutLe(f, 46, l.ColoursUsed, 4);
        for (int k = 0; k < 4 && 54 + size_t(k) * 4 + 4 <= f.size(); ++k) PutLe(f, 54 + size_t(k) * 4, l.Masks[k], 4);
    }
    f.resize(14 + l.InfoSize);  // a header shorter than its fields is cut
    if (l.MasksAfterHeader)
        for (int k = 0; k < 3; ++k) {
            f.append(4, '\0');
            PutLe(f, f.size() - 4, l.Masks[k], 4);
        }
    for (uint32_t c : l.Palette) {
        const size_t at = f.size();
        f.append(os2 ? 3 : 4, '\0');
        PutLe(f, at, c, os2 ? 3 : 4);
    }
    const int64_t offBits = l.OffBitsZero ? 0 : int64_t(f.size()) + l.OffBitsShift;
    f += data;
    PutLe(f, 2, uint32_t(f.size()), 4);
    PutLe(f, 10, uint32_t(offBits), 4);
    return f;
}

}  // namespace kiv::bmp_test
