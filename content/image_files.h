#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kiv::demo {

// An opaque or straight-alpha picture: pixels 0xAARRGGBB, row after row from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> px;

    Image() = default;
    Image(int w, int h, uint32_t fill = 0xFF000000u) : width(w), height(h), px(size_t(w) * h, fill) {}
    uint32_t& At(int x, int y) { return px[size_t(y) * width + x]; }
    uint32_t At(int x, int y) const { return px[size_t(y) * width + x]; }
    Image Crop(int x, int y, int w, int h) const;
    void Paste(const Image& src, int x, int y);  // copies src's pixels, clipped
};

inline uint32_t Rgb(int r, int g, int b) {
    return 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

// Writers; each throws std::runtime_error when the file cannot be written.
void WriteBmp24(const std::string& path, const Image& img);
// A paletted BMP (1, 4 or 8 bits): indexes given per pixel, palette as 0xRRGGBB.
void WriteBmpIndexed(const std::string& path, int width, int height, int bits, const std::vector<uint8_t>& index,
                     const std::vector<uint32_t>& palette);
// Pure black and white: a pixel whose red, green and blue sum above 382 is white.
void WriteBmpMono(const std::string& path, const Image& img);
// A paletted BMP of at most 16 colours: pixels with alpha below 128 become palette entry 0
// (pure black, so a derived mask is exactly the picture's shape); the others take the nearest
// of entries 1.. (none of which may be pure black).
void WriteBmpPalettized(const std::string& path, const Image& img, const std::vector<uint32_t>& palette);
void WriteJpeg(const std::string& path, const Image& img, int quality);

}  // namespace kiv::demo
