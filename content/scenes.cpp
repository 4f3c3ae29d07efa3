#include "scenes.h"

#include <array>
#include <cmath>

#include "demo_tables.h"
#include "draw_helpers.h"

namespace kiv::demo {

namespace {

using namespace draw;

void Cloud(Canvas& c, double x, double y, double s) {
    for (auto [dx, dy, r] : std::array<std::array<double, 3>, 4>{{{-22, 4, 14}, {0, -4, 20}, {22, 4, 14}, {8, 8, 14}}})
        c.Circle(x + dx * s, y + dy * s, r * s, 0xFFFFFF);
}

void Tree(Canvas& c, double x, double ground, double s) {
    c.RoundRect(x - 7 * s, ground - 70 * s, 14 * s, 72 * s, 4 * s);
    FillLine(c, 0x8A5A34, kLine, 1.5);
    for (auto [dx, dy, r] :
         std::array<std::array<double, 3>, 4>{{{0, -110, 34}, {-26, -84, 26}, {26, -84, 26}, {0, -80, 28}}}) {
        c.Ellipse(x + dx * s, ground + dy * s, r * s, r * s);
        FillLine(c, 0x4CAF50, 0x2E7D32, 1.5);
    }
    for (auto [dx, dy] : std::array<std::array<double, 2>, 3>{{{-12, -112}, {14, -96}, {-20, -80}}})
        c.Circle(x + dx * s, ground + dy * s, 3.5 * s, 0xE53935);
}

void PineTree(Canvas& c, double x, double ground, double s, bool snow) {
    c.Rect(x - 5 * s, ground - 18 * s, 10 * s, 18 * s, 0x6D4C33);
    for (int i = 0; i < 3; ++i) {
        double top = ground - (110 - i * 28) * s, half = (24 + i * 12) * s, bottom = top + 46 * s;
        cairo_move_to(c.cr(), x, top);
        cairo_line_to(c.cr(), x + half, bottom);
        cairo_line_to(c.cr(), x - half, bottom);
        cairo_close_path(c.cr());
        FillLine(c, 0x2E7D4F, 0x1B4D30, 1.5);
        if (snow) {
            cairo_move_to(c.cr(), x, top);
            cairo_line_to(c.cr(), x + half * 0.45, top + 20 * s);
            cairo_line_to(c.cr(), x - half * 0.45, top + 20 * s);
            cairo_close_path(c.cr());
            c.Colour(0xFFFFFF);
            cairo_fill(c.cr());
        }
    }
}

void Flower(Canvas& c, double x, double y, uint32_t petal, double s) {
    cairo_move_to(c.cr(), x, y);
    cairo_line_to(c.cr(), x, y + 26 * s);
    StrokeWith(c, 0x3C8D2F, 2 * s);
    for (int k = 0; k < 6; ++k) {
        double a = k * M_PI / 3;
        c.Circle(x + 5.5 * s * std::cos(a), y + 5.5 * s * std::sin(a), 4.5 * s, petal);
    }
    c.Circle(x, y, 3.5 * s, 0xFFD34D);
}

void Balloon(Canvas& c, double x, double y, uint32_t col) {
    cairo_move_to(c.cr(), x, y + 22);
    cairo_curve_to(c.cr(), x - 6, y + 40, x + 6, y + 52, x, y + 70);
    StrokeWith(c, 0x8A8A8A, 1);
    c.Ellipse(x, y, 17, 21);
    FillLine(c, col, kLine, 1.5);
    c.Ellipse(x - 6, y - 8, 4, 6);
    c.Colour(0xFFFFFF, 0.6);
    cairo_fill(c.cr());
}

void Bubble(Canvas& c, double x, double y, double r) {
    c.Ellipse(x, y, r, r);
    c.Colour(0xFFFFFF, 0.15);
    cairo_fill_preserve(c.cr());
    StrokeWith(c, 0xCFF3FF, 1.2);
    c.Circle(x - r * 0.35, y - r * 0.35, r * 0.25, 0xFFFFFF);
}

void Fish(Canvas& c, double x, double y, double s, uint32_t col, bool left) {
    double d = left ? -1 : 1;
    c.Ellipse(x, y, 16 * s, 9 * s);
    FillLine(c, col, kLine, 1.4);
    cairo_move_to(c.cr(), x - d * 14 * s, y);
    cairo_line_to(c.cr(), x - d * 26 * s, y - 8 * s);
    cairo_line_to(c.cr(), x - d * 26 * s, y + 8 * s);
    cairo_close_path(c.cr());
    FillLine(c, col, kLine, 1.4);
    c.Circle(x + d * 8 * s, y - 2 * s, 2 * s, 0x1A1A1A);
}

void Ground(Canvas& c, double top, uint32_t a, uint32_t b) { c.VerticalGradient(0, top, 640, 480 - top, a, b); }

void Park(Canvas& c) {
    c.VerticalGradient(0, 0, 640, 360, 0x7FC8F8, 0xDFF3FF);
    c.Circle(585, 62, 34, 0xFFE066);
    c.Circle(585, 62, 26, 0xFFF3A8);
    Cloud(c, 150, 190, 1.1);
    Cloud(c, 560, 170, 0.8);
    cairo_t* cr = c.cr();
    cairo_move_to(cr, 0, 330);
    cairo_curve_to(cr, 120, 270, 260, 280, 360, 320);
    cairo_curve_to(cr, 460, 280, 560, 270, 640, 310);
    cairo_line_to(cr, 640, 480);
    cairo_line_to(cr, 0, 480);
    cairo_close_path(cr);
    c.Colour(0x9ED47A);
    cairo_fill(cr);
    Ground(c, 362, 0x7CCB5E, 0x5DAE45);
    cairo_move_to(cr, 250, 480);
    cairo_curve_to(cr, 300, 420, 360, 400, 420, 380);
    cairo_line_to(cr, 470, 380);
    cairo_curve_to(cr, 430, 410, 400, 440, 380, 480);
    cairo_close_path(cr);
    c.Colour(0xEBD9A7);
    cairo_fill(cr);
    Tree(c, 230, 372, 1.0);
    Tree(c, 590, 380, 0.8);
    for (int i = 0; i < 7; ++i)
        Flower(c, 140 + i * 22 + (i % 2) * 5, 420 + (i % 3) * 12, i % 2 ? 0xFF6FA8 : 0xFFFFFF, 0.7);
}

void Seaside(Canvas& c) {
    cairo_t* cr = c.cr();
    c.VerticalGradient(0, 0, 640, 250, 0x6EC6FF, 0xE6F7FF);
    Cloud(c, 560, 90, 0.9);
    Cloud(c, 250, 200, 0.6);
    c.VerticalGradient(0, 250, 640, 110, 0x2F9BD8, 0x1F6FB0);
    for (int i = 0; i < 9; ++i) {
        cairo_move_to(cr, 20 + i * 70, 280 + (i % 3) * 20);
        cairo_rel_curve_to(cr, 8, -5, 16, -5, 24, 0);
        StrokeWith(c, 0xBFE8FF, 2);
    }
    // a sailboat
    cairo_move_to(cr, 170, 292);
    cairo_line_to(cr, 250, 292);
    cairo_line_to(cr, 236, 308);
    cairo_line_to(cr, 184, 308);
    cairo_close_path(cr);
    FillLine(c, 0xE0445A, kLine, 1.5);
    cairo_move_to(cr, 210, 290);
    cairo_line_to(cr, 210, 222);
    cairo_line_to(cr, 246, 284);
    cairo_close_path(cr);
    FillLine(c, 0xFFFFFF, kLine, 1.5);
    cairo_move_to(cr, 0, 360);
    cairo_curve_to(cr, 200, 346, 420, 350, 640, 360);
    cairo_line_to(cr, 640, 480);
    cairo_line_to(cr, 0, 480);
    cairo_close_path(cr);
    c.Colour(0xF6E2AE);
    cairo_fill(cr);
    for (auto [x, y] : std::array<std::array<double, 2>, 2>{{{560, 160}, {600, 180}}}) {
        cairo_move_to(cr, x - 8, y);
        cairo_curve_to(cr, x - 4, y - 5, x, y - 4, x, y);
        cairo_curve_to(cr, x, y - 4, x + 4, y - 5, x + 8, y);
        StrokeWith(c, 0x445566, 1.6);
    }
    // a beach ball and a shell
    c.Circle(200, 420, 22, 0xFFFFFF);
    cairo_save(cr);
    c.Ellipse(200, 420, 22, 22);
    cairo_clip(cr);
    c.Rect(178, 398, 14, 44, 0xE0445A);
    c.Rect(206, 398, 14, 44, 0x3C7BFF);
    cairo_restore(cr);
    c.Ellipse(200, 420, 22, 22);
    StrokeWith(c, kLine, 1.5);
    c.Ellipse(570, 440, 14, 10);
    FillLine(c, 0xFFB3C1, kLine, 1.2);
}

void Garden(Canvas& c) {
    cairo_t* cr = c.cr();
    c.VerticalGradient(0, 0, 640, 300, 0xBFE6FF, 0xF2FAFF);
    Cloud(c, 580, 70, 0.7);
    Ground(c, 376, 0x86CF62, 0x64B04A);
    // the fence
    c.Rect(0, 318, 640, 10, 0xE9D3A6);
    c.Rect(0, 352, 640, 10, 0xE9D3A6);
    for (int x = 6; x < 640; x += 34) {
        cairo_move_to(cr, x, 396);
        cairo_line_to(cr, x, 302);
        cairo_line_to(cr, x + 12, 290);
        cairo_line_to(cr, x + 24, 302);
        cairo_line_to(cr, x + 24, 396);
        cairo_close_path(cr);
        FillLine(c, 0xFFF1D0, 0xB08A5A, 1.5);
    }
    // bushes and flowers in front of it
    for (int i = 0; i < 6; ++i) {
        double x = 40 + i * 110;
        c.Ellipse(x, 396, 52, 26);
        FillLine(c, 0x5BB450, 0x3A8A36, 1.5);
    }
    const uint32_t petals[4] = {0xFF6FA8, 0xFFD34D, 0xC07CFF, 0xFF8A5B};
    for (int i = 0; i < 14; ++i) {
        double x = 24 + i * 46 + (i % 2) * 10;
        if (x < 100 || (x > 330 && x < 520)) continue;  // clear of the stool and the child
        Flower(c, x, 400 + (i % 3) * 18, petals[i % 4], 0.9);
    }
    // a butterfly
    c.Ellipse(250, 236, 9, 6);
    FillLine(c, 0xFF9BD0, kLine, 1);
    c.Ellipse(262, 236, 9, 6);
    FillLine(c, 0xFF9BD0, kLine, 1);
}

void Snow(Canvas& c) {
    cairo_t* cr = c.cr();
    c.VerticalGradient(0, 0, 640, 360, 0xDCE6F4, 0xF4F7FC);
    cairo_move_to(cr, 0, 300);
    cairo_curve_to(cr, 140, 240, 300, 250, 400, 300);
    cairo_curve_to(cr, 480, 260, 580, 250, 640, 280);
    cairo_line_to(cr, 640, 480);
    cairo_line_to(cr, 0, 480);
    cairo_close_path(cr);
    c.Colour(0xE8EEF7);
    cairo_fill(cr);
    PineTree(c, 250, 360, 0.9, true);
    PineTree(c, 580, 370, 1.1, true);
    PineTree(c, 150, 340, 0.6, true);
    Ground(c, 356, 0xFAFCFF, 0xE2EAF5);
    // a small snowman
    c.Circle(200, 420, 24, 0xFFFFFF);
    c.Ellipse(200, 420, 24, 24);
    StrokeWith(c, 0x9FB2C8, 1.5);
    c.Circle(200, 384, 16, 0xFFFFFF);
    c.Ellipse(200, 384, 16, 16);
    StrokeWith(c, 0x9FB2C8, 1.5);
    c.Circle(195, 380, 2, 0x222222);
    c.Circle(205, 380, 2, 0x222222);
    cairo_move_to(cr, 200, 386);
    cairo_line_to(cr, 212, 389);
    cairo_line_to(cr, 200, 390);
    cairo_close_path(cr);
    c.Colour(0xFF8A3C);
    cairo_fill(cr);
    Scatter r(4);
    for (int i = 0; i < 70; ++i) {
        double x = r.In(0, 640), y = r.In(0, 470);
        if (Busy(x, y)) continue;
        c.Circle(x, y, r.In(1.2, 2.8), 0xFFFFFF);
    }
}

void Circus(Canvas& c) {
    cairo_t* cr = c.cr();
    c.Fill(0x5A0E1A);
    for (int i = 0; i < 16; ++i) {
        double a0 = M_PI * (0.05 + i / 16.0 * 0.9), a1 = M_PI * (0.05 + (i + 0.5) / 16.0 * 0.9);
        cairo_move_to(cr, 320, -40);
        cairo_line_to(cr, 320 + 900 * std::cos(a0), -40 + 900 * std::sin(a0));
        cairo_line_to(cr, 320 + 900 * std::cos(a1), -40 + 900 * std::sin(a1));
        cairo_close_path(cr);
        c.Colour(0x8E1A2A);
        cairo_fill(cr);
    }
    c.VerticalGradient(0, 0, 640, 120, 0x2A0610, 0x5A0E1A);
    // the ring
    c.Ellipse(420, 440, 230, 46);
    c.Colour(0xC98A3C);
    cairo_fill(cr);
    c.Ellipse(420, 440, 210, 36);
    c.Colour(0xE8C27A);
    cairo_fill(cr);
    // a spotlight on the child
    cairo_move_to(cr, 400, 0);
    cairo_line_to(cr, 440, 0);
    cairo_line_to(cr, 560, 450);
    cairo_line_to(cr, 280, 450);
    cairo_close_path(cr);
    c.Colour(0xFFF6C8, 0.18);
    cairo_fill(cr);
    // a drum to stand beside
    c.RoundRect(150, 360, 90, 70, 6);
    FillLine(c, 0x3C7BFF, kLine, 2);
    for (int i = 0; i < 5; ++i) c.Star(165 + i * 15, 395, 5, 2, 5, 0);
    c.Colour(0xFFD34D);
    cairo_fill(cr);
    c.Ellipse(195, 360, 45, 10);
    FillLine(c, 0xF4E7CF, kLine, 2);
}

void Night(Canvas& c) {
    cairo_t* cr = c.cr();
    c.VerticalGradient(0, 0, 640, 400, 0x0B1340, 0x2C3F8C);
    c.Circle(560, 80, 36, 0xFFF1B0);
    c.Circle(576, 70, 32, 0x101848);
    Scatter r(6);
    for (int i = 0; i < 90; ++i) {
        double x = r.In(0, 640), y = r.In(0, 330);
        if (Busy(x, y)) continue;
        c.Circle(x, y, r.In(0.6, 1.6), 0xFFFFFF);
    }
    cairo_move_to(cr, 0, 360);
    cairo_curve_to(cr, 160, 300, 300, 320, 420, 350);
    cairo_curve_to(cr, 520, 320, 600, 310, 640, 330);
    cairo_line_to(cr, 640, 480);
    cairo_line_to(cr, 0, 480);
    cairo_close_path(cr);
    c.Colour(0x1B2A5C);
    cairo_fill(cr);
    Ground(c, 400, 0x27406E, 0x1A2C50);
    // a little house with a lit window
    c.Rect(140, 310, 80, 70, 0x34487E);
    cairo_move_to(cr, 130, 312);
    cairo_line_to(cr, 180, 270);
    cairo_line_to(cr, 230, 312);
    cairo_close_path(cr);
    c.Colour(0x22305E);
    cairo_fill(cr);
    c.Rect(160, 330, 20, 20, 0xFFD66B);
    c.Rect(190, 330, 16, 50, 0x22305E);
}

void Undersea(Canvas& c) {
    cairo_t* cr = c.cr();
    c.VerticalGradient(0, 0, 640, 480, 0x2A86CC, 0x0B2E5A);
    for (int i = 0; i < 5; ++i) {
        cairo_move_to(cr, 60 + i * 140, 0);
        cairo_line_to(cr, 100 + i * 140, 0);
        cairo_line_to(cr, 20 + i * 140, 420);
        cairo_line_to(cr, -20 + i * 140, 420);
        cairo_close_path(cr);
        c.Colour(0xFFFFFF, 0.06);
        cairo_fill(cr);
    }
    cairo_move_to(cr, 0, 420);
    cairo_curve_to(cr, 200, 400, 420, 410, 640, 420);
    cairo_line_to(cr, 640, 480);
    cairo_line_to(cr, 0, 480);
    cairo_close_path(cr);
    c.Colour(0xE6D39A);
    cairo_fill(cr);
    for (double x : {14.0, 230.0, 560.0, 610.0}) {  // clear of the ink pot's stool
        cairo_move_to(cr, x, 440);
        cairo_curve_to(cr, x - 16, 400, x + 16, 360, x, 310);
        StrokeWith(c, 0x2FA36B, 7);
    }
    Fish(c, 200, 250, 1.1, 0xFFB23C, false);
    Fish(c, 580, 200, 0.9, 0xFF6FA8, true);
    Fish(c, 120, 330, 0.8, 0x9BE35B, false);
    Scatter r(7);
    for (int i = 0; i < 26; ++i) {
        double x = r.In(0, 640), y = r.In(160, 460);
        if (Busy(x, y)) continue;
        Bubble(c, x, y, r.In(3, 8));
    }
    c.Star(300, 450, 12, 5, 5, 0.2);
    FillLine(c, 0xFF8A5B, kLine, 1.4);
}

void Party(Canvas& c) {
    cairo_t* cr = c.cr();
    c.Fill(0xFFF0D8);
    for (int x = 0; x < 640; x += 40) c.Rect(x, 0, 20, 380, 0xFFE6C2);
    Ground(c, 380, 0xC99A6B, 0xA87A4E);
    c.Rect(0, 376, 640, 6, 0xFFFFFF);
    Balloon(c, 560, 180, 0xFF6FA8);
    Balloon(c, 600, 210, 0x4DD6FF);
    Balloon(c, 250, 240, 0xFFD34D);
    Balloon(c, 290, 270, 0x7CD957);
    // a table with a cake, right of the ink pot's stool
    c.RoundRect(100, 380, 200, 14, 4);
    FillLine(c, 0xFFFFFF, kLine, 1.5);
    c.Rect(120, 394, 10, 60, 0xA87A4E);
    c.Rect(270, 394, 10, 60, 0xA87A4E);
    c.RoundRect(150, 336, 100, 44, 6);
    FillLine(c, 0xFFB3C1, kLine, 1.5);
    c.Rect(150, 352, 100, 8, 0xFFFFFF);
    for (int i = 0; i < 4; ++i) {
        c.Rect(166 + i * 22, 318, 5, 18, 0x4DD6FF);
        c.Ellipse(168.5 + i * 22, 314, 3, 5);
        c.Colour(0xFFB23C);
        cairo_fill(cr);
    }
}

void Castle(Canvas& c) {
    cairo_t* cr = c.cr();
    c.Fill(0xB9BDC6);
    for (int row = 0; row < 13; ++row)
        for (int col = -1; col < 12; ++col) {
            double x = col * 60 + (row % 2) * 30, y = row * 30;
            c.RoundRect(x + 2, y + 2, 56, 26, 3);
            c.Colour(row % 3 == col % 3 ? 0xC7CBD3 : 0xBFC3CC);
            cairo_fill_preserve(cr);
            StrokeWith(c, 0x9A9FA9, 1);
        }
    // a window with the sky
    cairo_move_to(cr, 160, 330);
    cairo_line_to(cr, 160, 230);
    cairo_arc(cr, 200, 230, 40, M_PI, 2 * M_PI);
    cairo_line_to(cr, 240, 330);
    cairo_close_path(cr);
    c.Colour(0x8FD3FF);
    cairo_fill_preserve(cr);
    StrokeWith(c, 0x6E737C, 5);
    Cloud(c, 200, 270, 0.5);
    // banners
    for (double x : {560.0, 600.0}) {
        cairo_move_to(cr, x - 16, 150);
        cairo_line_to(cr, x + 16, 150);
        cairo_line_to(cr, x + 16, 260);
        cairo_line_to(cr, x, 244);
        cairo_line_to(cr, x - 16, 260);
        cairo_close_path(cr);
        FillLine(c, 0xC4222E, 0x7A1020, 1.5);
        c.Star(x, 190, 8, 3.5, 5, 0);
        c.Colour(0xFFD34D);
        cairo_fill(cr);
    }
    Ground(c, 400, 0x9C6B4A, 0x7A5238);
    // a red carpet
    cairo_move_to(cr, 360, 400);
    cairo_line_to(cr, 480, 400);
    cairo_line_to(cr, 520, 480);
    cairo_line_to(cr, 320, 480);
    cairo_close_path(cr);
    c.Colour(0xC4222E);
    cairo_fill(cr);
}

void Finale(Canvas& c) {
    cairo_t* cr = c.cr();
    c.VerticalGradient(0, 0, 640, 400, 0x240A30, 0x4A1650);
    // the marquee board where the words appear
    c.RoundRect(10, 32, 332, 114, 10);
    FillLine(c, 0x1A0A22, 0xFFC94D, 3);
    for (int i = 0; i < 22; ++i) {
        c.Circle(20 + i * 14.5, 38, 2.4, 0xFFE79A);
        c.Circle(20 + i * 14.5, 140, 2.4, 0xFFE79A);
    }
    // spotlights
    for (auto [x0, x1] : std::array<std::array<double, 2>, 2>{{{120, 360}, {640, 480}}}) {
        cairo_move_to(cr, x0, 0);
        cairo_line_to(cr, x0 + 40, 0);
        cairo_line_to(cr, x1 + 100, 460);
        cairo_line_to(cr, x1 - 60, 460);
        cairo_close_path(cr);
        c.Colour(0xFFF6C8, 0.14);
        cairo_fill(cr);
    }
    Ground(c, 400, 0xB07840, 0x7A4E26);
    for (int x = 0; x < 640; x += 48) {
        cairo_move_to(cr, x, 400);
        cairo_line_to(cr, x - 20, 480);
        StrokeWith(c, 0x8A5A2E, 1.5);
    }
    for (int i = 0; i < 12; ++i) c.Circle(30 + i * 54, 470, 5, 0xFFE79A);
}

}  // namespace

const Look& StageLook(int s) {
    static const std::array<Look, kStages> looks{{
        {0xFFD93D, 0xFF8A3C, Pattern::Stripes, 0x3C7BFF, 0x2B5FCF, Bottom::Shorts, Pattern::Plain, 0xE0445A,
         Hat::SunHat, 0xF2D38A, 0xFF6FA8, 0xFFDDBF, false, 0},
        {0xFFFFFF, 0x1E3A8A, Pattern::Plain, 0x1E3A8A, 0xFFFFFF, Bottom::Skirt, Pattern::Plain, 0xFFFFFF,
         Hat::SailorCap, 0xFFFFFF, 0x1E3A8A, 0xFFDDBF, false, 1, 1},
        {0xFF9BD0, 0xFFFFFF, Pattern::Flowers, 0xFF9BD0, 0xFFF3C0, Bottom::Skirt, Pattern::Flowers, 0xC07CFF,
         Hat::FlowerCrown, 0, 0, 0xFFDDBF, false, 2},
        {0xD7263D, 0xFFFFFF, Pattern::Dots, 0x27408B, 0x27408B, Bottom::Trousers, Pattern::Plain, 0x7A4E26, Hat::Beanie,
         0xD7263D, 0xFFFFFF, 0xFFDDBF, false, 3},
        {0xC4222E, 0xFFC94D, Pattern::Plain, 0xFFFFFF, 0xF0F0F0, Bottom::Trousers, Pattern::Plain, 0x222222,
         Hat::TopHat, 0x222222, 0xC4222E, 0xFFFFFF, false, 4, 2},
        {0x27408B, 0xFFE066, Pattern::Stars, 0x27408B, 0xFFE066, Bottom::Trousers, Pattern::Stars, 0x8E7BFF,
         Hat::NightCap, 0x27408B, 0xFFE066, 0xFFDDBF, false, 0},
        {0x2BC4B0, 0xE6FFF8, Pattern::Scales, 0x19A58F, 0x7FF0DC, Bottom::Tail, Pattern::Scales, 0, Hat::Starfish,
         0xFF8A5B, 0xFFD34D, 0xFFDDBF, false, 1},
        {0xFF9A3C, 0xFFFFFF, Pattern::Dots, 0xFF9A3C, 0x7CD957, Bottom::Skirt, Pattern::Dots, 0xFF6FA8, Hat::PartyHat,
         0x4DD6FF, 0xFFFFFF, 0xFFDDBF, false, 2},
        {0x2B4FCF, 0xFFC94D, Pattern::Plain, 0xFFFFFF, 0xF0F0F0, Bottom::Trousers, Pattern::Plain, 0x5A3A22, Hat::Crown,
         0xFFC94D, 0, 0xFFDDBF, true, 3, 3},
        {0x6A2C91, 0xFFD34D, Pattern::Sequins, 0x1A1A22, 0x1A1A22, Bottom::Trousers, Pattern::Plain, 0x1A1A22,
         Hat::TopHat, 0xFFC94D, 0x6A2C91, 0xFFDDBF, false, 4},
    }};
    return looks[s];
}

void DrawScenery(Canvas& c, int s) {
    switch (s) {
        case 0: Park(c); break;
        case 1: Seaside(c); break;
        case 2: Garden(c); break;
        case 3: Snow(c); break;
        case 4: Circus(c); break;
        case 5: Night(c); break;
        case 6: Undersea(c); break;
        case 7: Party(c); break;
        case 8: Castle(c); break;
        default: Finale(c); break;
    }
}

}  // namespace kiv::demo
