// The program's icon: the demo's emblem, its eight slices put together into the ring they form
// in the title menu, on a transparent ground.
#include <cairo.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "art.h"

namespace kiv::demo {

namespace {

// Where the menu puts each slice: its strip of the sheet and its resting place on the screen.
struct SlicePlace {
    int srcLeft, srcRight, left, top;
};
constexpr SlicePlace kPlaces[8] = {{0, 64, 287, 163},    {64, 142, 318, 163},  {142, 219, 319, 208},
                                   {219, 297, 318, 239}, {297, 361, 287, 240}, {361, 439, 242, 239},
                                   {439, 516, 242, 208}, {516, 594, 242, 163}};
// The ring's square on the screen.
constexpr int kLeft = 242, kTop = 163, kSide = 156;

}  // namespace

void WriteIcon(const std::string& path, const EmblemSheets& emblem, int size) {
    cairo_surface_t* ring = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSide, kSide);
    unsigned char* data = cairo_image_surface_get_data(ring);
    const int stride = cairo_image_surface_get_stride(ring);
    cairo_surface_flush(ring);
    for (const SlicePlace& s : kPlaces)
        for (int y = 0; y < 78; ++y)
            for (int x = s.srcLeft; x < s.srcRight; ++x) {
                const int dx = s.left + (x - s.srcLeft) - kLeft, dy = s.top + y - kTop;
                if (dx < 0 || dy < 0 || dx >= kSide || dy >= kSide) continue;
                if ((emblem.mask.At(x, y) & 0xFFFFFF) != 0) continue;  // white: outside the slice
                // Opaque: premultiplied and plain colours are the same.
                reinterpret_cast<uint32_t*>(data + dy * stride)[dx] = 0xFF000000u | (emblem.open.At(x, y) & 0xFFFFFF);
            }
    cairo_surface_mark_dirty(ring);

    cairo_surface_t* icon = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(icon);
    cairo_scale(cr, double(size) / kSide, double(size) / kSide);
    cairo_set_source_surface(cr, ring, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
    cairo_paint(cr);
    cairo_destroy(cr);
    const cairo_status_t status = cairo_surface_write_to_png(icon, path.c_str());
    cairo_surface_destroy(icon);
    cairo_surface_destroy(ring);
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error(std::string("cannot write ").append(path));
}

}  // namespace kiv::demo
