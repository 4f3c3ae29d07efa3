#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "art.h"
#include "canvas.h"
#include "character.h"
#include "demo_tables.h"
#include "scenes.h"

namespace kiv::demo {

namespace {

std::string Name(const char* prefix, int number, int digits, const char* ext) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%0*d%s", prefix, digits, number, ext);
    return buf;
}

std::vector<uint32_t> GreyPalette() {
    std::vector<uint32_t> pal{0x000000};
    for (int i = 0; i < 15; ++i) {
        auto ch = [&](int a, int b) { return uint32_t(a + (b - a) * i / 14); };
        pal.push_back((ch(0x3A, 0xE4) << 16) | (ch(0x3D, 0xE7) << 8) | ch(0x44, 0xEC));
    }
    return pal;
}

Image Scene(int s, const Expression& e) {
    Canvas c(640, 480);
    DrawScenery(c, s);
    DrawRefillPlace(c, s);
    DrawChild(c, StageLook(s), e);
    return c.ToOpaque(0);
}

void WriteCels(const std::string& dir, int s, int set, bool starEyes) {
    for (int i = 1; i <= 4; ++i) {
        Image full = Scene(s, Expression{i, i, starEyes});
        WriteBmp24(dir + Name("F", set * 10 + i, 3, ".bmp"), full.Crop(kCelLeft, kCelTop, kCelWidth, kCelHeight));
    }
}

// The upper picture: a BMP whose pure black is its transparency, or a JPEG beside a mask file
// (white where the picture shows).
void WriteUpperPicture(const std::string& dir, int s, const StageDesign& d) {
    Canvas c(640, 480);
    if (s == 9)
        DrawCurtain(c);
    else
        DrawCostume(c, StageLook(s));
    Image art = c.ToImage();
    if (!d.maskFile) {
        WriteBmpPalettized(dir + Name("D", d.picture, 2, ".bmp"), art, GreyPalette());
        return;
    }
    Image mask(640, 480, Rgb(0, 0, 0));
    for (size_t i = 0; i < art.px.size(); ++i)
        if ((art.px[i] >> 24) >= 128) mask.px[i] = Rgb(255, 255, 255);
    WriteBmpMono(dir + Name("D", d.picture, 2, "mask.bmp"), mask);
    WriteJpeg(dir + Name("D", d.picture, 2, ".jpg"), c.ToOpaque(s == 9 ? 0x6A0A1A : 0x9A9FA8), 88);
}

}  // namespace

void WriteStagePictures(const std::string& dir) {
    for (int s = 0; s < kStages; ++s) {
        const StageDesign& d = kStageDesigns[s];
        WriteJpeg(dir + Name("C", d.back, 2, ".jpg"), Scene(s, Expression{1, 1}), 90);
        WriteCels(dir, s, d.celSet, false);
        if (d.bonusCels) WriteCels(dir, s, d.bonusCels, true);
        WriteUpperPicture(dir, s, d);
    }
    for (int kind = 1; kind <= 3; ++kind) {
        Canvas c(120, 40);
        DrawStamps(c, kind);
        WriteBmpMono(dir + Name("M", kind, 2, ".bmp"), c.ToOpaque(0xFFFFFF));
    }
    {
        Canvas c(640, 480);
        DrawBunting(c);
        WriteBmpPalettized(dir + Name("D", kBunting, 2, ".bmp"), c.ToImage(),
                           {0x000000, 0xFF6FA8, 0xFFD34D, 0x4DD6FF, 0x7CD957, 0xC07CFF, 0x6A4B2A, 0xB07A8A, 0xA89040});
    }
    {
        Canvas c(640, 480);
        DrawSparkles(c);
        WriteBmpPalettized(dir + Name("D", kSparkles, 2, ".bmp"), c.ToImage(),
                           {0x000000, 0xFFE066, 0xFFFFFF, 0x9BE7FF, 0xFFB3E0, 0x807040, 0x606060, 0x506E7A, 0x7A5A70});
    }
    for (int s = 0; s < kStages; ++s) {
        const StageDesign& d = kStageDesigns[s];
        if (d.insert.B != 0) {
            Canvas c(d.insert.R - d.insert.L, d.insert.B - d.insert.T);
            DrawGardenPainting(c);
            WriteJpeg(dir + Name("E", s + 1, 2, ".jpg"), c.ToOpaque(0), 90);
        }
        if (d.bonus.R != 0) {
            Canvas c(d.bonus.R - d.bonus.L, d.bonus.B - d.bonus.T);
            if (d.bonusCels)
                DrawSnowCard(c);
            else
                DrawPartyCard(c);
            WriteJpeg(dir + Name("G", s + 1, 2, ".jpg"), c.ToOpaque(0), 90);
        }
    }
}

void WriteEndingPictures(const std::string& dir) {
    Look look = StageLook(9);
    look.hat = Hat::None;
    auto portrait = [&](const Expression& e) {
        Canvas c(640, 480);
        cairo_t* cr = c.cr();
        c.VerticalGradient(0, 0, 640, 480, 0x2A1B5E, 0xFF9A6B);
        for (int i = 0; i < 40; ++i) {
            double x = (i * 97) % 640, y = (i * 53) % 260;
            c.Circle(x, y, (i % 3) * 0.5 + 0.8, 0xFFFFFF);
        }
        c.Star(524, 84, 7, 2.5, 4, 0);
        c.Colour(0xFFF3B0);
        cairo_fill(cr);
        c.Circle(320, 520, 250, 0xFFE6A8);  // a warm glow behind the child
        c.Circle(320, 520, 200, 0xFFF3CF);
        cairo_save(cr);
        cairo_translate(cr, 320, 180);
        cairo_scale(cr, 2, 2);
        cairo_translate(cr, -kHeadX, -kHeadY);
        DrawChild(c, look, e);
        cairo_restore(cr);
        const uint32_t cols[5] = {0xFF6FA8, 0xFFD34D, 0x4DD6FF, 0x7CD957, 0xC07CFF};
        for (int i = 0; i < 36; ++i) {
            double x = (i * 137) % 640, y = 20 + (i * 71) % 440;
            if (x > 200 && x < 440 && y < 300) continue;
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_rotate(cr, i * 0.7);
            c.Rect(-3, -5, 6, 10, cols[i % 5]);
            cairo_restore(cr);
        }
        c.RoundRect(196, 420, 248, 44, 12);
        c.Colour(0x43307F, 0.9);
        cairo_fill(cr);
        c.TextOutlined("SEE YOU AGAIN!", "DejaVu Sans Bold 20", 320, 442, 0xFFD34D, 0x1E1240, 3);
        return c.ToOpaque(0);
    };
    Image end1 = portrait(Expression{1, 3});
    WriteJpeg(dir + "End1.jpg", end1, 90);
    Image blink = portrait(Expression{3, 3});
    WriteBmp24(dir + "End2.bmp", blink.Crop(kEndWink.L, kEndWink.T, kEndWink.R - kEndWink.L, kEndWink.B - kEndWink.T));
    Image twinkle = end1.Crop(kEndStar.L, kEndStar.T, kEndStar.R - kEndStar.L, kEndStar.B - kEndStar.T);
    {
        Canvas c(twinkle.width, twinkle.height);
        c.Draw(twinkle, 0, 0);
        double cx = 524 - kEndStar.L, cy = 84 - kEndStar.T;
        cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, 22);
        cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 0.85, 0.9);
        cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 0.85, 0);
        cairo_set_source(c.cr(), p);
        cairo_paint(c.cr());
        cairo_pattern_destroy(p);
        c.Star(cx, cy, 22, 3, 4, 0);
        c.Colour(0xFFFFFF);
        cairo_fill(c.cr());
        c.Star(cx, cy, 12, 2, 4, M_PI / 4);
        c.Colour(0xFFF3B0);
        cairo_fill(c.cr());
        WriteBmp24(dir + "End3.bmp", c.ToOpaque(0));
    }
}

}  // namespace kiv::demo
