#include "character.h"

#include <cmath>

#include "demo_tables.h"

namespace kiv::demo {

namespace {

constexpr uint32_t kSkin = 0xFFDDBF, kSkinShade = 0xF2C29E, kLine = 0x3A2418;
constexpr uint32_t kHair = 0x6B3E26, kHairLight = 0x94603C;
constexpr uint32_t kIris = 0x5A3320, kMouthDark = 0x9C2C3A, kTongue = 0xFF8A9A;

constexpr double HX = kHeadX, HY = kHeadY;
constexpr double kEyeLX = 402, kEyeRX = 438, kEyeY = 138, kMouthX = 420, kMouthY = 163;

void Stroke(Canvas& c, uint32_t colour, double width) {
    c.Colour(colour);
    cairo_set_line_width(c.cr(), width);
    cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(c.cr(), CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(c.cr());
}

void FillPreserveStroke(Canvas& c, uint32_t fill, uint32_t line, double width) {
    c.Colour(fill);
    cairo_fill_preserve(c.cr());
    Stroke(c, line, width);
}

// Fills the current clip with a pattern over a base colour.
void PatternFill(Canvas& c, Pattern p, uint32_t base, uint32_t accent, double x, double y, double w, double h) {
    cairo_t* cr = c.cr();
    c.Rect(x, y, w, h, base);
    switch (p) {
        case Pattern::Plain: break;
        case Pattern::Stripes:
            for (double yy = y + 8; yy < y + h; yy += 18) c.Rect(x, yy, w, 7, accent);
            break;
        case Pattern::Dots:
            for (double yy = y + 6; yy < y + h; yy += 16)
                for (double xx = x + (int((yy - y) / 16) % 2 ? 14 : 6); xx < x + w; xx += 16)
                    c.Circle(xx, yy, 3.2, accent);
            break;
        case Pattern::Flowers:
            for (double yy = y + 10; yy < y + h; yy += 24)
                for (double xx = x + (int((yy - y) / 24) % 2 ? 22 : 8); xx < x + w; xx += 28) {
                    for (int k = 0; k < 5; ++k) {
                        double a = k * 2 * M_PI / 5;
                        c.Circle(xx + 4 * std::cos(a), yy + 4 * std::sin(a), 3, accent);
                    }
                    c.Circle(xx, yy, 2.4, 0xFFE066);
                }
            break;
        case Pattern::Stars:
            for (double yy = y + 10; yy < y + h; yy += 22)
                for (double xx = x + (int((yy - y) / 22) % 2 ? 20 : 7); xx < x + w; xx += 26) {
                    c.Star(xx, yy, 5.5, 2.3, 5, 0.2);
                    c.Colour(accent);
                    cairo_fill(cr);
                }
            break;
        case Pattern::Scales:
            for (double yy = y; yy < y + h + 10; yy += 8)
                for (double xx = x + (int((yy - y) / 8) % 2 ? 6 : 0); xx < x + w + 12; xx += 12) {
                    cairo_new_sub_path(cr);
                    cairo_arc(cr, xx, yy, 6, 0, M_PI);
                    c.Colour(accent, 0.7);
                    cairo_set_line_width(cr, 1.5);
                    cairo_stroke(cr);
                }
            break;
        case Pattern::Sequins:
            for (double yy = y + 4; yy < y + h; yy += 9)
                for (double xx = x + (int((yy - y) / 9) % 2 ? 6 : 1); xx < x + w; xx += 10)
                    c.Circle(xx, yy, 2.2, accent);
            break;
    }
}

// ---- the body ----

void TorsoPath(Canvas& c) { c.RoundRect(374, 186, 92, 120, 14); }
void SleevePaths(Canvas& c, double width) {
    cairo_t* cr = c.cr();
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 388, 204);
    cairo_line_to(cr, 348, 286);
    cairo_move_to(cr, 452, 204);
    cairo_line_to(cr, 492, 286);
}

void DrawLegsAndBottom(Canvas& c, const Look& k) {
    cairo_t* cr = c.cr();
    switch (k.bottomKind) {
        case Bottom::Shorts:
        case Bottom::Skirt:
            c.RoundRect(392, 320, 18, 112, 8);
            c.RoundRect(430, 320, 18, 112, 8);
            FillPreserveStroke(c, k.bottomKind == Bottom::Skirt ? k.bottomAccent : kSkin, kLine, 1.5);
            break;
        case Bottom::Trousers:
        case Bottom::Tail: break;
    }
    if (k.bottomKind != Bottom::Tail) {
        for (double fx : {400.0, 440.0}) {
            c.Ellipse(fx + (fx < 420 ? -3 : 3), 440, 17, 9);
            FillPreserveStroke(c, k.shoes, kLine, 1.5);
            c.Ellipse(fx + (fx < 420 ? -7 : 7), 436, 5, 2.2);
            c.Colour(0xFFFFFF, 0.45);
            cairo_fill(cr);
        }
    }
    auto clipFill = [&](auto path, double x, double y, double w, double h) {
        cairo_save(cr);
        path();
        cairo_clip_preserve(cr);
        PatternFill(c, k.bottomPattern, k.bottom, k.bottomAccent, x, y, w, h);
        cairo_restore(cr);
        path();
        Stroke(c, kLine, 2);
    };
    switch (k.bottomKind) {
        case Bottom::Shorts:
            clipFill(
                [&] {
                    c.RoundRect(380, 292, 40, 56, 7);
                    c.RoundRect(420, 292, 40, 56, 7);
                },
                376, 288, 90, 64);
            break;
        case Bottom::Trousers:
            clipFill(
                [&] {
                    c.RoundRect(381, 292, 39, 138, 8);
                    c.RoundRect(420, 292, 39, 138, 8);
                },
                376, 288, 90, 146);
            break;
        case Bottom::Skirt:
            clipFill(
                [&] {
                    cairo_move_to(cr, 376, 288);
                    cairo_line_to(cr, 464, 288);
                    cairo_curve_to(cr, 474, 320, 480, 340, 486, 356);
                    cairo_curve_to(cr, 450, 366, 390, 366, 354, 356);
                    cairo_curve_to(cr, 360, 340, 366, 320, 376, 288);
                    cairo_close_path(cr);
                },
                350, 284, 140, 86);
            break;
        case Bottom::Tail:
            clipFill(
                [&] {
                    cairo_move_to(cr, 378, 290);
                    cairo_line_to(cr, 462, 290);
                    cairo_curve_to(cr, 466, 350, 446, 400, 428, 426);
                    cairo_line_to(cr, 412, 426);
                    cairo_curve_to(cr, 394, 400, 374, 350, 378, 290);
                    cairo_close_path(cr);
                },
                370, 286, 100, 144);
            // the fin
            cairo_move_to(cr, 420, 420);
            cairo_curve_to(cr, 400, 424, 384, 440, 380, 454);
            cairo_curve_to(cr, 398, 448, 412, 446, 420, 436);
            cairo_curve_to(cr, 428, 446, 442, 448, 460, 454);
            cairo_curve_to(cr, 456, 440, 440, 424, 420, 420);
            cairo_close_path(cr);
            FillPreserveStroke(c, k.bottomAccent, kLine, 2);
            break;
    }
}

void DrawTop(Canvas& c, const Look& k) {
    cairo_t* cr = c.cr();
    // sleeves: an outline pass, then the pattern clipped to a slightly thinner stroke
    SleevePaths(c, 28);
    c.Colour(kLine);
    cairo_stroke(cr);
    cairo_push_group(cr);
    PatternFill(c, k.topPattern, k.top, k.topAccent, 330, 190, 180, 110);
    cairo_pattern_t* cloth = cairo_pop_group(cr);
    SleevePaths(c, 24);
    cairo_set_source(cr, cloth);
    cairo_stroke(cr);
    cairo_pattern_destroy(cloth);
    cairo_save(cr);
    TorsoPath(c);
    cairo_clip(cr);
    PatternFill(c, k.topPattern, k.top, k.topAccent, 370, 182, 100, 130);
    cairo_restore(cr);
    TorsoPath(c);
    Stroke(c, kLine, 2);
    // collar
    cairo_move_to(cr, 404, 186);
    cairo_curve_to(cr, 408, 200, 432, 200, 436, 186);
    Stroke(c, k.topAccent, 4);
    if (k.trim == 1) {  // a sailor collar with a red scarf
        cairo_move_to(cr, 378, 190);
        cairo_line_to(cr, 462, 190);
        cairo_line_to(cr, 448, 214);
        cairo_line_to(cr, 420, 240);
        cairo_line_to(cr, 392, 214);
        cairo_close_path(cr);
        c.Colour(k.topAccent);
        cairo_fill_preserve(cr);
        Stroke(c, kLine, 1.5);
        cairo_move_to(cr, 392, 198);
        cairo_line_to(cr, 448, 198);
        Stroke(c, 0xFFFFFF, 1.5);
        cairo_move_to(cr, 410, 226);
        cairo_line_to(cr, 430, 226);
        cairo_line_to(cr, 424, 252);
        cairo_line_to(cr, 420, 244);
        cairo_line_to(cr, 416, 252);
        cairo_close_path(cr);
        c.Colour(0xE0445A);
        cairo_fill_preserve(cr);
        Stroke(c, kLine, 1.2);
    } else if (k.trim == 2) {
        for (double y : {220.0, 246.0, 272.0}) {
            c.Circle(408, y, 3.6, 0xFFC94D);
            c.Circle(432, y, 3.6, 0xFFC94D);
        }
        cairo_move_to(cr, 420, 196);
        cairo_line_to(cr, 420, 304);
        Stroke(c, kLine, 1.2);
    } else if (k.trim == 3) {
        c.Rect(375, 276, 90, 10, 0xFFC94D);
        c.RoundRect(412, 273, 16, 16, 3);
        c.Colour(0xFFE79A);
        cairo_fill_preserve(cr);
        Stroke(c, 0x8A5A00, 1.2);
    }
    // hands
    for (double hx : {336.0, 504.0}) {
        c.Circle(hx, 310, 12, k.hands);
        c.Ellipse(hx, 310, 12, 12);
        Stroke(c, kLine, 1.8);
        cairo_move_to(cr, hx - 4, 316);
        cairo_line_to(cr, hx - 4, 320);
        Stroke(c, kLine, 1);
    }
}

// ---- the head ----

void DrawEye(Canvas& c, double x, double y, int kind, bool star) {
    cairo_t* cr = c.cr();
    if (kind == 3) {  // closed, smiling
        cairo_move_to(cr, x - 7, y + 2);
        cairo_curve_to(cr, x - 4, y - 5, x + 4, y - 5, x + 7, y + 2);
        Stroke(c, kLine, 2.4);
        return;
    }
    if (star) {
        double r = kind == 4 ? 9 : 8;
        c.Star(x, y, r, r * 0.45, 5, 0);
        FillPreserveStroke(c, 0xFFD23F, 0xB8860B, 1.4);
        c.Circle(x - 2, y - 2, 1.6, 0xFFFFFF);
        if (kind == 2) {
            c.Rect(x - 9, y - 10, 18, 9, kSkin);
            cairo_move_to(cr, x - 8, y - 1);
            cairo_line_to(cr, x + 8, y - 1);
            Stroke(c, kLine, 2);
        }
        return;
    }
    double rx = kind == 4 ? 7.5 : 6.5, ry = kind == 4 ? 9.5 : 8.5;
    c.Ellipse(x, y, rx, ry);
    FillPreserveStroke(c, 0xFFFFFF, kLine, 1.6);
    cairo_save(cr);
    c.Ellipse(x, y, rx, ry);
    cairo_clip(cr);
    c.Circle(x, y + 1, kind == 4 ? 5.8 : 5.2, kIris);
    c.Circle(x, y + 1.5, 2.6, 0x1A0F08);
    c.Circle(x - 2, y - 2, 1.8, 0xFFFFFF);
    c.Circle(x + 2, y + 3.5, 0.9, 0xFFFFFF);
    cairo_restore(cr);
    if (kind == 2) {  // half shut: the lid comes down over the top of the eye
        c.Rect(x - 9, y - 11, 18, 11.5, kSkin);
        cairo_move_to(cr, x - 7.5, y + 0.5);
        cairo_curve_to(cr, x - 3, y - 1, x + 3, y - 1, x + 7.5, y + 0.5);
        Stroke(c, kLine, 2.4);
    }
    if (kind != 2) {  // lashes
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, rx + 0.3, M_PI * 1.1, M_PI * 1.9);
        Stroke(c, kLine, 2.2);
    }
}

void DrawMouth(Canvas& c, double x, double y, int kind) {
    cairo_t* cr = c.cr();
    switch (kind) {
        case 1:
            cairo_move_to(cr, x - 7, y - 2);
            cairo_curve_to(cr, x - 3, y + 3, x + 3, y + 3, x + 7, y - 2);
            Stroke(c, kMouthDark, 2.2);
            break;
        case 2:
            c.Ellipse(x, y + 1, 4, 5);
            FillPreserveStroke(c, kMouthDark, kLine, 1.2);
            c.Ellipse(x, y + 3.5, 2.6, 1.8);
            c.Colour(kTongue);
            cairo_fill(cr);
            break;
        default: {
            double w = kind == 4 ? 12 : 9, d = kind == 4 ? 9 : 6.5, t = kind == 4 ? -4 : -3;
            cairo_move_to(cr, x - w, y + t);
            cairo_line_to(cr, x + w, y + t);
            cairo_curve_to(cr, x + w, y + t + d * 1.2, x - w, y + t + d * 1.2, x - w, y + t);
            cairo_close_path(cr);
            FillPreserveStroke(c, kMouthDark, kLine, 1.4);
            cairo_save(cr);
            cairo_move_to(cr, x - w, y + t);
            cairo_line_to(cr, x + w, y + t);
            cairo_curve_to(cr, x + w, y + t + d * 1.2, x - w, y + t + d * 1.2, x - w, y + t);
            cairo_clip(cr);
            c.Rect(x - w, y + t, 2 * w, 2.2, 0xFFFFFF);
            c.Ellipse(x, y + t + d, w * 0.55, d * 0.45);
            c.Colour(kTongue);
            cairo_fill(cr);
            cairo_restore(cr);
        }
    }
}

void DrawHat(Canvas& c, const Look& k) {
    cairo_t* cr = c.cr();
    switch (k.hat) {
        case Hat::None: break;
        case Hat::SunHat:
            c.Ellipse(HX, 92, 74, 14);
            FillPreserveStroke(c, k.hatColour, kLine, 2);
            cairo_move_to(cr, 380, 92);
            cairo_curve_to(cr, 382, 56, 458, 56, 460, 92);
            cairo_close_path(cr);
            FillPreserveStroke(c, k.hatColour, kLine, 2);
            c.Rect(381, 80, 78, 8, k.hatAccent);
            c.Circle(452, 82, 6, 0xFF5A7A);
            break;
        case Hat::SailorCap:
            c.Ellipse(HX, 80, 44, 16);
            FillPreserveStroke(c, 0xFFFFFF, kLine, 2);
            c.RoundRect(382, 82, 76, 10, 4);
            FillPreserveStroke(c, k.hatAccent, kLine, 1.5);
            c.Circle(HX, 74, 5, 0xE0445A);
            break;
        case Hat::FlowerCrown:
            for (int i = 0; i < 9; ++i) {
                double a = M_PI + i * M_PI / 8;
                double fx = HX + 52 * std::cos(a), fy = 122 + 44 * std::sin(a);
                uint32_t col = (i % 3 == 0) ? 0xFF6FA8 : (i % 3 == 1) ? 0xFFD34D : 0xC07CFF;
                for (int p = 0; p < 5; ++p) {
                    double b = p * 2 * M_PI / 5;
                    c.Circle(fx + 4.5 * std::cos(b), fy + 4.5 * std::sin(b), 4, col);
                }
                c.Circle(fx, fy, 3, 0xFFF3C0);
            }
            break;
        case Hat::Beanie:
            cairo_move_to(cr, 370, 104);
            cairo_curve_to(cr, 368, 52, 472, 52, 470, 104);
            cairo_close_path(cr);
            FillPreserveStroke(c, k.hatColour, kLine, 2);
            c.RoundRect(366, 96, 108, 14, 6);
            FillPreserveStroke(c, k.hatAccent, kLine, 2);
            c.Circle(HX, 58, 10, k.hatAccent);
            c.Ellipse(HX, 58, 10, 10);
            Stroke(c, kLine, 1.5);
            break;
        case Hat::TopHat:
            c.Ellipse(HX + 6, 84, 46, 9);
            FillPreserveStroke(c, k.hatColour, kLine, 2);
            c.RoundRect(HX - 22, 34, 56, 50, 4);
            FillPreserveStroke(c, k.hatColour, kLine, 2);
            c.Rect(HX - 21, 70, 54, 9, k.hatAccent);
            break;
        case Hat::NightCap:
            cairo_move_to(cr, 372, 100);
            cairo_curve_to(cr, 380, 50, 450, 40, 500, 82);
            cairo_curve_to(cr, 480, 74, 470, 80, 470, 100);
            cairo_close_path(cr);
            FillPreserveStroke(c, k.hatColour, kLine, 2);
            c.RoundRect(368, 94, 104, 12, 6);
            FillPreserveStroke(c, k.hatAccent, kLine, 1.5);
            c.Circle(502, 86, 9, 0xFFFFFF);
            c.Ellipse(502, 86, 9, 9);
            Stroke(c, kLine, 1.5);
            break;
        case Hat::Starfish:
            c.Star(452, 86, 15, 7, 5, 0.3);
            FillPreserveStroke(c, k.hatColour, kLine, 1.8);
            c.Circle(452, 86, 2, k.hatAccent);
            break;
        case Hat::PartyHat:
            cairo_move_to(cr, 392, 88);
            cairo_line_to(cr, 428, 22);
            cairo_line_to(cr, 454, 86);
            cairo_close_path(cr);
            cairo_save(cr);
            cairo_clip_preserve(cr);
            c.Rect(380, 20, 90, 70, k.hatColour);
            for (int i = 0; i < 5; ++i) {
                cairo_move_to(cr, 380, 40 + i * 16);
                cairo_line_to(cr, 470, 24 + i * 16);
                c.Colour(k.hatAccent);
                cairo_set_line_width(cr, 6);
                cairo_stroke(cr);
            }
            cairo_restore(cr);
            Stroke(c, kLine, 2);
            c.Circle(428, 22, 7, 0xFFD34D);
            break;
        case Hat::Crown:
            cairo_move_to(cr, 386, 90);
            cairo_line_to(cr, 382, 56);
            cairo_line_to(cr, 400, 72);
            cairo_line_to(cr, 420, 48);
            cairo_line_to(cr, 440, 72);
            cairo_line_to(cr, 458, 56);
            cairo_line_to(cr, 454, 90);
            cairo_close_path(cr);
            FillPreserveStroke(c, k.hatColour, 0x8A5A00, 2);
            c.Circle(420, 78, 4.5, 0xE0445A);
            c.Circle(400, 82, 3.5, 0x3C7BFF);
            c.Circle(440, 82, 3.5, 0x2EC45A);
            break;
    }
}

void DrawHead(Canvas& c, const Look& k, const Expression& e) {
    cairo_t* cr = c.cr();
    c.Rect(411, 168, 18, 24, kSkinShade);  // neck
    // hair behind
    c.Ellipse(HX, 118, 56, 56);
    FillPreserveStroke(c, kHair, kLine, 2);
    // ears
    for (double ex : {373.0, 467.0}) {
        c.Ellipse(ex, 136, 7, 10);
        FillPreserveStroke(c, kSkin, kLine, 1.6);
    }
    c.Ellipse(HX, 128, 46, 48);
    FillPreserveStroke(c, kSkin, kLine, 2);
    // bangs
    cairo_move_to(cr, 372, 120);
    cairo_curve_to(cr, 370, 70, 470, 70, 468, 120);
    cairo_curve_to(cr, 456, 104, 446, 100, 436, 108);
    cairo_curve_to(cr, 428, 96, 414, 96, 404, 106);
    cairo_curve_to(cr, 394, 98, 382, 104, 372, 120);
    cairo_close_path(cr);
    FillPreserveStroke(c, kHair, kLine, 2);
    cairo_move_to(cr, 392, 84);
    cairo_curve_to(cr, 404, 76, 420, 74, 436, 78);
    Stroke(c, kHairLight, 3);
    // cheeks and nose
    for (double bx : {395.0, 445.0}) {
        c.Ellipse(bx, 155, 7, 4);
        c.Colour(0xFF8FA0, 0.55);
        cairo_fill(cr);
    }
    cairo_move_to(cr, 418, 150);
    cairo_curve_to(cr, 419, 152, 421, 152, 422, 150);
    Stroke(c, kSkinShade - 0x202020, 1.4);
    DrawEye(c, kEyeLX, kEyeY, e.eyes, e.starEyes);
    DrawEye(c, kEyeRX, kEyeY, e.eyes, e.starEyes);
    DrawMouth(c, kMouthX, kMouthY, e.mouth);
    DrawHat(c, k);
}

}  // namespace

void DrawChild(Canvas& c, const Look& k, const Expression& e) {
    cairo_t* cr = c.cr();
    if (k.cape) {
        cairo_move_to(cr, 380, 190);
        cairo_line_to(cr, 460, 190);
        cairo_curve_to(cr, 480, 260, 496, 360, 506, 424);
        cairo_curve_to(cr, 460, 432, 380, 432, 334, 424);
        cairo_curve_to(cr, 344, 360, 360, 260, 380, 190);
        cairo_close_path(cr);
        FillPreserveStroke(c, 0xC4222E, 0xFFC94D, 3);
    }
    // a soft shadow under the feet
    c.Ellipse(HX, 452, 70, 8);
    c.Colour(0x000000, 0.18);
    cairo_fill(cr);
    DrawLegsAndBottom(c, k);
    DrawTop(c, k);
    DrawHead(c, k, e);
}

void DrawCostume(Canvas& c, const Look& k) {
    cairo_t* cr = c.cr();
    auto shape = [&] {
        c.RoundRect(366, 182, 108, 134, 16);
        if (k.cape) {
            cairo_move_to(cr, 376, 186);
            cairo_line_to(cr, 464, 186);
            cairo_line_to(cr, 512, 430);
            cairo_line_to(cr, 328, 430);
            cairo_close_path(cr);
        }
        switch (k.bottomKind) {
            case Bottom::Skirt:
                cairo_move_to(cr, 370, 286);
                cairo_line_to(cr, 470, 286);
                cairo_line_to(cr, 494, 372);
                cairo_line_to(cr, 346, 372);
                cairo_close_path(cr);
                [[fallthrough]];
            case Bottom::Shorts:
            case Bottom::Trousers:
                c.RoundRect(377, 290, 44, 146, 10);
                c.RoundRect(419, 290, 44, 146, 10);
                break;
            case Bottom::Tail:
                cairo_move_to(cr, 372, 290);
                cairo_line_to(cr, 468, 290);
                cairo_curve_to(cr, 472, 352, 452, 404, 434, 432);
                cairo_line_to(cr, 406, 432);
                cairo_curve_to(cr, 388, 404, 368, 352, 372, 290);
                cairo_close_path(cr);
                break;
        }
    };
    // outline: the shape and the sleeves a little larger, in the darkest grey
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    shape();
    c.Colour(0x4A4E56);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_set_line_width(cr, 37);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 388, 204);
    cairo_line_to(cr, 350, 284);
    cairo_move_to(cr, 452, 204);
    cairo_line_to(cr, 490, 284);
    cairo_stroke(cr);
    // the cloth: a soft top-down shade
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 180, 0, 440);
    cairo_pattern_add_color_stop_rgb(p, 0, 0xC4 / 255.0, 0xC8 / 255.0, 0xCF / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, 0x8E / 255.0, 0x93 / 255.0, 0x9C / 255.0);
    shape();
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_set_line_width(cr, 31);
    cairo_move_to(cr, 388, 204);
    cairo_line_to(cr, 350, 284);
    cairo_move_to(cr, 452, 204);
    cairo_line_to(cr, 490, 284);
    cairo_set_source(cr, p);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);

    // details
    const uint32_t seam = 0x6E737C, light = 0xDDE0E6;
    auto line = [&](double x0, double y0, double x1, double y1, uint32_t col, double w) {
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        Stroke(c, col, w);
    };
    // cuffs
    line(338, 272, 362, 284, seam, 2);
    line(478, 284, 502, 272, seam, 2);
    // collar
    cairo_move_to(cr, 398, 184);
    cairo_line_to(cr, 420, 204);
    cairo_line_to(cr, 442, 184);
    Stroke(c, seam, 2.2);
    switch (k.costumeStyle % 5) {
        case 0:
            line(420, 204, 420, 312, seam, 1.6);
            for (double y : {226.0, 252.0, 278.0}) {
                c.Circle(427, y, 3, seam);
                c.Circle(426.5, y - 0.5, 1.5, light);
            }
            c.RoundRect(382, 262, 24, 20, 3);
            Stroke(c, seam, 1.6);
            c.RoundRect(434, 262, 24, 20, 3);
            Stroke(c, seam, 1.6);
            break;
        case 1:
            line(420, 204, 420, 312, seam, 2.4);
            for (double y = 210; y < 310; y += 6) line(417, y, 423, y, light, 1);
            c.Circle(420, 212, 3, light);
            break;
        case 2:
            c.Rect(368, 286, 104, 10, 0x7A7F88);
            c.RoundRect(412, 284, 16, 14, 2);
            Stroke(c, light, 1.6);
            c.RoundRect(386, 218, 22, 22, 2);
            cairo_set_dash(cr, (const double[]){3, 2}, 2, 0);
            Stroke(c, seam, 1.2);
            c.RoundRect(424, 364, 20, 18, 2);
            Stroke(c, seam, 1.2);
            cairo_set_dash(cr, nullptr, 0, 0);
            break;
        case 3:
            for (double y : {224.0, 248.0, 272.0})
                for (double x : {404.0, 436.0}) {
                    c.Circle(x, y, 3.2, seam);
                    c.Circle(x - 0.5, y - 0.5, 1.5, light);
                }
            c.Rect(368, 290, 104, 8, 0x7A7F88);
            break;
        default:
            c.RoundRect(392, 252, 56, 34, 8);
            Stroke(c, seam, 1.6);
            line(410, 196, 408, 226, light, 1.6);
            line(430, 196, 432, 226, light, 1.6);
            break;
    }
    if (k.bottomKind != Bottom::Tail && !k.cape) {
        line(420, 330, 420, 436, 0x5E636C, 2);  // between the legs
        cairo_set_dash(cr, (const double[]){4, 3}, 2, 0);
        line(386, 380, 412, 380, seam, 1.2);
        line(428, 380, 454, 380, seam, 1.2);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    // a sheen on the left of the body
    cairo_move_to(cr, 374, 200);
    cairo_curve_to(cr, 372, 240, 372, 270, 376, 300);
    c.Colour(0xFFFFFF, 0.35);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

}  // namespace kiv::demo
