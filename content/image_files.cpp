#include "image_files.h"

#include <jpeglib.h>

#include <cstdio>
#include <stdexcept>

namespace kiv::demo {

Image Image::Crop(int x, int y, int w, int h) const {
    Image out(w, h, 0);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (x + i >= 0 && x + i < width && y + j >= 0 && y + j < height) out.At(i, j) = At(x + i, y + j);
    return out;
}

void Image::Paste(const Image& src, int x, int y) {
    for (int j = 0; j < src.height; ++j)
        for (int i = 0; i < src.width; ++i)
            if (x + i >= 0 && x + i < width && y + j >= 0 && y + j < height) At(x + i, y + j) = src.At(i, j);
}

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    size_t n = std::fwrite(bytes.data(), 1, bytes.size(), f);
    if (std::fclose(f) != 0 || n != bytes.size()) throw std::runtime_error("cannot write " + path);
}

// File and info headers of an uncompressed bottom-up BMP.
std::vector<uint8_t> BmpHeader(int w, int h, int bits, size_t paletteEntries, size_t dataSize) {
    std::vector<uint8_t> b;
    uint32_t offset = 14 + 40 + uint32_t(paletteEntries) * 4;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offset + uint32_t(dataSize));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, uint32_t(w));
    Put32(b, uint32_t(h));
    Put16(b, 1);
    Put16(b, uint16_t(bits));
    Put32(b, 0);  // no compression
    Put32(b, uint32_t(dataSize));
    Put32(b, 2835);
    Put32(b, 2835);  // 72 dpi
    Put32(b, uint32_t(paletteEntries));
    Put32(b, 0);
    return b;
}

int Stride(int w, int bits) { return ((w * bits + 31) / 32) * 4; }

}  // namespace

void WriteBmp24(const std::string& path, const Image& img) {
    int stride = Stride(img.width, 24);
    std::vector<uint8_t> b = BmpHeader(img.width, img.height, 24, 0, size_t(stride) * img.height);
    for (int y = img.height - 1; y >= 0; --y) {
        size_t start = b.size();
        for (int x = 0; x < img.width; ++x) {
            uint32_t p = img.At(x, y);
            b.push_back(uint8_t(p));
            b.push_back(uint8_t(p >> 8));
            b.push_back(uint8_t(p >> 16));
        }
        while (b.size() - start < size_t(stride)) b.push_back(0);
    }
    WriteFile(path, b);
}

void WriteBmpIndexed(const std::string& path, int width, int height, int bits, const std::vector<uint8_t>& index,
                     const std::vector<uint32_t>& palette) {
    int stride = Stride(width, bits);
    std::vector<uint8_t> b = BmpHeader(width, height, bits, palette.size(), size_t(stride) * height);
    for (uint32_t c : palette) {
        b.push_back(uint8_t(c));
        b.push_back(uint8_t(c >> 8));
        b.push_back(uint8_t(c >> 16));
        b.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(stride), 0);
        for (int x = 0; x < width; ++x) {
            uint8_t v = index[size_t(y) * width + x];
            int bit = x * bits;
            row[size_t(bit / 8)] |= uint8_t(v << (8 - bits - bit % 8));
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    WriteFile(path, b);
}

void WriteBmpMono(const std::string& path, const Image& img) {
    std::vector<uint8_t> idx(img.px.size());
    for (size_t i = 0; i < idx.size(); ++i) {
        uint32_t p = img.px[i];
        int sum = int((p >> 16) & 255) + int((p >> 8) & 255) + int(p & 255);
        idx[i] = sum > 382 ? 1 : 0;
    }
    WriteBmpIndexed(path, img.width, img.height, 1, idx, {0x000000, 0xFFFFFF});
}

void WriteBmpPalettized(const std::string& path, const Image& img, const std::vector<uint32_t>& palette) {
    if (palette.empty() || palette.size() > 16 || palette[0] != 0) throw std::runtime_error("bad palette for " + path);
    std::vector<uint8_t> idx(img.px.size());
    for (size_t i = 0; i < idx.size(); ++i) {
        uint32_t p = img.px[i];
        if ((p >> 24) < 128) {
            idx[i] = 0;
            continue;
        }
        int r = int((p >> 16) & 255), g = int((p >> 8) & 255), bl = int(p & 255);
        int best = 1, bestD = 1 << 30;
        for (size_t k = 1; k < palette.size(); ++k) {
            int dr = r - int((palette[k] >> 16) & 255), dg = g - int((palette[k] >> 8) & 255),
                db = bl - int(palette[k] & 255);
            int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (d < bestD) {
                bestD = d;
                best = int(k);
            }
        }
        idx[i] = uint8_t(best);
    }
    WriteBmpIndexed(path, img.width, img.height, 4, idx, palette);
}

void WriteJpeg(const std::string& path, const Image& img, int quality) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = JDIMENSION(img.width);
    cinfo.image_height = JDIMENSION(img.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.write_JFIF_header = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(img.width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = int(cinfo.next_scanline);
        for (int x = 0; x < img.width; ++x) {
            uint32_t p = img.At(x, y);
            row[size_t(x) * 3] = uint8_t(p >> 16);
            row[size_t(x) * 3 + 1] = uint8_t(p >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(p);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    if (std::fclose(f) != 0) throw std::runtime_error("cannot write " + path);
}

}  // namespace kiv::demo
