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

// The font the game's texts are drawn in: a proportional Japanese Gothic, not antialiased.
class FontRenderer {
public:
    virtual ~FontRenderer() = default;
    // Renders UTF-8 text; Width always equals Measure for the same arguments.
    virtual TextRun Render(std::string_view utf8, int pixelHeight, bool italic) = 0;
    // Advance width in pixels of UTF-8 text.
    virtual int Measure(std::string_view utf8, int pixelHeight, bool italic) = 0;
    // Whether a font was found (looked up once, on first use).
    virtual bool Available() = 0;
};

// The advance a text takes without a font: half the pixel height for a half-width character
// (ASCII and the half-width katakana), the full height for any other.
int FixedAdvanceWidth(std::string_view utf8, int pixelHeight);

// No font at all: nothing is drawn, and each character takes its fixed advance.
class NoFont : public FontRenderer {
public:
    TextRun Render(std::string_view utf8, int pixelHeight, bool italic) override;
    int Measure(std::string_view utf8, int pixelHeight, bool) override;
    bool Available() override { return false; }
};

}  // namespace kiv
