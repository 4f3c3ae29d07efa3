#pragma once

#include "platform/font.h"

namespace kiv {

// The game's font through SDL_ttf: IPAPGothic (else IPAGothic, else whatever fontconfig offers
// for it, said on stderr) found through fontconfig, glyphs drawn without antialiasing. The font
// file and its opened sizes are kept for the life of the process, shared by every game in it.
FontRenderer& TtfFonts();

}  // namespace kiv
