// The effects, voices and tunes the game plays: a missing or unreadable one is only silence,
// so each is a warning.
#include <algorithm>
#include <string>

#include "check/check_context.h"
#include "data/data_files.h"
#include "game/game_media.h"

namespace kiv::check {

namespace {

constexpr size_t kMaxWavBytes = 64u << 20;  // far beyond any effect or voice

// Warns once per file when a WAV file is missing or cannot be played: then subject (named on
// that line of Kiv.txt) meets the consequence.
void CheckWav(CheckContext& c, const std::string& name, const std::string& subject, int line,
              const char* consequence = "stays silent") {
    if (!c.Once("sound:" + name)) return;
    const std::string path = FindDataFile(c.Dir, name);
    if (path.empty()) {
        c.Warning(name, 0, "missing: " + At(subject, line) + " " + consequence);
        return;
    }
    std::string bytes, why = "cannot be read, or too large";
    if (ReadWholeFile(path, bytes, kMaxWavBytes) &&
        (!c.CanPlayWave || c.CanPlayWave(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), why)))
        return;
    c.Warning(name, 0, "cannot be played (" + why + "): " + At(subject, line) + " " + consequence);
}

std::string EffectName(int number) { return Numbered("Q", 2, number) + ".wav"; }

void CheckEffects(CheckContext& c) {
    // Slots 0 to 2 take each stage's own numbers before anything plays them.
    for (int slot = 3; slot < int(c.Cfg.SoundNumbers.size()) && !c.Tainted("SoundNumbers"); ++slot)
        CheckWav(c, EffectName(c.Cfg.SoundNumbers[size_t(slot)]), "effect slot " + std::to_string(slot),
                 c.Notes.SoundNumbersLine);
    for (size_t s = 0; s < size_t(kStages); ++s) {
        if (!c.Reachable[s] || c.Tainted("StageParams", int(s))) continue;
        for (int slot = 0; slot < 3; ++slot)
            CheckWav(c, EffectName(c.Cfg.StageParams[s][size_t(slot) + 2]),
                     "effect slot " + std::to_string(slot) + " of " + StageName(int(s)), c.Notes.StageParamsLine[s]);
    }
}

// Line i of a stage is spoken by voice i - 1 of that stage, when the line has any text.
void CheckVoices(CheckContext& c) {
    for (size_t s = 0; s < size_t(kStages); ++s) {
        if (!c.Reachable[s]) continue;
        for (int i = 1; i <= 10; ++i) {
            if (c.Notes.StageTextWhole[s][size_t(i)].empty()) continue;
            const std::string name = Numbered("V", 2, int(s) + 1) + std::to_string(i - 1) + ".wav";
            CheckWav(c, name, "text line " + std::to_string(i) + " of " + StageName(int(s)),
                     c.Notes.StageTextLine[s][size_t(i)], "is typed without its voice");
        }
    }
}

void CheckMusic(CheckContext& c) {
    for (size_t k = 0; k < c.Notes.MusicWanted.size(); ++k) {
        const std::string& name = c.Notes.MusicWanted[k];
        const int line = c.Notes.MusicLine[k];
        const bool malformed = std::any_of(c.Notes.BadNumbers.begin(), c.Notes.BadNumbers.end(),
                                           [&](const ConfigNotes::BadNumber& b) { return b.Line == line; });
        if (name.empty() || malformed || !c.Once("music:" + name)) continue;
        const std::string role = At("music slot " + std::to_string(k), line);
        const std::string path = FindDataFile(c.Dir, name);
        if (path.empty())
            c.Warning(name, 0, "missing: " + role + " stays silent");
        else if (MidiFileLengthMs(path) < 0)
            c.Warning(name, 0,
                      "cannot be read as a Standard MIDI File: " + role + " may stay silent and does not loop");
    }
}

}  // namespace

void CheckSounds(CheckContext& c) {
    CheckEffects(c);
    CheckVoices(c);
    CheckMusic(c);
}

}  // namespace kiv::check
