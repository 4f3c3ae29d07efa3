#pragma once

// Standard MIDI Files written by the sound tests, byte by byte.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace kiv::midi {

inline std::string VarLen(uint32_t v) {
    std::string out(1, static_cast<char>(v & 0x7F));
    while (v >>= 7) out.insert(out.begin(), static_cast<char>(0x80 | (v & 0x7F)));
    return out;
}

inline std::string Big(uint32_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

inline std::string Bytes(std::initializer_list<int> b) {
    std::string out;
    for (int v : b) out += static_cast<char>(v);
    return out;
}

// One event: its delta time, then its bytes as they stand in the file.
inline std::string Event(uint32_t delta, std::initializer_list<int> b) { return VarLen(delta) + Bytes(b); }
inline std::string Tempo(uint32_t delta, uint32_t usPerQuarter) {
    return VarLen(delta) + Bytes({0xFF, 0x51, 3}) + Big(usPerQuarter, 3);
}
inline std::string EndOfTrack(uint32_t delta) { return Event(delta, {0xFF, 0x2F, 0}); }

inline std::string Chunk(const std::string& id, const std::string& body) {
    return id + Big(static_cast<uint32_t>(body.size()), 4) + body;
}

inline std::string File(int format, int division, const std::vector<std::string>& tracks) {
    std::string out =
        Chunk("MThd", Big(static_cast<uint32_t>(format), 2) + Big(static_cast<uint32_t>(tracks.size()), 2) +
                          Big(static_cast<uint32_t>(division), 2));
    for (const std::string& t : tracks) out += Chunk("MTrk", t);
    return out;
}

// A tune of `ms` milliseconds at the default tempo (480 ticks a quarter, 120 a minute: 1 tick
// = 25/24 ms, so ms must be a multiple of 25).
inline std::string TuneOfMs(uint32_t ms) {
    const uint32_t ticks = ms * 24 / 25;
    return File(0, 480, {Event(0, {0x90, 60, 100}) + Event(ticks, {0x80, 60, 0}) + EndOfTrack(0)});
}

}  // namespace kiv::midi
