#include "canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

namespace kiv::demo {

namespace {
double Ch(uint32_t rgb, int shift) { return double((rgb >> shift) & 255) / 255.0; }

// The same glyph shapes on every machine that has the same fonts: no subpixel order, no
// hinting decisions left to the environment.
void FixFontOptions(PangoContext* ctx) {
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(ctx, o);
    cairo_font_options_destroy(o);
}

PangoLayout* MakeLayout(cairo_t* cr, const std::string& text, const std::string& font) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    FixFontOptions(pango_layout_get_context(layout));
    pango_cairo_context_set_resolution(pango_layout_get_context(layout), 72.0);
    pango_layout_context_changed(layout);
    PangoFontDescription* desc = pango_font_description_from_string(font.c_str());
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    pango_layout_set_text(layout, text.c_str(), -1);
    return layout;
}
}  // namespace

Canvas::Canvas(int w, int h) : w_(w), h_(h) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cr_ = cairo_create(surface_);
}

Canvas::Canvas(cairo_surface_t* target, int w, int h) : w_(w), h_(h), surface_(target) { cr_ = cairo_create(surface_); }

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::Colour(uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr_, Ch(rgb, 16), Ch(rgb, 8), Ch(rgb, 0), alpha);
}

void Canvas::Fill(uint32_t rgb) {
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    Colour(rgb);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

void Canvas::Rect(double x, double y, double w, double h, uint32_t rgb) {
    Colour(rgb);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
}

void Canvas::RoundRect(double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
}

void Canvas::Circle(double x, double y, double r, uint32_t rgb) {
    Colour(rgb);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr_);
}

void Canvas::Ellipse(double x, double y, double rx, double ry) {
    cairo_save(cr_);
    cairo_translate(cr_, x, y);
    cairo_scale(cr_, rx, ry);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr_);
}

void Canvas::VerticalGradient(double x, double y, double w, double h, uint32_t top, uint32_t bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, Ch(top, 16), Ch(top, 8), Ch(top, 0));
    cairo_pattern_add_color_stop_rgb(p, 1, Ch(bottom, 16), Ch(bottom, 8), Ch(bottom, 0));
    cairo_set_source(cr_, p);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
    cairo_pattern_destroy(p);
}

void Canvas::Star(double x, double y, double outer, double inner, int points, double turn) {
    cairo_new_sub_path(cr_);
    for (int i = 0; i < points * 2; ++i) {
        double a = turn - M_PI / 2 + i * M_PI / points;
        double r = (i % 2) ? inner : outer;
        if (i == 0)
            cairo_move_to(cr_, x + r * std::cos(a), y + r * std::sin(a));
        else
            cairo_line_to(cr_, x + r * std::cos(a), y + r * std::sin(a));
    }
    cairo_close_path(cr_);
}

void Canvas::TextCentred(const std::string& text, const std::string& font, double x, double y, uint32_t rgb) {
    PangoLayout* layout = MakeLayout(cr_, text, font);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    Colour(rgb);
    cairo_move_to(cr_, std::round(x - ink.x - ink.width / 2.0), std::round(y - ink.y - ink.height / 2.0));
    pango_cairo_show_layout(cr_, layout);
    g_object_unref(layout);
}

void Canvas::TextOutlined(const std::string& text, const std::string& font, double x, double y, uint32_t rgb,
                          uint32_t outline, double width) {
    PangoLayout* layout = MakeLayout(cr_, text, font);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    cairo_move_to(cr_, std::round(x - ink.x - ink.width / 2.0), std::round(y - ink.y - ink.height / 2.0));
    pango_cairo_layout_path(cr_, layout);
    Colour(outline);
    cairo_set_line_width(cr_, width);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr_);
    Colour(rgb);
    cairo_fill(cr_);
    g_object_unref(layout);
}

double Canvas::TextWidth(const std::string& text, const std::string& font) {
    Canvas probe(4, 4);
    PangoLayout* layout = MakeLayout(probe.cr(), text, font);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    g_object_unref(layout);
    return logical.width;
}

Image Canvas::ToImage() const {
    cairo_surface_flush(surface_);
    Image img(w_, h_, 0);
    const uint8_t* data = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < h_; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < w_; ++x) {
            uint32_t p = row[x];
            uint32_t a = p >> 24;
            if (a == 0) {
                img.At(x, y) = 0;
                continue;
            }
            auto un = [&](int shift) { return std::min<uint32_t>(255, (((p >> shift) & 255) * 255 + a / 2) / a); };
            img.At(x, y) = (a << 24) | (un(16) << 16) | (un(8) << 8) | un(0);
        }
    }
    return img;
}

Image Canvas::ToOpaque(uint32_t background) const {
    Image img = ToImage();
    for (uint32_t& p : img.px) {
        uint32_t a = p >> 24;
        auto mix = [&](int shift) {
            uint32_t f = (p >> shift) & 255, b = (background >> shift) & 255;
            return (f * a + b * (255 - a) + 127) / 255;
        };
        p = 0xFF000000u | (mix(16) << 16) | (mix(8) << 8) | mix(0);
    }
    return img;
}

void Canvas::Draw(const Image& img, int x, int y) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.width, img.height);
    uint8_t* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int j = 0; j < img.height; ++j) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + size_t(j) * stride);
        for (int i = 0; i < img.width; ++i) {
            uint32_t p = img.At(i, j), a = p >> 24;
            auto pre = [&](int shift) { return (((p >> shift) & 255) * a + 127) / 255; };
            row[i] = (a << 24) | (pre(16) << 16) | (pre(8) << 8) | pre(0);
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_set_source_surface(cr_, s, x, y);
    cairo_paint(cr_);
    cairo_surface_destroy(s);
}

}  // namespace kiv::demo
