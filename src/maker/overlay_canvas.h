#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/font.h"
#include "platform/geometry.h"

namespace kiv {

// The picture of the maker's overlay: 640 x 480 pixels of 0xAARRGGBB (alpha 0 lets the game's
// picture through), drawn with a few plain shapes and the game's font. Everything is clipped.
class OverlayCanvas {
public:
    OverlayCanvas();

    const std::vector<uint32_t>& Pixels() const { return pixels_; }
    void Clear();

    void Pixel(int x, int y, uint32_t argb);
    void FillRect(const Rect& r, uint32_t argb);
    // The outline of the circle of radius r about (cx, cy), one pixel wide.
    void Circle(int cx, int cy, int r, uint32_t argb);
    void Disc(int cx, int cy, int r, uint32_t argb);
    // A line of text with its top-left corner at (x, y), ringed in black so that it reads on
    // any picture; returns its width (the font's advance; 0 without a font).
    int Text(FontRenderer& font, int x, int y, std::string_view utf8, uint32_t argb);

    static constexpr int kTextHeight = 12;

private:
    std::vector<uint32_t> pixels_;
    // The labels and numbers come back in every drawing: each is rendered once.
    std::map<std::string, TextRun, std::less<>> runs_;
};

}  // namespace kiv
