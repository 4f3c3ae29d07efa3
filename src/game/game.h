#pragma once

#include <string>

#include "data/config.h"
#include "data/random.h"
#include "game/closing_state.h"
#include "game/menu_state.h"
#include "game/play_state.h"
#include "game/shell_state.h"
#include "media/glyph_text.h"
#include "media/media_state.h"
#include "media/sound_state.h"
#include "platform/platform.h"
#include "records/records_state.h"

namespace kiv {

// The whole state of one game: one plain struct per subsystem, and the platform it runs on.
struct Game {
    explicit Game(Platform& platform) : P(platform) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Platform& P;
    std::string ExePath;            // the executable's path; its folder is the game folder
    std::string DataDirOverride;    // the game folder given on the command line, if any
    std::string FirstArg;           // the first command-line argument (display mode)
    bool SeedGiven = false;         // Rand was seeded from the command line: no Randomize
    bool SharedGameFolder = false;  // the game folder is the installed demo, shared by all users

    ShellState Shell;
    RandomState Rand;
    Config Cfg;
    MediaState Media;
    SoundState Sound;
    PlayState Play;
    MenuState Menu;
    RecordsState Records;
    GlyphTextState Glyph;
    ClosingState Closing;

    Trace& Traces() { return P.GetTrace(); }
};

}  // namespace kiv
