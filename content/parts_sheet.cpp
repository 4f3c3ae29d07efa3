#include "art.h"

#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "demo_tables.h"
#include "pixel_font.h"
#include "scenes.h"

namespace kiv::demo {

namespace {

constexpr uint32_t kInk = 0x2B1B0E;  // outlines
constexpr uint32_t kCream = 0xFFF3D6;
constexpr uint32_t kPurple = 0x43307F;
constexpr uint32_t kPink = 0xFF6FA8;
constexpr uint32_t kGold = 0xFFD34D;
constexpr uint32_t kCyan = 0x4DD6FF;
constexpr uint32_t kDigitColour = 0xFFE27A;
constexpr uint32_t kLetterColour = 0xF4F4FF;

void DrawGlyph(Image& img, int x, int y, char c, uint32_t colour) {
    const PixelGlyph* g = FindPixelGlyph(c);
    if (!g) return;
    for (int r = 0; r < 6; ++r)
        for (int k = 0; k < 5; ++k)
            if (g->rows[r][k] == '#') img.At(x + k, y + r) = colour;
}

void Outline(Canvas& c, uint32_t colour, double width) {
    c.Colour(colour);
    cairo_set_line_width(c.cr(), width);
    cairo_stroke(c.cr());
}

// The two menu markers; the closed looks go into the mask sheet at the same places.
void DrawMarker(Canvas& c, double x, bool confirm, bool closed) {
    cairo_t* cr = c.cr();
    double cx = x + 12.5, cy = 12.5;
    if (!confirm) {
        c.Circle(cx, cy, 11, closed ? 0x6A6A72 : kGold);
        c.Circle(cx, cy, 7.5, 0x000000);
        c.Circle(cx, cy, 4, closed ? 0x8A8A92 : kPink);
    } else {
        c.Circle(cx, cy, 11.5, closed ? 0x55555C : 0x2EC45A);
        c.Circle(cx, cy, 9.5, closed ? 0x77777F : 0x58E07E);
    }
    if (closed) {  // a small padlock
        c.Colour(0x1A1A1E);
        cairo_set_line_width(cr, 2);
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx, cy - 2, 3.5, M_PI, 2 * M_PI);
        cairo_stroke(cr);
        c.Colour(0xE8E8EE);
        c.RoundRect(cx - 5, cy - 2, 10, 8, 1.5);
        cairo_fill(cr);
        c.Circle(cx, cy + 1.5, 1.2, 0x1A1A1E);
    } else if (confirm) {
        c.Colour(0xFFFFFF);
        cairo_set_line_width(cr, 3);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, cx - 5, cy);
        cairo_line_to(cr, cx - 1.5, cy + 4);
        cairo_line_to(cr, cx + 5.5, cy - 4.5);
        cairo_stroke(cr);
    }
}

// The tag panel, 68 x 25: a luggage tag with the gauge, the timer window and the close button.
void DrawTag(Canvas& c, double x, double y) {
    cairo_t* cr = c.cr();
    c.RoundRect(x + 1, y + 0.5, 66, 23.5, 5);
    c.Colour(kCream);
    cairo_fill_preserve(cr);
    Outline(c, kInk, 1.5);
    c.Circle(x + 4, y + 19, 1.8, 0x9A7B55);  // eyelet
    c.Rect(x + 10, y + 1, 42, 4, kInk);      // gauge frame
    c.Rect(x + 11, y + 2, 40, 2, 0x4A3A2A);
    c.RoundRect(x + 7, y + 6, 44, 10, 2);  // timer window
    c.Colour(0x000000);
    cairo_fill(cr);
    c.Circle(x + 60, y + 6.5, 5.2, 0xE0445A);  // close button
    c.Colour(0xFFFFFF);
    cairo_set_line_width(cr, 1.6);
    cairo_move_to(cr, x + 57.8, y + 4.3);
    cairo_line_to(cr, x + 62.2, y + 8.7);
    cairo_move_to(cr, x + 62.2, y + 4.3);
    cairo_line_to(cr, x + 57.8, y + 8.7);
    cairo_stroke(cr);
    for (int i = 0; i < 5; ++i) c.Circle(x + 14 + i * 8, y + 20, 1.1, i % 2 ? kPink : 0x8FBF4F);
}

void DrawButton(Canvas& c, double x, double y, double w, double h, uint32_t top, uint32_t bottom,
                const std::string& label, uint32_t textColour) {
    cairo_t* cr = c.cr();
    cairo_save(cr);
    c.RoundRect(x + 0.5, y + 0.5, w - 1, h - 1, 4);
    cairo_clip_preserve(cr);
    c.VerticalGradient(x, y, w, h, top, bottom);
    cairo_restore(cr);
    c.RoundRect(x + 0.5, y + 0.5, w - 1, h - 1, 4);
    Outline(c, 0xFFFFFF, 1);
    c.TextCentred(label, "DejaVu Sans Bold 9", x + w / 2, y + h / 2, textColour);
}

void DrawTitlePanel(Canvas& c) {
    cairo_t* cr = c.cr();
    cairo_save(cr);
    c.RoundRect(1, 50, 150, 27, 6);
    cairo_clip_preserve(cr);
    c.VerticalGradient(0, 50, 152, 28, 0x6A4BC2, kPurple);
    cairo_restore(cr);
    c.RoundRect(1.5, 50.5, 149, 26, 6);
    Outline(c, kGold, 1);
    c.TextOutlined("KIV", "DejaVu Sans Bold 19", 36, 63.5, kGold, 0x1E1240, 3);
    c.TextCentred("erase &", "DejaVu Sans Bold 9", 103, 58.5, 0xFFFFFF);
    c.TextCentred("reveal", "DejaVu Sans Bold 9", 103, 69.5, kCyan);
    c.Star(140, 56, 4, 1.6, 4, 0);
    c.Colour(0xFFFFFF);
    cairo_fill(cr);
}

void DrawChallengeButton(Canvas& c) {
    // The program blacks out x 114..120 in rows 81..92 and the columns 114 and 151, so the
    // button lives in x 121..150.
    cairo_t* cr = c.cr();
    cairo_save(cr);
    c.RoundRect(121, 79, 29, 27, 5);
    cairo_clip_preserve(cr);
    c.VerticalGradient(121, 79, 29, 27, 0xFF9A3C, 0xE0445A);
    cairo_restore(cr);
    c.RoundRect(121.5, 79.5, 28, 26, 5);
    Outline(c, 0xFFFFFF, 1);
    c.Star(135.5, 89, 7.5, 3.2, 5, 0);
    c.Colour(kGold);
    cairo_fill_preserve(cr);
    Outline(c, 0x7A2A10, 1);
    c.TextCentred("ALL", "DejaVu Sans Bold 7", 135.5, 100.5, 0xFFFFFF);
}

// One letter of the logo, stretched to fill its cell.
void DrawLogoLetter(Canvas& c, char letter, double left, double right, double top, uint32_t colourTop,
                    uint32_t colourBottom) {
    cairo_t* cr = c.cr();
    double cellW = right - left - 1.0, cellH = 24.0;
    // Draw the letter large, then area-average it into the cell.
    std::string s(1, letter);
    Canvas glyph(64, 64);
    glyph.TextCentred(s, "DejaVu Sans Condensed Bold 40", 32, 32, 0xFFFFFF);
    Image g = glyph.ToImage();
    int x0 = 64, y0 = 64, x1 = -1, y1 = -1;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((g.At(x, y) >> 24) > 20) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    double sx = cellW / (x1 - x0 + 1), sy = cellH / (y1 - y0 + 1);
    for (int j = 0; j < int(cellH); ++j) {
        double f = j / (cellH - 1);
        auto mix = [&](int shift) {
            return uint32_t(std::lround(((colourTop >> shift) & 255) * (1 - f) + ((colourBottom >> shift) & 255) * f));
        };
        uint32_t col = (mix(16) << 16) | (mix(8) << 8) | mix(0);
        for (int i = 0; i < int(cellW); ++i) {
            double gx0 = x0 + i / sx, gx1 = x0 + (i + 1) / sx, gy0 = y0 + j / sy, gy1 = y0 + (j + 1) / sy;
            double sum = 0, n = 0;
            for (double gy = gy0; gy < gy1; gy += 0.5)
                for (double gx = gx0; gx < gx1; gx += 0.5) {
                    int px = std::clamp(int(gx), 0, 63), py = std::clamp(int(gy), 0, 63);
                    sum += (g.At(px, py) >> 24) / 255.0;
                    n += 1;
                }
            double a = n > 0 ? sum / n : 0;
            if (a <= 0.02) continue;
            c.Colour(col, std::min(1.0, a));
            cairo_rectangle(cr, left + 0.5 + i, top + 1 + j, 1, 1);
            cairo_fill(cr);
        }
    }
}

}  // namespace

Sprite SplitSprite(const Image& art) {
    Sprite s{Image(art.width, art.height, Rgb(0, 0, 0)), Image(art.width, art.height, Rgb(255, 255, 255))};
    for (int y = 0; y < art.height; ++y)
        for (int x = 0; x < art.width; ++x) {
            uint32_t p = art.At(x, y), a = p >> 24;
            if (a < 128) continue;
            auto ch = [&](int shift) { return ((p >> shift) & 255) * a / 255; };
            s.picture.At(x, y) = Rgb(int(ch(16)), int(ch(8)), int(ch(0)));
            s.mask.At(x, y) = Rgb(0, 0, 0);
        }
    return s;
}

Sprite BuildPartsSheet() {
    constexpr int W = 272, H = 112;
    // Masked sprites: the ink pot and the tag.
    Canvas sprites(W, H);
    DrawInkPotIcon(sprites, 54, 0);
    DrawTag(sprites, 91, 0);
    Sprite masked = SplitSprite(sprites.ToImage());

    // Opaque pieces on black.
    Canvas c(W, H);
    c.Fill(0x000000);
    DrawMarker(c, 0, false, false);
    DrawMarker(c, 27, true, false);
    DrawTitlePanel(c);
    DrawChallengeButton(c);
    DrawButton(c, 0, 95, 53, 12, 0x7FE3FF, 0x2BA8D8, "HELP", 0x10253A);
    DrawButton(c, 57, 95, 53, 12, 0xFF9CC4, 0xE0447E, "END", 0x3A0A1E);
    for (int r = 0; r < 3; ++r) {
        const auto& b = kOpeningScript[r];
        const uint32_t tops[3] = {kGold, 0xFFFFFF, kCyan}, bottoms[3] = {0xFF7A3C, 0xC9B8FF, 0x3C7BFF};
        for (size_t i = 0; i + 1 < b.size() && b[i + 1] != 255 && i < kLogoRows[r].size(); ++i)
            DrawLogoLetter(c, kLogoRows[r][i], 167 + b[i], 167 + b[i + 1], 32 * r, tops[r], bottoms[r]);
    }
    Image sheet = c.ToOpaque(0);
    // the sprites, on the sheet where their masks are black
    for (int y = 0; y < H; ++y)
        for (int x = 54; x < 160; ++x)
            if (masked.mask.At(x, y) == Rgb(0, 0, 0)) sheet.At(x, y) = masked.picture.At(x, y);

    // Glyph rows: cells 6 pixels apart, glyphs in rows 36..41 and 43..48.
    for (int y = 35; y < 50; ++y)
        for (int x = 0; x < 168; ++x) sheet.At(x, y) = Rgb(0, 0, 0);
    for (size_t i = 0; i < kDigitRow.size(); ++i)
        DrawGlyph(sheet, int(6 * i), 36, kDigitRow[i], 0xFF000000u | kDigitColour);
    for (size_t i = 0; i < kLetterRow.size(); ++i)
        DrawGlyph(sheet, int(6 * i), 43, kLetterRow[i], 0xFF000000u | kLetterColour);
    // The timer window's colon between the third and the fourth digit.
    sheet.At(123, 9) = 0xFF000000u | kDigitColour;
    sheet.At(123, 12) = 0xFF000000u | kDigitColour;

    // Gauge source rows: filling colour left of x 225, empty colour from there; gold when full.
    for (int x = 185; x < 265; ++x) {
        bool filled = x < 225;
        sheet.At(x, 104) = filled ? Rgb(255, 240, 160) : Rgb(0, 0, 0);
        sheet.At(x, 105) = filled ? Rgb(255, 200, 40) : Rgb(0, 0, 0);
        sheet.At(x, 106) = filled ? Rgb(150, 245, 140) : Rgb(74, 58, 42);
        sheet.At(x, 107) = filled ? Rgb(60, 200, 90) : Rgb(58, 42, 26);
    }
    // The black patch that scenes stretch over an area.
    for (int y = 90; y < 95; ++y)
        for (int x = 0; x < 5; ++x) sheet.At(x, y) = Rgb(0, 0, 0);

    // The mask sheet: white, the sprites' shapes black, and the closed markers.
    Canvas m(W, H);
    m.Fill(0xFFFFFF);
    m.Rect(0, 0, 53, 25, 0x000000);
    DrawMarker(m, 0, false, true);
    DrawMarker(m, 27, true, true);
    Image mask = m.ToOpaque(0xFFFFFF);
    for (int y = 0; y < H; ++y)
        for (int x = 54; x < 160; ++x) mask.At(x, y) = masked.mask.At(x, y);
    return {sheet, mask};
}

// ---- The emblem: eight slices of a ring around (319.5, 240.5), one per stage. ----

struct SliceRow {
    int srcLeft, srcRight, left, top;
};
constexpr SliceRow kSlices[8] = {{0, 64, 287, 163},    {64, 142, 318, 163},  {142, 219, 319, 208},
                                 {219, 297, 318, 239}, {297, 361, 287, 240}, {361, 439, 242, 239},
                                 {439, 516, 242, 208}, {516, 594, 242, 163}};
constexpr double kEmblemCx = 319.5, kEmblemCy = 240.5, kEmblemInner = 24, kEmblemOuter = 75,
                 kEmblemGap = 2.0 * M_PI / 180;
constexpr uint32_t kSliceColours[8][2] = {{0x7CD957, 0x2E9A3A}, {0x63C8FF, 0x1F6FD1}, {0xFF9BD0, 0xD94B96},
                                          {0xE6F4FF, 0x8DB6E0}, {0xFF6B5B, 0xC4222E}, {0x8E7BFF, 0x3A2C9E},
                                          {0x4FE0C8, 0x128A80}, {0xFFC04D, 0xE0701F}};

void PathEmblemSlice(cairo_t* cr, int slice) {
    const double a0 = (slice * 45 - 22.5) * M_PI / 180 + kEmblemGap, a1 = (slice * 45 + 22.5) * M_PI / 180 - kEmblemGap;
    cairo_new_path(cr);
    // angles measured clockwise from straight up
    cairo_arc(cr, kEmblemCx, kEmblemCy, kEmblemOuter, a0 - M_PI / 2, a1 - M_PI / 2);
    cairo_arc_negative(cr, kEmblemCx, kEmblemCy, kEmblemInner, a1 - M_PI / 2, a0 - M_PI / 2);
    cairo_close_path(cr);
}

void PaintEmblemSlice(Canvas& c, int slice, bool closed, bool label) {
    cairo_t* cr = c.cr();
    const double mid = (slice * 45) * M_PI / 180, lr = 50;
    const double lx = kEmblemCx + lr * std::sin(mid), ly = kEmblemCy - lr * std::cos(mid);
    cairo_pattern_t* p =
        cairo_pattern_create_radial(kEmblemCx, kEmblemCy, kEmblemInner, kEmblemCx, kEmblemCy, kEmblemOuter);
    const uint32_t inner = closed ? 0x3A3A44 : kSliceColours[slice][1];
    const uint32_t outer = closed ? 0x5A5A66 : kSliceColours[slice][0];
    cairo_pattern_add_color_stop_rgb(p, 0, ((inner >> 16) & 255) / 255.0, ((inner >> 8) & 255) / 255.0,
                                     (inner & 255) / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, ((outer >> 16) & 255) / 255.0, ((outer >> 8) & 255) / 255.0,
                                     (outer & 255) / 255.0);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    c.Colour(closed ? 0x8A8A96 : 0xFFFFFF, closed ? 1.0 : 0.85);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    if (!label) return;
    if (!closed) {
        c.TextOutlined(std::to_string(slice + 1), "DejaVu Sans Bold 17", lx, ly, 0xFFFFFF, 0x202040, 3);
    } else {
        c.Colour(0x9A9AA6);
        cairo_set_line_width(cr, 2.2);
        cairo_new_sub_path(cr);
        cairo_arc(cr, lx, ly - 3, 4.5, M_PI, 2 * M_PI);
        cairo_stroke(cr);
        c.Colour(0xB8B8C4);
        c.RoundRect(lx - 6.5, ly - 3, 13, 10, 2);
        cairo_fill(cr);
        c.Circle(lx, ly + 1.5, 1.5, 0x3A3A44);
    }
}

EmblemSheets BuildEmblemSheets() {
    constexpr int W = 600, H = 80;
    Canvas open(W, H), closed(W, H), shape(W, H);
    for (int a = 0; a < 8; ++a) {
        const SliceRow& s = kSlices[a];
        // The slice drawn where it rests on the screen, seen through its strip of the sheet.
        auto path = [&](Canvas& c) {
            cairo_t* cr = c.cr();
            cairo_save(cr);
            cairo_rectangle(cr, s.srcLeft, 0, s.srcRight - s.srcLeft, 78);
            cairo_clip(cr);
            cairo_translate(cr, s.srcLeft - s.left, -s.top);
            PathEmblemSlice(cr, a);
        };

        path(shape);
        shape.Colour(0xFFFFFF);
        cairo_fill(shape.cr());
        cairo_restore(shape.cr());

        for (int look = 0; look < 2; ++look) {
            Canvas& c = look == 0 ? open : closed;
            path(c);
            PaintEmblemSlice(c, a, look == 1);
            cairo_restore(c.cr());
        }
    }
    EmblemSheets out;
    Image shapeImg = shape.ToImage();
    Image o = open.ToImage(), cl = closed.ToImage();
    out.open = Image(W, H, Rgb(0, 0, 0));
    out.closed = Image(W, H, Rgb(0, 0, 0));
    out.mask = Image(W, H, Rgb(255, 255, 255));
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if ((shapeImg.At(x, y) >> 24) < 128) continue;
            out.mask.At(x, y) = Rgb(0, 0, 0);
            auto opaque = [](uint32_t p) {
                uint32_t a = p >> 24;
                return Rgb(int(((p >> 16) & 255) * a / 255), int(((p >> 8) & 255) * a / 255), int((p & 255) * a / 255));
            };
            out.open.At(x, y) = opaque(o.At(x, y));
            out.closed.At(x, y) = opaque(cl.At(x, y));
        }
    return out;
}

}  // namespace kiv::demo
