#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kiv {

// A decoded Windows bitmap: Width x Height pixels 0x00RRGGBB, rows top to bottom.
struct BmpPixels {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
};

// Decodes a BMP file held in memory (1, 4, 8, 16, 24 and 32 bits, RLE and bit fields, rows
// stored bottom-up or top-down; palette pictures read in their table colours). The header is
// checked before anything is allocated: a file that is not a bitmap, is cut short, is 0 pixels
// on a side, over maxSide on a side or over maxPixels in all, or (run-length coded) far too
// short for its size gives false and a reason.
bool DecodeBmp(const uint8_t* data, size_t size, int maxSide, int64_t maxPixels, BmpPixels& out, std::string& error);

}  // namespace kiv
