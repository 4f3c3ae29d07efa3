#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/short_string.h"

namespace kiv {

struct Point16 {
    int16_t X = 0;
    int16_t Y = 0;
};

struct PaletteColor {
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
};

// The tables read from Kiv.txt. Record s of a per-stage table belongs to stage s + 1 (scene
// s + 2). Everything starts zeroed, so a short file leaves zeros and empty texts behind.
struct Config {
    std::string AppDir;                 // game folder with its trailing '/' (any length: a deep path must not be cut)
    ShortString<16> DefaultPlayerName;  // line 1
    std::array<std::array<int16_t, 15>, 10> FaceTable{};    // f0..f14 per stage
    ShortString<6> PresetRankName;                          // line 12
    std::array<std::array<int16_t, 17>, 11> StageLayout{};  // w0..w16; record 10 is the ending's
    std::array<std::array<uint8_t, 13>, 10> StageParams{};
    std::array<uint8_t, 9> SoundNumbers{};                 // effect slot k plays "Q" + number
    std::array<std::array<int16_t, 12>, 10> StageSpots{};  // z0..z11
    std::array<std::array<Point16, 20>, 10> CheckPoints{};
    std::array<std::array<uint8_t, 11>, 3> OpeningScript{};
    std::array<PaletteColor, 48> PaletteRGB{};  // components 0..15
    int32_t ResultCodeSeed = 0;
    std::array<ShortString<255>, 23> MusicFiles{};                 // "KvNN.mid" or empty
    std::array<std::array<ShortString<95>, 11>, 10> StageTexts{};  // [stage][1..10]; [s][0] unused
    std::string TickerText;                                        // help line, unbounded
};

}  // namespace kiv
