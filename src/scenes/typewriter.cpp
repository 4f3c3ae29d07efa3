#include "scenes/typewriter.h"

#include <string>
#include <string_view>

#include "game/game.h"
#include "game/game_media.h"
#include "game/scene_control.h"

namespace kiv {

namespace {

constexpr int kCellAdvance = 8;
constexpr int kKeySound = 5;
constexpr int kSpaceSound = 6;

int16_t& SubFrame(Game& g) { return Sc(g, CommonCounter::SubFrame); }

// The cursor stays on its cell: draw there, show it, step back.
void DrawInPlace(Game& g, std::string_view s) {
    DrawText(Glyphs(g), s);
    PresentCursorCell(Glyphs(g));
    g.Glyph.TextX = static_cast<int16_t>(g.Glyph.TextX - kCellAdvance);
}

// The blinking underscore of phase 0 and its erasing in phase 2; other phases draw nothing.
void BlinkPhase(Game& g) {
    switch (SubFrame(g) % 4) {
        case 0: DrawInPlace(g, "_"); break;
        case 2: DrawInPlace(g, " "); break;
        default: break;
    }
}

bool DoneAfter(Game& g, int frames) {
    if (SubFrame(g) < frames) return false;
    SubFrame(g) = 0;
    return true;
}

}  // namespace

void BlinkCursor(Game& g) {
    BlinkPhase(g);
    ++SubFrame(g);
}

bool BlinkWait(Game& g, int n) {
    BlinkCursor(g);
    return DoneAfter(g, 4 * n);
}

bool TypeMessageStep(Game& g) {
    int16_t& frame = SubFrame(g);
    const ShortString<255>& text = g.Glyph.MessageText;
    switch (frame % 4) {
        case 0: DrawInPlace(g, "_"); break;
        case 2: {
            const std::string c = text.Copy(frame / 4 + 1, 1);
            if (c.empty())
                g.Glyph.TextX = static_cast<int16_t>(g.Glyph.TextX + kCellAdvance);
            else
                DrawChar(Glyphs(g), c[0]);
            PresentCursorCell(Glyphs(g));
            PlaySoundEffect(Sounds(g), c == " " ? kSpaceSound : kKeySound);
            break;
        }
        default: break;
    }
    ++frame;
    return DoneAfter(g, 4 * text.Length());
}

}  // namespace kiv
