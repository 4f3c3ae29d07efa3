#pragma once

// Small drawing helpers shared by the scenery and the props.

#include <cairo.h>

#include <cstdint>

#include "canvas.h"
#include "demo_tables.h"

namespace kiv::demo::draw {

inline constexpr uint32_t kLine = 0x3A2418;

// A small fixed sequence of "random" numbers, so every run draws the same scatter.
struct Scatter {
    uint32_t s;
    explicit Scatter(uint32_t seed) : s(seed) {}
    double Next() {
        s = s * 1103515245u + 12345u;
        return double((s >> 8) & 0xFFFF) / 65536.0;
    }
    double In(double a, double b) { return a + (b - a) * Next(); }
};

// Keeps scattered things out of the speech corner, off the child and off the ink pot's stool.
inline bool Busy(double x, double y) {
    bool text = x < kTextRight + 12 && y > 30 && y < kTextBottom + 12;
    bool child = x > 320 && x < 520 && y > 20 && y < 470;
    bool pot = x < kRefillX + 44 && y > kRefillY - 36 && y < kRefillY + 96;
    return text || child || pot;
}

inline void StrokeWith(Canvas& c, uint32_t col, double w) {
    c.Colour(col);
    cairo_set_line_width(c.cr(), w);
    cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(c.cr(), CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(c.cr());
}

inline void FillLine(Canvas& c, uint32_t fill, uint32_t line, double w) {
    c.Colour(fill);
    cairo_fill_preserve(c.cr());
    StrokeWith(c, line, w);
}

}  // namespace kiv::demo::draw
