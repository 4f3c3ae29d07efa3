#include "music.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kiv::demo {

namespace {

void PutVarLen(std::string& b, uint32_t v) {
    char buf[5];
    int n = 0;
    buf[n++] = char(v & 0x7F);
    while (v >>= 7) buf[n++] = char((v & 0x7F) | 0x80);
    while (n) b += buf[--n];
}
void Put32(std::string& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b += char((v >> s) & 255);
}
void Put16(std::string& b, uint32_t v) {
    b += char((v >> 8) & 255);
    b += char(v & 255);
}

int NoteNumber(const std::string& name) {
    static const int base[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G') throw std::runtime_error("bad note " + name);
    int n = base[name[0] - 'A'];
    size_t i = 1;
    if (i < name.size() && name[i] == '#') {
        ++n;
        ++i;
    } else if (i < name.size() && name[i] == 'b') {
        --n;
        ++i;
    }
    if (i >= name.size()) throw std::runtime_error("bad note " + name);
    int octave = std::stoi(name.substr(i));
    return 12 * (octave + 1) + n;
}

struct Tune {
    int number, bpm;
    uint8_t lead, chords, bass;  // instruments
    int chordStyle;              // 0 held, 1 arpeggio, 2 quarter pulses
    int drums;                   // 0 none, 1 light, 2 full
    int keyRoot;                 // pitch class of the major scale the tune lives in
    const char* chordNames;      // one chord per bar
    const char* melody;
};

const Tune kTunes[] = {
    {1, 104, 11, 48, 32, 0, 1, 0, "C G Am F C F G C",
     "E5:2 G5:2 C6:3 B5:1 B5:2 G5:2 D5:4 C5:2 E5:2 A5:3 G5:1 F5:2 A5:2 C6:4 "
     "E5:2 G5:2 C6:2 E6:2 D6:2 C6:2 A5:4 G5:2 B5:2 D6:2 B5:2 C6:6 r:2"},
    {2, 96, 12, 0, 33, 1, 1, 5, "F C Dm Bb F Bb C F",
     "A4:3 C5:1 F5:2 A5:2 G5:4 E5:2 C5:2 D5:2 F5:2 A5:2 D5:2 D5:4 C5:2 Bb4:2 "
     "A4:2 C5:2 F5:2 A5:2 Bb5:3 A5:1 G5:2 F5:2 E5:2 G5:2 C5:2 E5:2 F5:6 r:2"},
    {3, 116, 73, 45, 32, 2, 1, 7, "G Em C D G C D G",
     "D5:1 G5:1 B5:2 A5:1 G5:1 D5:2 E5:2 G5:1 B5:1 E6:4 C6:1 B5:1 A5:2 G5:2 E5:2 F#5:2 A5:2 D6:4 "
     "B5:1 A5:1 G5:2 D5:2 B4:2 C5:2 E5:2 G5:2 C6:2 A5:2 F#5:2 D5:2 F#5:2 G5:6 r:2"},
    {4, 120, 56, 61, 33, 2, 2, 10, "Bb F Gm Eb Bb Eb F Bb",
     "F4:2 Bb4:2 D5:2 F5:2 F5:3 Eb5:1 C5:4 D5:2 G5:2 Bb5:2 G5:2 Bb5:3 A5:1 G5:4 "
     "F5:2 D5:2 Bb4:2 D5:2 Eb5:2 G5:2 Bb5:2 G5:2 A5:2 C6:2 A5:2 F5:2 Bb5:6 r:2"},
    {5, 144, 80, 0, 38, 1, 2, 0, "Am F C G Am F E Am",
     "A4:1 C5:1 E5:1 A5:1 G5:2 E5:2 F5:1 A5:1 C6:2 A5:2 F5:2 E5:1 G5:1 C6:2 G5:2 E5:2 "
     "D5:1 G5:1 B5:2 D6:2 B5:2 A5:1 B5:1 C6:1 B5:1 A5:2 E5:2 F5:2 A5:2 C6:2 F6:2 "
     "E6:2 D6:1 C6:1 B5:2 G#5:2 A5:6 r:2"},
    {6, 152, 81, 4, 38, 2, 2, 5, "Dm Bb C A Dm Gm A Dm",
     "D5:2 F5:1 A5:1 D6:2 A5:2 Bb5:2 D6:2 F5:2 D5:2 C5:1 E5:1 G5:2 C6:2 G5:2 A5:2 C#6:2 E6:4 "
     "D6:1 C6:1 A5:2 F5:2 D5:2 G5:2 Bb5:2 D6:2 G5:2 E5:2 A5:2 C#6:2 E6:2 D6:6 r:2"},
    {7, 80, 10, 8, 32, 1, 0, 0, "C Am F G C Am Dm C",
     "G5:4 E5:2 C5:2 A5:4 E5:4 F5:2 A5:2 C6:4 B5:4 G5:4 E6:3 D6:1 C6:4 A5:2 C6:2 E6:4 "
     "D6:2 F6:2 B5:4 C6:8"},
    {8, 92, 40, 48, 32, 0, 1, 5, "F Dm Bb C F Dm Gm C",
     "C5:2 F5:2 A5:2 C6:2 D6:3 C6:1 A5:4 Bb5:2 D6:2 F6:2 D6:2 C6:3 Bb5:1 G5:4 "
     "A5:2 C6:2 F6:2 C6:2 D6:2 A5:2 F5:4 G5:2 Bb5:2 D6:2 Bb5:2 C6:4 E5:2 G5:2"},
};

std::vector<int> Chord(const std::string& name) {
    bool minor = name.size() > 1 && name.back() == 'm';
    int root = NoteNumber(name.substr(0, minor ? name.size() - 1 : name.size()) + "3");
    if (root < 53) root += 12;
    return {root, root + (minor ? 3 : 4), root + 7};
}

MidiSong MakeSong(const Tune& t) {
    MidiSong song;
    const uint32_t q = song.ticksPerQuarter, e = q / 2, bar = 4 * q;
    song.microsecondsPerQuarter = 60000000u / uint32_t(t.bpm);
    song.programs = {{0, t.lead}, {1, t.chords}, {2, t.bass}};
    song.programs.push_back({3, t.chords});
    // The tune plays twice: the second time a voice a third above joins the melody.
    static const int scale[7] = {0, 2, 4, 5, 7, 9, 11};
    uint32_t tick = 0;
    for (int pass = 0; pass < 2; ++pass)
        for (auto [key, eighths] : ParseMelody(t.melody)) {
            uint32_t len = e * uint32_t(eighths) - e / 8;
            if (key >= 0) song.notes.push_back({tick, len, 0, uint8_t(key), 96});
            int pc = ((key - t.keyRoot) % 12 + 12) % 12;
            for (int i = 0; pass == 1 && key >= 0 && i < 7; ++i)
                if (scale[i] == pc)
                    song.notes.push_back({tick, len, 3, uint8_t(key + (scale[(i + 2) % 7] - scale[i] + 12) % 12), 70});
            tick += e * uint32_t(eighths);
        }
    std::string chordNames = std::string(t.chordNames) + " " + t.chordNames;
    std::istringstream names(chordNames);
    std::string name;
    uint32_t b = 0;
    while (names >> name) {
        std::vector<int> ch = Chord(name);
        uint32_t start = b * bar;
        if (t.chordStyle == 0) {
            for (int k : ch) song.notes.push_back({start, bar - e / 4, 1, uint8_t(k), 58});
        } else if (t.chordStyle == 1) {
            const int order[8] = {0, 1, 2, 1, 0, 1, 2, 1};
            for (int i = 0; i < 8; ++i) song.notes.push_back({start + i * e, e - e / 8, 1, uint8_t(ch[order[i]]), 62});
        } else {
            for (int i = 0; i < 4; ++i)
                for (int k : ch) song.notes.push_back({start + i * q, q / 2, 1, uint8_t(k), uint8_t(i % 2 ? 52 : 64)});
        }
        int root = ch[0] - 24;
        song.notes.push_back({start, 2 * q - e / 4, 2, uint8_t(root), 88});
        song.notes.push_back({start + 2 * q, 2 * q - e / 4, 2, uint8_t(t.chordStyle == 2 ? root + 7 : root), 80});
        if (t.drums) {
            for (int i = 0; i < 4; ++i) {
                uint8_t drum = (i % 2) ? 38 : 36;  // snare on 2 and 4, kick on 1 and 3
                song.notes.push_back({start + i * q, e / 2, 9, drum, uint8_t(t.drums == 2 ? 90 : 60)});
            }
            if (t.drums == 2)
                for (int i = 0; i < 8; ++i)
                    song.notes.push_back({start + i * e, e / 3, 9, 42, uint8_t(i % 2 ? 40 : 60)});
            else
                for (int i = 0; i < 4; ++i) song.notes.push_back({start + i * q + e, e / 3, 9, 42, 36});
        }
        ++b;
    }
    if (tick != b * bar)
        throw std::runtime_error("tune " + std::to_string(t.number) + ": melody and chords differ in length");
    song.endTick = b * bar;
    return song;
}

}  // namespace

std::vector<std::pair<int, int>> ParseMelody(const std::string& text) {
    std::vector<std::pair<int, int>> out;
    std::istringstream in(text);
    std::string tok;
    while (in >> tok) {
        size_t colon = tok.find(':');
        if (colon == std::string::npos) throw std::runtime_error("bad melody token " + tok);
        int len = std::stoi(tok.substr(colon + 1));
        std::string n = tok.substr(0, colon);
        out.emplace_back(n == "r" ? -1 : NoteNumber(n), len);
    }
    return out;
}

std::string EncodeMidi(const MidiSong& song) {
    struct Ev {
        uint32_t tick;
        int order;
        std::string bytes;
    };
    std::vector<Ev> evs;
    std::string tempo = "\xFF\x51\x03";
    tempo += char((song.microsecondsPerQuarter >> 16) & 255);
    tempo += char((song.microsecondsPerQuarter >> 8) & 255);
    tempo += char(song.microsecondsPerQuarter & 255);
    evs.push_back({0, 0, tempo});
    evs.push_back({0, 0, std::string("\xFF\x58\x04\x04\x02\x18\x08", 7)});
    for (auto [ch, prog] : song.programs) evs.push_back({0, 1, std::string{char(0xC0 | ch), char(prog)}});
    // Channel volume below the maximum leaves the synthesiser headroom: at full volume the
    // chords of a busy bar clip.
    for (int ch = 0; ch < 16; ++ch) evs.push_back({0, 1, std::string{char(0xB0 | ch), char(7), char(80)}});
    for (const MidiNote& n : song.notes) {
        evs.push_back({n.tick, 3, std::string{char(0x90 | n.channel), char(n.key), char(n.velocity)}});
        evs.push_back({n.tick + n.length, 2, std::string{char(0x80 | n.channel), char(n.key), char(0)}});
    }
    // stable order: by time, note-offs before note-ons at the same tick
    std::stable_sort(evs.begin(), evs.end(),
                     [](const Ev& a, const Ev& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
    std::string track;
    uint32_t last = 0;
    for (const Ev& ev : evs) {
        PutVarLen(track, ev.tick - last);
        track += ev.bytes;
        last = ev.tick;
    }
    PutVarLen(track, std::max(song.endTick, last) - last);
    track += std::string("\xFF\x2F\x00", 3);

    std::string out = "MThd";
    Put32(out, 6);
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, song.ticksPerQuarter);
    out += "MTrk";
    Put32(out, uint32_t(track.size()));
    out += track;
    return out;
}

void WriteMusic(const std::string& dir) {
    for (const Tune& t : kTunes) {
        std::string bytes = EncodeMidi(MakeSong(t));
        char name[16];
        std::snprintf(name, sizeof name, "Kv%02d.mid", t.number);
        std::ofstream f(dir + name, std::ios::binary);
        f.write(bytes.data(), std::streamsize(bytes.size()));
        if (!f) throw std::runtime_error(std::string("cannot write ") + name);
    }
}

}  // namespace kiv::demo
