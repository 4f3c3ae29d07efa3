#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "check/game_check.h"
#include "data/config.h"
#include "data/config_reader.h"
#include "game/game.h"
#include "platform/headless/headless_platform.h"

namespace kiv::check {

constexpr int kStages = 10;

// What the check of a picture file found; the pixels are not kept.
struct PictureProbe {
    std::string File;  // the file the game reads: base + ".jpg" when there is one, else ".bmp"
    bool Found = false;
    bool Readable = false;
    std::string Why;  // why it cannot be read
    int Width = 0;
    int Height = 0;
};

// The state the parts of the check share: the folder, its tables as the game reads them, what
// the chains of stages reach, and the findings so far.
struct CheckContext {
    CheckContext(const std::string& dir, CheckReport& report, WaveProbe canPlayWave);

    std::string Dir;  // with its trailing '/'
    CheckReport& Report;
    WaveProbe CanPlayWave;  // null: not asked
    Config Cfg;
    ConfigNotes Notes;
    bool ConfigRead = false;  // Kiv.txt was read, and its values stand where the game finds them

    std::array<bool, kStages> InUse{};      // a stage whose StageParams are not all 0
    std::array<bool, kStages> Reachable{};  // a stage the menu or a chain of stages can start
    // A render follows: the check points of the stages in use that cannot be played are tested
    // too, for the pictures only (they get no findings).
    bool ForRender = false;

    // A game on a platform without window or sound, for the program's own loaders.
    HeadlessPlatform Platform;
    Game G{Platform};

    void Error(const std::string& file, int line, std::string text);
    void Warning(const std::string& file, int line, std::string text);
    // True the first time a key is seen: a fault met from several places is reported once.
    bool Once(const std::string& key) { return reported_.insert(key).second; }
    // Whether a record holds a malformed number: the checks that rest on its values are left
    // out, so that one fault is not reported again through the zero it reads as.
    bool Tainted(const char* table, int record = -1) const;
    // The picture of this base name as the game's loaders find it, read once.
    const PictureProbe& Probe(const std::string& base);

private:
    std::set<std::string> reported_;
    std::map<std::string, PictureProbe> probes_;
};

// "where (Kiv.txt:27)" for messages that name a file; just "where" without a line.
std::string At(const std::string& where, int line);
// prefix + number in `digits` digits, as the game names its files ("D" 2 4 -> "D04").
std::string Numbered(const char* prefix, int digits, int number);
// "stage 3".
std::string StageName(int s);

// The parts of the check, in the order they run.
// check_text.cpp: whether Kiv.txt ends its lines as the game reads them; false when the values
// are then read from the wrong places and nothing that rests on them is worth checking.
bool CheckLineEnds(CheckContext& c);
void CheckKivText(CheckContext& c);      // check_text.cpp: malformed numbers and the names
void CheckStageChains(CheckContext& c);  // check_stages.cpp: what each stage leads to
void CheckStageTexts(CheckContext& c);   // check_text.cpp: the text lines of the stages played
void CheckPictures(CheckContext& c);     // check_pictures.cpp
void CheckCheckPoints(CheckContext& c);  // check_points.cpp
void CheckSounds(CheckContext& c);       // check_sounds.cpp
// render_stages.cpp: the pictures of the stages' data, after the check.
void RenderStages(CheckContext& c, const StageRender& render);

}  // namespace kiv::check
