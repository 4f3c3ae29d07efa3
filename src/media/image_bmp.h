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

// Decodes a BMP file held in memory: the 12-byte OS/2 header and the 40- to 124-byte Windows
// headers; 1, 4 and 8 bits with a colour table (short tables too), 16 bits (5-5-5, or the channel
// masks of the file), 24 bits, 32 bits (with or without masks), 4- and 8-bit run-length coding;
// rows stored bottom-up or top-down. Channels of fewer than 8 bits widen by repeating their bits
// (5 bits v give v << 3 | v >> 2, so full intensity stays 255).
//
// The header is checked before anything is allocated: a file that is not a bitmap, is cut short,
// is 0 pixels on a side, over maxSide on a side or over maxPixels in all, or (run-length coded)
// far too short for its size gives false and a reason. So do a plain picture with a colour index
// outside its table, a run-length picture without its end code, and channel masks other than
// the usual layouts of 16 and 32 bits. The pictures are those SDL 2.26's reader gave the game
// before: the same files are refused, and the rest read pixel for pixel the same.
bool DecodeBmp(const uint8_t* data, size_t size, int maxSide, int64_t maxPixels, BmpPixels& out, std::string& error);

}  // namespace kiv
