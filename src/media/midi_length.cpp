#include "media/midi_length.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kiv {

namespace {

constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note: 120 beats a minute

// Reads big-endian numbers and variable-length quantities, never past the end.
class Reader {
public:
    explicit Reader(std::string_view bytes) : s_(bytes) {}

    size_t Left() const { return s_.size() - at_; }
    size_t At() const { return at_; }
    bool Byte(uint8_t& b) {
        if (at_ >= s_.size()) return false;
        b = static_cast<uint8_t>(s_[at_++]);
        return true;
    }
    bool Skip(size_t n) {
        if (n > Left()) return false;
        at_ += n;
        return true;
    }
    bool Big(int bytes, uint32_t& v) {
        v = 0;
        for (int i = 0; i < bytes; ++i) {
            uint8_t b;
            if (!Byte(b)) return false;
            v = v << 8 | b;
        }
        return true;
    }
    // At most four bytes, seven bits each; a fifth continuation byte means a damaged file.
    bool VarLen(uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b;
            if (!Byte(b)) return false;
            v = v << 7 | (b & 0x7Fu);
            if (!(b & 0x80)) return true;
        }
        return false;
    }
    std::string_view Take(size_t n) {
        std::string_view part = s_.substr(at_, n);
        at_ += part.size();
        return part;
    }

private:
    std::string_view s_;
    size_t at_ = 0;
};

struct TempoChange {
    uint64_t tick;
    uint32_t usPerQuarter;
};

struct Track {
    uint64_t endTick = 0;
    std::vector<TempoChange> tempos;
};

// Data bytes that follow a channel status byte.
int DataBytes(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

bool ParseTrack(std::string_view chunk, Track& track) {
    Reader r(chunk);
    uint64_t tick = 0;
    uint8_t running = 0;
    while (r.Left() > 0) {
        uint32_t delta;
        uint8_t b;
        if (!r.VarLen(delta) || !r.Byte(b)) return false;
        tick += delta;
        if (b == 0xFF) {
            uint8_t type;
            uint32_t len;
            if (!r.Byte(type) || !r.VarLen(len) || len > r.Left()) return false;
            std::string_view data = r.Take(len);
            if (type == 0x51 && data.size() >= 3) {
                uint32_t tempo = static_cast<uint32_t>(static_cast<uint8_t>(data[0])) << 16 |
                                 static_cast<uint32_t>(static_cast<uint8_t>(data[1])) << 8 |
                                 static_cast<uint8_t>(data[2]);
                if (tempo > 0) track.tempos.push_back({tick, tempo});
            }
            if (type == 0x2F) {  // end of track: whatever follows in the chunk is not played
                track.endTick = tick;
                return true;
            }
        } else if (b == 0xF0 || b == 0xF7) {
            uint32_t len;
            if (!r.VarLen(len) || !r.Skip(len)) return false;
        } else if (b >= 0xF0) {
            return false;  // system common and real-time messages have no place in a file
        } else if (b >= 0x80) {
            running = b;
            if (!r.Skip(static_cast<size_t>(DataBytes(b)))) return false;
        } else {
            // Running status: b is already the first data byte.
            if (running == 0) return false;
            if (!r.Skip(static_cast<size_t>(DataBytes(running) - 1))) return false;
        }
        track.endTick = tick;
    }
    return true;  // no end-of-track event: the track ends with its chunk
}

// Microseconds from tick 0 to endTick, tempo changes sorted by tick.
double PulsesToUs(uint64_t endTick, const std::vector<TempoChange>& tempos, uint32_t ticksPerQuarter) {
    double us = 0;
    uint64_t at = 0;
    uint32_t tempo = kDefaultTempo;
    for (const TempoChange& c : tempos) {
        if (c.tick >= endTick) break;
        us += static_cast<double>(c.tick - at) * tempo / ticksPerQuarter;
        at = c.tick;
        tempo = c.usPerQuarter;
    }
    us += static_cast<double>(endTick - at) * tempo / ticksPerQuarter;
    return us;
}

}  // namespace

int64_t MidiLengthMs(std::string_view bytes) {
    Reader r(bytes);
    uint32_t id, headerLen, format, trackCount, division;
    if (!r.Big(4, id) || id != 0x4D546864u /* MThd */ || !r.Big(4, headerLen) || headerLen < 6) return -1;
    if (!r.Big(2, format) || !r.Big(2, trackCount) || !r.Big(2, division) || !r.Skip(headerLen - 6)) return -1;
    if (format > 2 || division == 0) return -1;

    // SMPTE timing: the high byte is minus the frames per second, the low byte ticks per frame.
    double usPerTickSmpte = 0;
    if (division & 0x8000) {
        int fps = -static_cast<int8_t>(division >> 8);
        int perFrame = static_cast<int>(division & 0xFF);
        if (fps <= 0 || perFrame == 0) return -1;
        double frameRate = fps == 29 ? 30000.0 / 1001.0 : fps;
        usPerTickSmpte = 1e6 / (frameRate * perFrame);
    }

    // The header says how many tracks there are; whatever follows the last is not played.
    std::vector<Track> tracks;
    while (tracks.size() < trackCount && r.Left() >= 8) {
        uint32_t chunkId, len;
        r.Big(4, chunkId);
        r.Big(4, len);
        if (len > r.Left()) return -1;  // cut short
        std::string_view chunk = r.Take(len);
        if (chunkId != 0x4D54726Bu /* MTrk */) continue;  // unknown chunks are skipped
        Track t;
        if (!ParseTrack(chunk, t)) return -1;
        tracks.push_back(std::move(t));
    }
    if (tracks.size() < trackCount) return -1;

    auto duration = [&](uint64_t endTick, std::vector<TempoChange>& tempos) {
        if (usPerTickSmpte > 0) return static_cast<double>(endTick) * usPerTickSmpte;
        std::stable_sort(tempos.begin(), tempos.end(),
                         [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        return PulsesToUs(endTick, tempos, division);
    };

    double us = 0;
    if (format == 2) {
        // Independent sequences played one after the other, each with its own tempo.
        for (Track& t : tracks) us += duration(t.endTick, t.tempos);
    } else {
        // Simultaneous tracks share one tempo map, wherever its events stand.
        uint64_t endTick = 0;
        std::vector<TempoChange> tempos;
        for (const Track& t : tracks) {
            endTick = std::max(endTick, t.endTick);
            tempos.insert(tempos.end(), t.tempos.begin(), t.tempos.end());
        }
        us = duration(endTick, tempos);
    }
    // Far beyond any real tune; keeps the conversion defined.
    constexpr double kMaxMs = 9.0e15;
    return static_cast<int64_t>(std::llround(std::min(us / 1000.0, kMaxMs)));
}

}  // namespace kiv
