#include "media/surface.h"

#include <cstdio>

namespace kiv {

namespace {

bool SizeAllowed(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    if (width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
        std::fprintf(stderr, "kiv: refused a %dx%d surface (at most %d pixels a side)\n", width, height,
                     kMaxSurfaceSide);
        return false;
    }
    if (int64_t(width) * height > kMaxSurfacePixels) {
        std::fprintf(stderr, "kiv: refused a %dx%d surface (at most %lld pixels)\n", width, height,
                     static_cast<long long>(kMaxSurfacePixels));
        return false;
    }
    return true;
}

}  // namespace

Surface CreateSurface(int width, int height) {
    Surface s;
    if (!SizeAllowed(width, height)) return s;
    s.Width = width;
    s.Height = height;
    s.Pixels.assign(size_t(width) * size_t(height), 0);
    return s;
}

Surface CreateMonoSurface(int width, int height) {
    Surface s = CreateSurface(width, height);
    s.Monochrome = true;
    return s;
}

Surface CreateEmptySurface() { return Surface{}; }

uint32_t DeviceColor(const Surface& s, ColorRef c) {
    uint32_t p = PixelFromColorRef(c) & 0x00FFFFFF;
    if (!s.Monochrome) return p;
    // Nearest of the two table colours by squared distance; a tie keeps entry 0 (black).
    long long r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    long long toBlack = r * r + g * g + b * b;
    long long toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite < toBlack ? 0x00FFFFFF : 0;
}

void SetBrushStyle(Surface& s, BrushStyle style) {
    s.Brush = style;
    if (style == BrushStyle::Clear) s.BrushColor = 0x00FFFFFF;
}

void SetBrushColor(Surface& s, ColorRef c) {
    s.BrushColor = c;
    s.Brush = BrushStyle::Solid;
}

void SetMonochrome(Surface& s, bool mono) {
    if (s.Monochrome == mono) return;
    if (mono) {
        uint32_t bk = PixelFromColorRef(s.BrushColor) & 0x00FFFFFF;
        for (uint32_t& p : s.Pixels) p = (p == bk) ? 0x00FFFFFF : 0;
    } else {
        uint32_t zero = PixelFromColorRef(s.Font.Color) & 0x00FFFFFF;
        uint32_t one = PixelFromColorRef(s.BrushColor) & 0x00FFFFFF;
        for (uint32_t& p : s.Pixels) p = p ? one : zero;
    }
    s.Monochrome = mono;
}

}  // namespace kiv
