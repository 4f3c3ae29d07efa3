#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kiv {

// One line of text as ink: Width x Height bytes, rows top to bottom, 1 = ink, 0 = none; Ink is
// empty when there is nothing to draw (no font, or a run over 65536 pixels wide).
// Height is the cell height (the requested pixel height); the baseline sits where the
// original's Japanese Gothic UI font had it (0.859 of the height from the top).
struct TextRun {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Ink;
};

// Renders UTF-8 text in the proportional Japanese Gothic font, not antialiased. Width always
// equals MeasureTextRun for the same arguments.
TextRun RenderTextRun(std::string_view utf8, int pixelHeight, bool italic);

// Advance width in pixels of UTF-8 text; without a font, a fixed advance: half the pixel height
// for a half-width character, the full height for any other.
int MeasureTextRun(std::string_view utf8, int pixelHeight, bool italic);

// Whether a font was found (looked up once, on first use).
bool FontAvailable();

}  // namespace kiv
