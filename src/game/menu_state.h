#pragma once

#include <cstdint>

#include "media/surface.h"
#include "platform/font.h"

namespace kiv {

// The title menu's help line while it scrolls: the text is rendered once when the line starts,
// and each frame shows a 120-pixel window of it.
struct MenuState {
    bool TickerRunning = false;
    // Scroll position in pixels. SceneCounters[0] shows it too, but a 16-bit counter would wrap
    // on a line over 32767 pixels wide and never let it end.
    int32_t TickerPos = 0;
    // The line's picture: (bytes div 2) * 12 + 268 pixels wide, 12 high, black, with the text
    // in white from x = 132. Only the text's ink is kept; the rest of the picture is black.
    int64_t TickerWidth = 0;
    int32_t TickerTextWidth = 0;
    TextRun TickerInk;
    Surface TickerWindow;  // the 120 x 12 window copied to the strip
};

}  // namespace kiv
