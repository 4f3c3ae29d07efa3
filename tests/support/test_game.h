#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/records_settings.h"
#include "platform/headless/headless_platform.h"
#include "shell/form.h"
#include "test_support.h"

namespace kiv {

// A 24-bit bottom-up BMP file of w x h pixels; pixel(x, y) gives 0x00RRGGBB.
std::string MakeBmp(int w, int h, const std::function<uint32_t(int, int)>& pixel);

// The lines of a Kiv.txt that the reader takes as intended (213 lines); change lines[n - 1]
// for line n, then Bytes() gives the file with CR LF line ends.
struct KivTextLines {
    std::vector<std::string> lines = std::vector<std::string>(213);
    KivTextLines();
    std::string Bytes() const;
};

// Writes a small but complete game folder: Kiv.txt and the sheets read at start-up.
void WriteMinimalGame(const TempDir& dir, const KivTextLines& text = KivTextLines());

// Copies the bundled demo game (without the program and its Kiv.ini) into a folder, over files of
// the same names (so a damaged copy can be made whole again); false when the demo has not been
// generated.
bool CopyDemoGame(const TempDir& into);

// What a run of the program itself left: its exit status (-1 when it did not exit), its trace
// and what it wrote on stderr.
struct ProgramRun {
    int status = -1;
    std::string trace, err;
};

// Runs the program with args (the game's arguments, such as "--headless --data DIR") and the
// script, keeping script.txt, trace.jsonl and stderr.txt in out.
ProgramRun RunProgram(const TempDir& out, const std::string& args, const std::string& script);

// A game whose tables are set by hand (not started), reading and writing its records in dir.
struct RecordsGame {
    explicit RecordsGame(const std::string& dir) {
        g.Cfg.AppDir = dir;
        g.Cfg.DefaultPlayerName = "Player";
        g.Cfg.PresetRankName = "master";
    }
    void Load() { LoadRecords(g.Records, RecordsSettingsOf(g), platform); }
    bool Save() { return SaveRecords(g.Records, RecordsSettingsOf(g), platform); }
    HeadlessPlatform platform;
    Game g{platform};
};

// A game on the headless platform, started with FormCreate from a folder.
struct HeadlessGame {
    // fonts: the font the texts are drawn in (none: they take their places but show nothing).
    explicit HeadlessGame(const std::string& dataDir, const std::string& firstArg = "", FontRenderer* fonts = nullptr);
    ~HeadlessGame();

    // Runs n ticks of the active clock.
    void Frames(int n);
    // The user closes the window, then the form is destroyed as at the end of the loop.
    void CloseAndDestroy();

    HeadlessPlatform platform;
    Game game{platform};
    TFM1 form{game};
    bool created = false;
    bool destroyed = false;
};

}  // namespace kiv
