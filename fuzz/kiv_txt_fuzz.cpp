// Kiv.txt as a game maker might leave it: any bytes. The reader fills the tables or names the
// line and the token it cannot read; what start-up then does with the tables (the player's name
// put into the stage texts, texts turned into UTF-8 for the font and for messages) must hold
// for whatever it read.
#include <string>
#include <string_view>

#include "data/config_reader.h"
#include "data/sjis.h"
#include "data/strings.h"
#include "fuzz_support.h"
#include "utf8_check.h"

namespace kiv::fuzz {

namespace {

// A folder that does not exist: every music number reads as a missing file.
constexpr const char* kNoFolder = "/nonexistent-kiv-fuzz/";

void CheckMusicName(const ShortString<255>& name) {
    if (name.Empty()) return;
    const std::string_view v = name.View();
    Require(v.size() == 8 && v.substr(0, 2) == "Kv" && v.substr(4) == ".mid", "a music name is KvNN.mid");
}

// The checking read (--check) goes through the whole file whatever it holds: where the plain
// read stops at a malformed number, it notes that very number first; where the plain read
// succeeds, it fills the same tables and notes nothing.
void CheckTheCheckingRead(std::string_view bytes, const Config& plain, const ConfigResult& r) {
    Config cfg;
    cfg.AppDir = kNoFolder;
    ConfigNotes notes;
    const ConfigResult checked = ParseConfiguration(bytes, kNoFolder, cfg, &notes);
    Require(checked.ok, "a checking read never stops");
    Require(checked.warning == r.warning || !r.ok, "both reads see the same end of the file");
    if (!r.ok) {
        Require(!notes.BadNumbers.empty(), "a malformed number is noted");
        const auto& first = notes.BadNumbers.front();
        Require(r.message.find("\"" + first.Token + "\"") != std::string::npos,
                "the first noted is the one that stops");
        return;
    }
    Require(notes.BadNumbers.empty(), "a file read whole has no malformed number");
    Require(cfg.StageLayout == plain.StageLayout && cfg.StageParams == plain.StageParams &&
                cfg.FaceTable == plain.FaceTable && cfg.ResultCodeSeed == plain.ResultCodeSeed &&
                cfg.MusicFiles == plain.MusicFiles && cfg.StageTexts == plain.StageTexts &&
                cfg.TickerText == plain.TickerText && cfg.DefaultPlayerName == plain.DefaultPlayerName,
            "both reads fill the same tables");
}

}  // namespace

void KivTxtInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Config cfg;
    cfg.AppDir = kNoFolder;
    const ConfigResult r = ParseConfiguration(bytes, kNoFolder, cfg);
    Require(cfg.AppDir == kNoFolder, "the folder survives the reading");
    CheckTheCheckingRead(bytes, cfg, r);
    if (!r.ok) {
        Require(r.message.rfind("Kiv.txt line ", 0) == 0, "a malformed file is named with its line");
        Require(IsValidUtf8(SjisToUtf8(r.message)), "the message converts to UTF-8");
        return;
    }
    for (const auto& music : cfg.MusicFiles) CheckMusicName(music);
    // The player's name (here the default one) goes into every stage text, as at start-up.
    const std::string name = cfg.DefaultPlayerName.Str();
    // All texts go through one conversion (a converter is costly to open), a line each.
    std::string texts = name + "\n" + cfg.TickerText;
    for (auto& stage : cfg.StageTexts) {
        for (int i = 1; i <= 10; ++i) {
            ReplaceAllSjis("\x82\x66", name, 95, stage[i]);
            Require(stage[i].Length() <= 95, "a stage text keeps its capacity");
            texts += "\n" + stage[i].Str();
        }
    }
    Require(IsValidUtf8(SjisToUtf8(texts)), "the texts convert to UTF-8");
    Require(cfg.TickerText.size() <= size, "the help line comes from the file");
}

}  // namespace kiv::fuzz

KIV_FUZZ_ENTRY(kiv::fuzz::KivTxtInput)
