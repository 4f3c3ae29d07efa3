#pragma once

#include <cairo.h>

#include <string>

#include "image_files.h"

namespace kiv::demo {

// A Cairo drawing surface with the few helpers the pictures need. Colours are 0xRRGGBB.
class Canvas {
public:
    Canvas(int w, int h);  // transparent
    // Draws on another surface (an SVG file, say), which the canvas then owns.
    Canvas(cairo_surface_t* target, int w, int h);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    int Width() const { return w_; }
    int Height() const { return h_; }

    void Colour(uint32_t rgb, double alpha = 1.0);
    void Fill(uint32_t rgb);  // the whole surface
    void Rect(double x, double y, double w, double h, uint32_t rgb);
    void RoundRect(double x, double y, double w, double h, double r);  // path only
    void Circle(double x, double y, double r, uint32_t rgb);
    void Ellipse(double x, double y, double rx, double ry);  // path only
    void VerticalGradient(double x, double y, double w, double h, uint32_t top, uint32_t bottom);
    void Star(double x, double y, double outer, double inner, int points, double turn);  // path only
    // Text with Pango: font like "DejaVu Sans Bold 12"; (x, y) is the centre of the ink.
    void TextCentred(const std::string& text, const std::string& font, double x, double y, uint32_t rgb);
    void TextOutlined(const std::string& text, const std::string& font, double x, double y, uint32_t rgb,
                      uint32_t outline, double width);

    // The advance width of a text in pixels.
    static double TextWidth(const std::string& text, const std::string& font);

    Image ToImage() const;                          // straight alpha
    Image ToOpaque(uint32_t background = 0) const;  // composited over a colour
    void Draw(const Image& img, int x, int y);      // an Image over the canvas

private:
    int w_, h_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

}  // namespace kiv::demo
