#include "platform/font.h"

#include <algorithm>

namespace kiv {

namespace {
int ClampHeight(int pixelHeight) { return std::clamp(pixelHeight, 1, 256); }
}  // namespace

int FixedAdvanceWidth(std::string_view utf8, int pixelHeight) {
    pixelHeight = ClampHeight(pixelHeight);
    int width = 0;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        bool halfWidth = c < 0x80;
        // U+FF61..U+FF9F, the half-width katakana, are EF BD A1..EF BE 9F.
        if (len == 3 && i + 2 < utf8.size() && c == 0xEF) {
            unsigned char c1 = static_cast<unsigned char>(utf8[i + 1]);
            unsigned char c2 = static_cast<unsigned char>(utf8[i + 2]);
            halfWidth = (c1 == 0xBD && c2 >= 0xA1) || (c1 == 0xBE && c2 <= 0x9F);
        }
        width += halfWidth ? pixelHeight / 2 : pixelHeight;
        i += len;
    }
    return width;
}

TextRun NoFont::Render(std::string_view utf8, int pixelHeight, bool italic) {
    TextRun run;
    run.Width = Measure(utf8, pixelHeight, italic);
    run.Height = ClampHeight(pixelHeight);
    return run;
}

int NoFont::Measure(std::string_view utf8, int pixelHeight, bool) { return FixedAdvanceWidth(utf8, pixelHeight); }

}  // namespace kiv
