#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>

#include "data/short_string.h"

namespace kiv {

// One of the ten wave players of the stage voices: the file bound to it, or none.
struct WavePlayer {
    std::string FileName;  // full path of the open voice; empty: the player is closed
    std::string Name;      // the same file's name as the game built it ("V013.wav")
};

// The music player's state and the stage voices.
struct SoundState {
    ShortString<255> CurMusicName;  // name of the MIDI file open in the music player; empty: none
    int32_t MusicLengthMs = 0;      // length of the open music; 0: nothing to loop
    // The music starts again once MusicWaitMs have passed since MusicStartTick (its length, or
    // a second after a start that failed); an unsigned difference, so the tick's wrap is harmless.
    uint32_t MusicStartTick = 0;
    uint32_t MusicWaitMs = 0;
    // Music whose length cannot be read starts again when the player says it has ended.
    bool MusicLoopsAtEnd = false;
    std::array<WavePlayer, 10> WavePlayers{};
    std::set<std::string> MissingReported;  // sound files already named on stderr as missing
};

}  // namespace kiv
