// The ink pot: the refill icon of the parts sheet, and the same pot on a stool in every stage's
// background. The game draws the icon at the refill spot when a stage starts, blinks it during
// the introduction and then puts the plain background back there, so the pot the player sees in
// play is the one of the background. The stage pictures leave that place free, so no rubbing
// ever covers or takes away the pot.

#include <array>

#include "demo_tables.h"
#include "draw_helpers.h"
#include "scenes.h"

namespace kiv::demo {

namespace {

using namespace draw;

constexpr uint32_t kOutline = 0x2B1B0E;
constexpr uint32_t kGlass = 0xDDEEFF;
constexpr uint32_t kBlueInk = 0x2563EB;
constexpr uint32_t kGold = 0xFFD34D;
constexpr uint32_t kWood = 0xC08A52;
constexpr uint32_t kWoodDark = 0x8A5A30;

void Outline(Canvas& c, uint32_t colour, double width) {
    c.Colour(colour);
    cairo_set_line_width(c.cr(), width);
    cairo_stroke(c.cr());
}

// The ground under the stool in each stage (y of its feet).
constexpr std::array<double, kStages> kStoolFeet{398, 398, 428, 398, 410, 404, 440, 404, 420, 420};

}  // namespace

void DrawInkPot(Canvas& c, double x, double y) {
    cairo_t* cr = c.cr();
    c.RoundRect(x + 5, y + 12, 25, 21, 7);  // bottle
    c.Colour(kGlass);
    cairo_fill_preserve(cr);
    Outline(c, kOutline, 2);
    cairo_save(cr);
    c.RoundRect(x + 6, y + 13, 23, 19, 6);
    cairo_clip(cr);
    c.Rect(x + 5, y + 19, 25, 15, kBlueInk);
    c.Rect(x + 5, y + 19, 25, 2, 0x60A5FA);
    cairo_restore(cr);
    c.Colour(0xFFFFFF, 0.8);
    c.RoundRect(x + 8, y + 15, 3, 9, 1.5);
    cairo_fill(cr);
    c.RoundRect(x + 11, y + 6, 13, 7, 2);  // neck
    c.Colour(kGlass);
    cairo_fill_preserve(cr);
    Outline(c, kOutline, 2);
    c.RoundRect(x + 10, y + 1, 15, 6, 2);  // cork
    c.Colour(0xB7793F);
    cairo_fill_preserve(cr);
    Outline(c, kOutline, 1.5);
}

void DrawInkPotIcon(Canvas& c, double x, double y) {
    // A gold ring behind the pot and a sparkle: blinking over the background's own pot, they
    // make it flash while the character asks for a click on it.
    c.Ellipse(x + 17.5, y + 18, 15.5, 15.5);
    Outline(c, kGold, 2.5);
    DrawInkPot(c, x, y);
    c.Star(x + 29, y + 6, 4.5, 1.8, 4, 0);
    c.Colour(0xFFFFFF);
    cairo_fill(c.cr());
}

void DrawRefillPlace(Canvas& c, int s) {
    cairo_t* cr = c.cr();
    const double x = kRefillX, top = kRefillY + 16, feet = kStoolFeet[static_cast<size_t>(s)];
    c.Ellipse(x, feet, 27, 5);  // shadow
    c.Colour(0x000000, 0.2);
    cairo_fill(cr);
    // legs: two in front, one behind, and a rung
    cairo_move_to(cr, x, top + 4);
    cairo_line_to(cr, x, feet - 5);
    StrokeWith(c, kWoodDark, 4);
    cairo_move_to(cr, x - 17, top + 4);
    cairo_line_to(cr, x - 21, feet);
    cairo_move_to(cr, x + 17, top + 4);
    cairo_line_to(cr, x + 21, feet);
    StrokeWith(c, kOutline, 6);
    cairo_move_to(cr, x - 17, top + 4);
    cairo_line_to(cr, x - 21, feet);
    cairo_move_to(cr, x + 17, top + 4);
    cairo_line_to(cr, x + 21, feet);
    StrokeWith(c, kWood, 3.5);
    const double rung = top + (feet - top) * 0.55;
    cairo_move_to(cr, x - 18.5, rung);
    cairo_line_to(cr, x + 18.5, rung);
    StrokeWith(c, kOutline, 4.5);
    cairo_move_to(cr, x - 18.5, rung);
    cairo_line_to(cr, x + 18.5, rung);
    StrokeWith(c, kWood, 2);
    // the seat, with the pot on it
    c.RoundRect(x - 23, top, 46, 7, 3);
    FillLine(c, kWood, kOutline, 1.5);
    c.Rect(x - 21, top + 1.5, 42, 1.5, 0xE0B078);
    DrawInkPot(c, kRefillX - 17, kRefillY - 17);
}

}  // namespace kiv::demo
