#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kiv::demo {

// A Standard MIDI File of format 0: one track, a tempo, notes on several channels.
struct MidiNote {
    uint32_t tick, length;
    uint8_t channel, key, velocity;
};
struct MidiSong {
    uint16_t ticksPerQuarter = 480;
    uint32_t microsecondsPerQuarter = 500000;
    uint32_t endTick = 0;                               // the end of the track: where the tune loops
    std::vector<std::pair<uint8_t, uint8_t>> programs;  // channel, instrument
    std::vector<MidiNote> notes;
};
std::string EncodeMidi(const MidiSong& song);

// The eight tunes "Kv01" .. "Kv08", written into dir.
void WriteMusic(const std::string& dir);

// Parses "E5:2 G5:2 r:2" (note or rest, length in eighths); throws on a bad token.
std::vector<std::pair<int, int>> ParseMelody(const std::string& text);

}  // namespace kiv::demo
