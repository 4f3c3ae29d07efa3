#include "scenes.h"

#include <array>
#include <cmath>

#include "demo_tables.h"
#include "draw_helpers.h"

namespace kiv::demo {

using namespace draw;

void DrawCurtain(Canvas& c) {
    cairo_t* cr = c.cr();
    cairo_save(cr);
    // the whole stage, less the marquee board and a round window around the face
    cairo_rectangle(cr, 0, 0, 640, 480);
    c.RoundRect(10, 32, 332, 114, 10);
    c.Ellipse(kHeadX, kHeadY - 28, 66, 74);  // clear of the costume below the chin
    c.Ellipse(kRefillX, kRefillY, 28, 28);   // the ink pot is drawn over the plain background
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    for (int x = 0; x < 640; x += 32) {
        cairo_pattern_t* p = cairo_pattern_create_linear(x, 0, x + 32, 0);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.45, 0.02, 0.08);
        cairo_pattern_add_color_stop_rgb(p, 0.5, 0.86, 0.12, 0.2);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.45, 0.02, 0.08);
        cairo_set_source(cr, p);
        cairo_rectangle(cr, x, 0, 32, 480);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    // the valance and its fringe
    c.VerticalGradient(0, 0, 640, 26, 0x9E1228, 0x6A0A1A);
    for (int x = 0; x < 640; x += 8) {
        cairo_move_to(cr, x, 26);
        cairo_line_to(cr, x + 4, 34);
        cairo_line_to(cr, x + 8, 26);
        c.Colour(0xFFC94D);
        cairo_fill(cr);
    }
    c.Rect(0, 24, 640, 3, 0xFFC94D);
    // gold stars on the cloth
    Scatter r(10);
    for (int i = 0; i < 30; ++i) {
        double x = r.In(10, 630), y = r.In(60, 470);
        c.Star(x, y, 5, 2, 5, 0);
        c.Colour(0xFFD34D, 0.8);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // gold trims round the openings
    c.RoundRect(10, 32, 332, 114, 10);
    StrokeWith(c, 0xFFC94D, 4);
    c.Ellipse(kHeadX, kHeadY - 28, 66, 74);  // clear of the costume below the chin
    StrokeWith(c, 0xFFC94D, 4);
    c.Ellipse(kRefillX, kRefillY, 28, 28);
    StrokeWith(c, 0xFFC94D, 4);
}

void DrawBunting(Canvas& c) {
    cairo_t* cr = c.cr();
    const uint32_t cols[5] = {0xFF6FA8, 0xFFD34D, 0x4DD6FF, 0x7CD957, 0xC07CFF};
    auto y = [](double x) { return 6 + 14 * std::sin(x / 640 * M_PI * 2) * 0.5 + 8 * std::pow((x - 320) / 320, 2); };
    cairo_move_to(cr, 0, y(0));
    for (int x = 8; x <= 640; x += 8) cairo_line_to(cr, x, y(x));
    StrokeWith(c, 0x6A4B2A, 2);
    for (int i = 0; i < 20; ++i) {
        double x = 10 + i * 32;
        cairo_move_to(cr, x, y(x));
        cairo_line_to(cr, x + 22, y(x + 22));
        cairo_line_to(cr, x + 11, y(x + 11) + 24);
        cairo_close_path(cr);
        FillLine(c, cols[i % 5], 0x6A4B2A, 1.2);
    }
}

void DrawSparkles(Canvas& c) {
    Scatter r(22);
    const uint32_t cols[4] = {0xFFE066, 0xFFFFFF, 0x9BE7FF, 0xFFB3E0};
    int placed = 0;
    for (int i = 0; i < 200 && placed < 26; ++i) {
        double x = r.In(8, 632), y = r.In(40, 470);
        double s = r.In(4, 9);
        if (Busy(x, y)) continue;
        c.Star(x, y, s, s * 0.3, 4, 0);
        c.Colour(cols[placed % 4]);
        cairo_fill(c.cr());
        ++placed;
    }
}

void DrawGardenPainting(Canvas& c) {
    cairo_t* cr = c.cr();
    c.Fill(0xB07840);
    c.Rect(6, 6, 88, 68, 0xFFF8E6);
    c.VerticalGradient(8, 8, 84, 44, 0xBFE6FF, 0xF2FAFF);
    c.Rect(8, 52, 84, 20, 0x86CF62);
    cairo_move_to(cr, 50, 70);
    cairo_line_to(cr, 50, 34);
    StrokeWith(c, 0x3C8D2F, 3);
    for (int k = 0; k < 12; ++k) {
        double a = k * M_PI / 6;
        c.Ellipse(50 + 11 * std::cos(a), 30 + 11 * std::sin(a), 5, 5);
        c.Colour(0xFFD34D);
        cairo_fill(cr);
    }
    c.Circle(50, 30, 7, 0x8A5A34);
    c.RoundRect(1.5, 1.5, 97, 77, 2);
    StrokeWith(c, 0x7A4E26, 3);
}

void DrawSnowCard(Canvas& c) {
    cairo_t* cr = c.cr();
    c.Fill(0xFFFFFF);
    c.VerticalGradient(8, 8, 224, 164, 0x9FD0FF, 0xEAF4FF);
    c.Rect(8, 130, 224, 42, 0xFAFCFF);
    Scatter r(40);
    for (int i = 0; i < 30; ++i) c.Circle(r.In(10, 230), r.In(10, 170), r.In(1, 2.5), 0xFFFFFF);
    for (auto [y, rad] : std::array<std::array<double, 2>, 3>{{{140, 30}, {96, 22}, {62, 15}}}) {
        c.Ellipse(120, y, rad, rad);
        FillLine(c, 0xFFFFFF, 0x8FA6C2, 2);
    }
    c.Circle(114, 58, 2.5, 0x222222);
    c.Circle(126, 58, 2.5, 0x222222);
    cairo_move_to(cr, 120, 63);
    cairo_line_to(cr, 136, 67);
    cairo_line_to(cr, 120, 68);
    cairo_close_path(cr);
    c.Colour(0xFF8A3C);
    cairo_fill(cr);
    c.Rect(104, 40, 32, 6, 0xD7263D);
    c.RoundRect(108, 20, 24, 22, 3);
    c.Colour(0xD7263D);
    cairo_fill(cr);
    c.Rect(100, 78, 40, 7, 0x2E9A3A);
    for (double y : {92.0, 104.0}) c.Circle(120, y, 2.5, 0x222222);
    c.TextOutlined("BONUS!", "DejaVu Sans Bold 16", 120, 160, 0xFFD34D, 0x7A2A10, 3);
    c.RoundRect(2, 2, 236, 176, 8);
    StrokeWith(c, 0xD7263D, 4);
}

void DrawPartyCard(Canvas& c) {
    cairo_t* cr = c.cr();
    c.Fill(0xFFF3D6);
    Scatter r(41);
    const uint32_t cols[4] = {0xFF6FA8, 0x4DD6FF, 0xFFD34D, 0x7CD957};
    for (int i = 0; i < 40; ++i) {
        c.Rect(r.In(8, 228), r.In(8, 168), 4, 7, cols[i % 4]);
    }
    c.RoundRect(60, 84, 120, 56, 8);
    FillLine(c, 0xFF9BD0, kLine, 2);
    c.Rect(60, 104, 120, 10, 0xFFFFFF);
    c.RoundRect(80, 56, 80, 30, 6);
    FillLine(c, 0xFFE0EC, kLine, 2);
    for (int i = 0; i < 5; ++i) {
        c.Rect(88 + i * 15, 36, 5, 20, cols[i % 4]);
        c.Ellipse(90.5 + i * 15, 31, 3.5, 6);
        c.Colour(0xFFB23C);
        cairo_fill(cr);
    }
    c.TextOutlined("SURPRISE!", "DejaVu Sans Bold 16", 120, 160, 0xFFFFFF, 0xE0445A, 3);
    c.RoundRect(2, 2, 236, 176, 8);
    StrokeWith(c, 0xFF9A3C, 4);
}

void DrawStamps(Canvas& c, int kind) {
    cairo_t* cr = c.cr();
    c.Fill(0xFFFFFF);
    for (int k = 0; k < 3; ++k) {
        double cx = 40 * k + 20, cy = 20;
        cairo_save(cr);
        cairo_rectangle(cr, 40 * k + 1, 1, 38, 38);  // each shape stays inside its own cell
        cairo_clip(cr);
        c.Colour(0x000000);
        if (kind == 1) {  // round, slightly ragged brushes
            cairo_new_sub_path(cr);
            for (int i = 0; i <= 36; ++i) {
                double a = i * M_PI / 18, rr = 16 + 2.2 * std::sin(a * (3 + k) + k);
                if (i == 0)
                    cairo_move_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
                else
                    cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
            }
            cairo_fill(cr);
        } else if (kind == 2) {  // stars
            c.Star(cx, cy, 19, 11 + k, 5 + k, 0.3 * k);
            c.Colour(0x000000);
            cairo_fill(cr);
        } else {  // clouds of dabs
            for (auto [dx, dy, r] :
                 std::array<std::array<double, 3>, 5>{{{0, 0, 11}, {-8, -6, 8}, {8, -6, 8}, {-8, 7, 8}, {8, 7, 8}}})
                c.Circle(cx + dx * (1 + 0.1 * k), cy + dy, r + k, 0x000000);
        }
        cairo_restore(cr);
    }
}

}  // namespace kiv::demo
