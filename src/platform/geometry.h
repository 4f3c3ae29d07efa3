#pragma once

#include <cstdint>

namespace kiv {

// A rectangle in pixels: left and top inclusive, right and bottom exclusive.
struct Rect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool operator==(const Rect&) const = default;
};

inline Rect MakeRect(int32_t l, int32_t t, int32_t r, int32_t b) { return Rect{l, t, r, b}; }

}  // namespace kiv
