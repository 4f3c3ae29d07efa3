// The program's icon: the demo's emblem, the ring of eight slices of the title menu with every
// stage open, on a transparent ground; drawn from the same paths as the menu's sheets, so it
// scales to any size and makes a scalable (SVG) icon too.
#include <cairo-svg.h>
#include <cairo.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "art.h"
#include "canvas.h"

namespace kiv::demo {

namespace {

// The square the icon shows, in the menu's pixels: the ring with its outline, centred.
constexpr double kSide = 156, kCentreX = 319.5, kCentreY = 240.5;
// The sizes of the PNG icons. Below 48 pixels the slices' numbers are only noise: left out.
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kSmallestNumbered = 48;

void DrawRing(Canvas& c, double size, bool numbered) {
    cairo_t* cr = c.cr();
    cairo_scale(cr, size / kSide, size / kSide);
    cairo_translate(cr, kSide / 2 - kCentreX, kSide / 2 - kCentreY);
    for (int slice = 0; slice < 8; ++slice) {
        PathEmblemSlice(cr, slice);
        PaintEmblemSlice(c, slice, false, numbered);
    }
}

void Check(cairo_status_t status, const std::string& path) {
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path + ": " + cairo_status_to_string(status));
}

}  // namespace

void WriteIcons(const std::string& dir) {
    const std::string theme = dir + "/hicolor/";
    for (int size : kSizes) {
        const std::string folder = theme + std::to_string(size) + "x" + std::to_string(size) + "/apps/";
        std::filesystem::create_directories(folder);
        Canvas c(size, size);
        DrawRing(c, size, size >= kSmallestNumbered);
        Check(cairo_surface_write_to_png(c.surface(), (folder + "kiv.png").c_str()), folder + "kiv.png");
    }
    const std::string folder = theme + "scalable/apps/", path = folder + "kiv.svg";
    std::filesystem::create_directories(folder);
    cairo_surface_t* svg = cairo_svg_surface_create(path.c_str(), kSide, kSide);
    cairo_svg_surface_set_document_unit(svg, CAIRO_SVG_UNIT_PX);
    Canvas c(svg, int(kSide), int(kSide));
    DrawRing(c, kSide, true);
    cairo_surface_finish(svg);
    Check(cairo_surface_status(svg), path);
}

}  // namespace kiv::demo
