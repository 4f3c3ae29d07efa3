#include "maker/overlay_canvas.h"

#include <algorithm>

#include "platform/platform.h"

namespace kiv {

namespace {
constexpr uint32_t kTextRing = 0xFF000000;
}

OverlayCanvas::OverlayCanvas() : pixels_(static_cast<size_t>(kImageWidth) * kImageHeight, 0) {}

void OverlayCanvas::Clear() { std::fill(pixels_.begin(), pixels_.end(), 0u); }

void OverlayCanvas::Pixel(int x, int y, uint32_t argb) {
    if (x < 0 || y < 0 || x >= kImageWidth || y >= kImageHeight) return;
    pixels_[static_cast<size_t>(y) * kImageWidth + static_cast<size_t>(x)] = argb;
}

void OverlayCanvas::FillRect(const Rect& r, uint32_t argb) {
    const int l = std::max(r.Left, 0), t = std::max(r.Top, 0);
    const int right = std::min(r.Right, kImageWidth), b = std::min(r.Bottom, kImageHeight);
    for (int y = t; y < b; ++y)
        std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * kImageWidth + l, std::max(right - l, 0), argb);
}

void OverlayCanvas::Circle(int cx, int cy, int r, uint32_t argb) {
    if (r <= 0) {
        Pixel(cx, cy, argb);
        return;
    }
    // Midpoint circle: one octant computed, eight mirrored.
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        for (const auto& [dx, dy] : {std::pair{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}})
            Pixel(cx + dx, cy + dy, argb);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

void OverlayCanvas::Disc(int cx, int cy, int r, uint32_t argb) {
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (dx * dx + dy * dy <= r * r + r) Pixel(cx + dx, cy + dy, argb);
}

int OverlayCanvas::Text(FontRenderer& font, int x, int y, std::string_view utf8, uint32_t argb) {
    constexpr size_t kMaxRuns = 512;
    if (runs_.size() > kMaxRuns) runs_.clear();
    auto found = runs_.find(utf8);
    if (found == runs_.end()) found = runs_.emplace(std::string(utf8), font.Render(utf8, kTextHeight, false)).first;
    const TextRun& run = found->second;
    if (run.Ink.empty()) return run.Width;
    auto ink = [&run](int i, int j) {
        return i >= 0 && j >= 0 && i < run.Width && j < run.Height &&
               run.Ink[static_cast<size_t>(j) * static_cast<size_t>(run.Width) + static_cast<size_t>(i)] != 0;
    };
    for (int j = -1; j <= run.Height; ++j) {
        for (int i = -1; i <= run.Width; ++i) {
            if (ink(i, j))
                Pixel(x + i, y + j, argb);
            else if (ink(i - 1, j) || ink(i + 1, j) || ink(i, j - 1) || ink(i, j + 1))
                Pixel(x + i, y + j, kTextRing);
        }
    }
    return run.Width;
}

}  // namespace kiv
