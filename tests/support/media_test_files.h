#pragma once

// Picture files made by the tests: Windows bitmaps of every depth, written byte by byte, and
// JPEGs written through libjpeg.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>

namespace kiv::media_test {

inline void Put16(std::string& s, size_t at, uint32_t v) {
    s[at] = char(v & 0xFF);
    s[at + 1] = char((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, size_t at, uint32_t v) {
    Put16(s, at, v & 0xFFFF);
    Put16(s, at + 2, v >> 16);
}

struct BmpOptions {
    BmpOptions(int b = 24, bool down = false, std::vector<uint32_t> colours = {})
        : bits(b), topDown(down), palette(std::move(colours)) {}
    int bits = 24;
    bool topDown = false;
    std::vector<uint32_t> palette;  // 0x00RRGGBB, for 1, 4 and 8 bits
    bool rgb565 = false;            // 16 bits with bit fields 5-6-5 instead of plain 5-5-5
};

// A BMP file of w x h; value(x, y) is a palette index at 1..8 bits, otherwise 0x00RRGGBB (at 16
// bits cut to 5 or 6 bits a channel).
inline std::string WriteBmp(int w, int h, const BmpOptions& o, const std::function<uint32_t(int, int)>& value) {
    const bool fields = o.bits == 16 && o.rgb565;
    const size_t paletteBytes = o.bits <= 8 ? o.palette.size() * 4 : 0;
    const size_t headerBytes = 14 + 40 + (fields ? 12 : 0) + paletteBytes;
    const size_t stride = ((size_t(w) * o.bits + 31) / 32) * 4;
    std::string f(headerBytes + stride * size_t(h), '\0');
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 2, uint32_t(f.size()));
    Put32(f, 10, uint32_t(headerBytes));
    Put32(f, 14, 40);
    Put32(f, 18, uint32_t(w));
    Put32(f, 22, uint32_t(o.topDown ? -h : h));
    Put16(f, 26, 1);
    Put16(f, 28, uint32_t(o.bits));
    Put32(f, 30, fields ? 3 : 0);
    Put32(f, 34, uint32_t(stride * size_t(h)));
    Put32(f, 46, o.bits <= 8 ? uint32_t(o.palette.size()) : 0);
    size_t at = 54;
    if (fields) {
        Put32(f, at, 0xF800);
        Put32(f, at + 4, 0x07E0);
        Put32(f, at + 8, 0x001F);
        at += 12;
    }
    for (size_t i = 0; o.bits <= 8 && i < o.palette.size(); ++i, at += 4) Put32(f, at, o.palette[i]);
    for (int y = 0; y < h; ++y) {
        const size_t row = headerBytes + size_t(o.topDown ? y : h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            const uint32_t v = value(x, y);
            const uint32_t r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
            switch (o.bits) {
                case 1:
                case 4:
                case 8: {
                    const size_t bit = size_t(x) * o.bits;
                    const int shift = 8 - o.bits - int(bit % 8);
                    f[row + bit / 8] = char(uint8_t(f[row + bit / 8]) | ((v & ((1u << o.bits) - 1)) << shift));
                    break;
                }
                case 16:
                    Put16(f, row + 2 * size_t(x),
                          o.rgb565 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)
                                   : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
                    break;
                case 24:
                    f[row + 3 * size_t(x)] = char(b);
                    f[row + 3 * size_t(x) + 1] = char(g);
                    f[row + 3 * size_t(x) + 2] = char(r);
                    break;
                case 32: Put32(f, row + 4 * size_t(x), v & 0x00FFFFFF); break;
            }
        }
    }
    return f;
}

// A JPEG file of w x h from value(x, y) = 0x00RRGGBB (or grey levels 0..255 when grey).
inline std::string WriteJpeg(int w, int h, const std::function<uint32_t(int, int)>& value, int quality = 100,
                             bool grey = false, bool progressive = false) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = grey ? 1 : 3;
    c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    // No chroma subsampling: flat colour blocks then decode close to their colours.
    c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(size_t(w) * (grey ? 1 : 3));
    while (c.next_scanline < c.image_height) {
        const int y = int(c.next_scanline);
        for (int x = 0; x < w; ++x) {
            const uint32_t v = value(x, y);
            if (grey) {
                row[size_t(x)] = static_cast<unsigned char>(v);
            } else {
                row[3 * size_t(x)] = static_cast<unsigned char>(v >> 16);
                row[3 * size_t(x) + 1] = static_cast<unsigned char>(v >> 8);
                row[3 * size_t(x) + 2] = static_cast<unsigned char>(v);
            }
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return out;
}

// A CMYK JPEG of w x h in one flat colour, the ink values stored inverted (0 = full ink) as
// Adobe's programs write them; libjpeg marks CMYK files with the Adobe marker.
inline std::string WriteCmykJpeg(int w, int h, uint8_t c, uint8_t m, uint8_t y, uint8_t k) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row;
    for (int x = 0; x < w; ++x)
        row.insert(row.end(), {uint8_t(255 - c), uint8_t(255 - m), uint8_t(255 - y), uint8_t(255 - k)});
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

}  // namespace kiv::media_test
