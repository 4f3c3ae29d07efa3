#pragma once

// Reading the reference raster files (binary PPM and PBM) and comparing surfaces with them.

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>

#include "media/raster.h"
#include "media/surface.h"

namespace kiv::golden {

inline std::string GoldenPath(const std::string& name) { return std::string(KIV_GOLDEN_DIR) + "/" + name; }

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Reads the header numbers of a netpbm file; pos ends on the first data byte.
inline bool ReadHeaderNumber(const std::string& d, size_t& pos, int& value) {
    while (pos < d.size()) {
        if (d[pos] == '#') {
            while (pos < d.size() && d[pos] != '\n') ++pos;
        } else if (std::isspace(static_cast<unsigned char>(d[pos]))) {
            ++pos;
        } else {
            break;
        }
    }
    if (pos >= d.size() || !std::isdigit(static_cast<unsigned char>(d[pos]))) return false;
    value = 0;
    while (pos < d.size() && std::isdigit(static_cast<unsigned char>(d[pos])) && value < 100000)
        value = value * 10 + (d[pos++] - '0');
    return true;
}

// A P6 file as a colour surface or a P4 file as a monochrome one (PBM 1 = black = bit 0).
// Returns an empty surface when the file is missing or malformed.
inline Surface LoadNetpbm(const std::string& name) {
    std::string d = ReadAll(GoldenPath(name));
    if (d.size() < 2 || d[0] != 'P' || (d[1] != '6' && d[1] != '4')) return CreateEmptySurface();
    const bool mono = d[1] == '4';
    size_t pos = 2;
    int w = 0, h = 0, maxval = 1;
    if (!ReadHeaderNumber(d, pos, w) || !ReadHeaderNumber(d, pos, h)) return CreateEmptySurface();
    if (!mono && !ReadHeaderNumber(d, pos, maxval)) return CreateEmptySurface();
    ++pos;  // the single whitespace byte before the data
    Surface s = mono ? CreateMonoSurface(w, h) : CreateSurface(w, h);
    if (s.Empty()) return s;
    const size_t rowBytes = mono ? size_t(w + 7) / 8 : size_t(w) * 3;
    if (maxval != 255 && !mono) return CreateEmptySurface();
    if (d.size() < pos + rowBytes * size_t(h)) return CreateEmptySurface();
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = reinterpret_cast<const unsigned char*>(d.data()) + pos + rowBytes * y;
        for (int x = 0; x < w; ++x) {
            if (mono) {
                bool black = (row[x / 8] >> (7 - x % 8)) & 1;
                s.Row(y)[x] = black ? 0 : 0x00FFFFFF;
            } else {
                s.Row(y)[x] = (uint32_t(row[3 * x]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x + 2];
            }
        }
    }
    return s;
}

inline ::testing::AssertionResult SameImage(const Surface& actual, const Surface& expected) {
    if (expected.Empty()) return ::testing::AssertionFailure() << "reference file missing or unreadable";
    if (actual.Width != expected.Width || actual.Height != expected.Height)
        return ::testing::AssertionFailure() << "size " << actual.Width << "x" << actual.Height << ", expected "
                                             << expected.Width << "x" << expected.Height;
    if (actual.Monochrome != expected.Monochrome) return ::testing::AssertionFailure() << "monochrome flag differs";
    int wrong = 0;
    std::ostringstream first;
    for (int y = 0; y < actual.Height; ++y)
        for (int x = 0; x < actual.Width; ++x) {
            uint32_t a = actual.Row(y)[x], e = expected.Row(y)[x];
            if (a == e) continue;
            if (wrong < 8) first << " (" << x << "," << y << ") got " << std::hex << a << " want " << e << std::dec;
            ++wrong;
        }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ:" << first.str();
}

// The set-ups of the reference program, in this raster's terms.
inline Surface NewSurface(int w, int h) { return CreateSurface(w, h); }  // black pen, black brush

inline void FillRect(Surface& s, int l, int t, int r, int b, ColorRef c) {
    ColorRef oldColor = s.BrushColor;
    BrushStyle oldStyle = s.Brush;
    s.BrushColor = c;
    s.Brush = BrushStyle::Solid;
    FillRectangle(s, Rect{l, t, r, b});
    s.BrushColor = oldColor;
    s.Brush = oldStyle;
}

inline void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
    StretchCopy(dst, Rect{x, y, x + w, y + h}, src, Rect{sx, sy, sx + w, sy + h}, rop);
}

inline void StretchBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh,
                       Rop rop) {
    StretchCopy(dst, Rect{x, y, x + w, y + h}, src, Rect{sx, sy, sx + sw, sy + sh}, rop);
}

constexpr ColorRef RGB(int r, int g, int b) { return MakeColorRef(uint8_t(r), uint8_t(g), uint8_t(b)); }

}  // namespace kiv::golden
