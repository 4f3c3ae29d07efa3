#include "sound_files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "demo_tables.h"

namespace kiv::demo {

namespace {

constexpr int kEffectRate = 22050, kVoiceRate = 11025;

void Put16(std::string& b, uint32_t v) {
    b += char(v & 255);
    b += char((v >> 8) & 255);
}
void Put32(std::string& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void WriteWav(const std::string& path, const std::string& data, int rate, int bits) {
    std::string b = "RIFF";
    Put32(b, uint32_t(36 + data.size()));
    b += "WAVEfmt ";
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, 1);
    Put32(b, uint32_t(rate));
    Put32(b, uint32_t(rate * bits / 8));
    Put16(b, uint16_t(bits / 8));
    Put16(b, uint16_t(bits));
    b += "data";
    Put32(b, uint32_t(data.size()));
    b += data;
    if (data.size() % 2) b += '\0';
    std::ofstream f(path, std::ios::binary);
    f.write(b.data(), std::streamsize(b.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

// A tiny fixed noise source, the same on every run.
struct Noise {
    uint32_t s;
    float Next() {
        s = s * 1664525u + 1013904223u;
        return float(int32_t(s) >> 8) / float(1 << 23);
    }
};

Samples Silence(double seconds, int rate) { return Samples(size_t(seconds * rate), 0.0f); }

// Adds a tone whose frequency slides from f0 to f1, with an attack and an exponential decay.
void Tone(Samples& s, int rate, double start, double len, double f0, double f1, double amp, double decay,
          double harmonics = 0) {
    double phase = 0;
    size_t a = size_t(start * rate), n = size_t(len * rate);
    if (s.size() < a + n) s.resize(a + n, 0.0f);
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / rate, k = double(i) / double(n);
        double f = f0 + (f1 - f0) * k;
        phase += 2 * M_PI * f / rate;
        double env = std::min(1.0, t / 0.004) * std::exp(-decay * t) * std::min(1.0, double(n - i) / (0.004 * rate));
        double v = std::sin(phase) + harmonics * std::sin(2 * phase) * 0.5 + harmonics * std::sin(3 * phase) * 0.25;
        s[a + i] += float(amp * env * v);
    }
}

// Noise through a one-pole low pass; cutoff as a fraction 0..1.
void Hiss(Samples& s, int rate, double start, double len, double amp, double cutoff, double decay, uint32_t seed) {
    Noise n{seed};
    size_t a = size_t(start * rate), m = size_t(len * rate);
    if (s.size() < a + m) s.resize(a + m, 0.0f);
    double y = 0;
    for (size_t i = 0; i < m; ++i) {
        double t = double(i) / rate;
        y += cutoff * (n.Next() - y);
        double env = std::min(1.0, t / 0.01) * std::exp(-decay * t) * std::sin(M_PI * double(i) / double(m));
        s[a + i] += float(amp * env * y * 2.5);
    }
}

void Normalise(Samples& s, float peak) {
    float m = 0;
    for (float v : s) m = std::max(m, std::fabs(v));
    if (m > 0)
        for (float& v : s) v = v / m * peak;
}

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// The samples of a 16-bit mono WAV file from espeak-ng, halved in rate, with the silence
// trimmed off both ends. Empty when the file is not one.
Samples ReadSpeech(const std::string& path) {
    std::string b = ReadAll(path);
    if (b.size() < 44 || b.compare(0, 4, "RIFF") != 0) return {};
    size_t pos = 12;
    Samples out;
    while (pos + 8 <= b.size()) {
        uint32_t len = uint8_t(b[pos + 4]) | uint8_t(b[pos + 5]) << 8 | uint8_t(b[pos + 6]) << 16 |
                       uint32_t(uint8_t(b[pos + 7])) << 24;
        if (b.compare(pos, 4, "data") == 0) {
            size_t n = std::min<size_t>(len, b.size() - pos - 8) / 2;
            for (size_t i = 0; i + 1 < n; i += 2) {
                auto at = [&](size_t k) {
                    return float(int16_t(uint8_t(b[pos + 8 + 2 * k]) | uint8_t(b[pos + 9 + 2 * k]) << 8)) / 32768.0f;
                };
                out.push_back((at(i) + at(i + 1)) * 0.5f);
            }
            break;
        }
        pos += 8 + len + (len & 1);
    }
    size_t first = 0, last = out.size();
    while (first < last && std::fabs(out[first]) < 0.01f) ++first;
    while (last > first && std::fabs(out[last - 1]) < 0.01f) --last;
    return Samples(out.begin() + long(first), out.begin() + long(last));
}

// What the voice says: the line without its codes, the name placeholder read as "friend".
std::string SpokenText(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '|') {
            out += ' ';
            continue;
        }
        if (utf8.substr(i, 3) == "\uFF27") {
            out += "friend";
            i += 2;
            continue;
        }
        out += utf8[i];
    }
    return out;
}

int CountCharacters(std::string_view utf8) {
    int n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80 && c != '|') ++n;
    return n;
}

}  // namespace

void WriteWav16(const std::string& path, const Samples& s, int rate) {
    std::string d;
    for (float v : s) Put16(d, uint16_t(int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f))));
    WriteWav(path, d, rate, 16);
}

void WriteWav8(const std::string& path, const Samples& s, int rate) {
    std::string d;
    for (float v : s) d += char(uint8_t(std::lround(128.0f + std::clamp(v, -1.0f, 1.0f) * 127.0f)));
    WriteWav(path, d, rate, 8);
}

Samples Murmur(int syllables, unsigned seed) {
    const int rate = kVoiceRate;
    Noise n{seed};
    Samples s;
    double t = 0.03;
    for (int k = 0; k < syllables; ++k) {
        double len = 0.085 + 0.03 * (n.Next() + 1);
        double f0 = 300 + 60 * n.Next() - 40.0 * k / std::max(1, syllables);  // falls a little
        double formant = 700 + 500 * (n.Next() + 1);
        size_t a = size_t(t * rate), m = size_t(len * rate);
        if (s.size() < a + m) s.resize(a + m, 0.0f);
        double ph = 0;
        for (size_t i = 0; i < m; ++i) {
            double x = double(i) / double(m);
            ph += 2 * M_PI * f0 * (1 + 0.08 * std::sin(M_PI * x)) / rate;
            double v = 0;
            for (int h = 1; h <= 8; ++h) {  // harmonics weighted round a vowel formant
                double fh = f0 * h, w = std::exp(-std::pow((fh - formant) / 450.0, 2)) +
                                        0.6 * std::exp(-std::pow((fh - 350) / 200.0, 2));
                v += w * std::sin(h * ph) / h;
            }
            double env = std::sin(M_PI * x);
            s[a + i] += float(0.6 * env * env * v);
        }
        t += len + ((k % 4 == 3) ? 0.09 : 0.015);
    }
    s.resize(s.size() + size_t(0.05 * rate), 0.0f);
    Normalise(s, 0.8f);
    return s;
}

void WriteEffects(const std::string& dir) {
    const int r = kEffectRate;
    auto out = [&](int n, Samples s) {
        Normalise(s, 0.85f);
        char name[16];
        std::snprintf(name, sizeof name, "Q%02d.wav", n);
        WriteWav16(dir + name, s, r);
    };
    Samples s;
    s = Silence(0.12, r);
    Hiss(s, r, 0, 0.12, 1, 0.25, 12, 11);
    out(1, s);  // rub
    s = Silence(0.1, r);
    Tone(s, r, 0, 0.09, 1300, 1900, 1, 18, 0.3);
    out(2, s);  // squeak
    s = Silence(0.3, r);
    Tone(s, r, 0, 0.12, 280, 760, 1, 8, 0.5);  // refill: bloop
    Tone(s, r, 0.12, 0.16, 520, 1040, 0.8, 10, 0.3);
    out(3, s);
    s = Silence(0.06, r);
    Tone(s, r, 0, 0.05, 980, 900, 1, 40, 0.4);
    Hiss(s, r, 0, 0.02, 0.5, 0.6, 60, 4);
    out(4, s);  // tick
    s = Silence(0.45, r);
    Tone(s, r, 0, 0.4, 880, 880, 0.8, 7, 0.2);
    Tone(s, r, 0.08, 0.37, 1320, 1320, 0.8, 7, 0.2);
    out(5, s);  // chime
    s = Silence(0.03, r);
    Tone(s, r, 0, 0.025, 2100, 1900, 1, 90, 0.2);
    out(6, s);  // typing
    s = Silence(0.03, r);
    Tone(s, r, 0, 0.025, 1200, 1100, 0.6, 90, 0.1);
    out(7, s);  // typing a blank
    s = Silence(0.07, r);
    Tone(s, r, 0, 0.06, 640, 520, 1, 45, 0.6);
    Hiss(s, r, 0, 0.015, 0.6, 0.7, 90, 8);
    out(8, s);  // click
    s = Silence(0.1, r);
    Tone(s, r, 0, 0.09, 420, 980, 1, 25, 0.2);
    out(9, s);  // pop
    s = Silence(0.16, r);
    Hiss(s, r, 0, 0.16, 1, 0.12, 9, 12);
    out(10, s);  // soft brush
    s = Silence(0.2, r);
    for (int i = 0; i < 4; ++i) Tone(s, r, i * 0.035, 0.08, 2400 + 300 * i, 2600 + 300 * i, 0.6, 25);
    out(11, s);  // sparkle
    s = Silence(0.36, r);
    for (int i = 0; i < 3; ++i) Tone(s, r, i * 0.09, 0.12, 300 + 160 * i, 900 + 200 * i, 0.9, 14, 0.4);
    out(12, s);  // bubbles
}

int WriteVoices(const std::string& dir, bool useSpeech) {
    int spoken = 0;
    const std::string tmpText = dir + ".voice.txt", tmpWav = dir + ".voice.wav";
    for (int s = 0; s < kStages; ++s)
        for (int i = 1; i <= 10; ++i) {
            if (!(kVoicedLines & (1u << (i - 1)))) continue;
            std::string_view line = kTexts[s][i - 1];
            char name[16];
            std::snprintf(name, sizeof name, "V%02d%d.wav", s + 1, i - 1);
            Samples v;
            if (useSpeech && IsEnglishLine(line)) {
                {
                    std::ofstream t(tmpText, std::ios::binary);
                    t << SpokenText(line);
                }
                // A young voice: higher pitch, a little quicker than the default.
                std::string cmd = "espeak-ng -v en-us+f4 -p 68 -s 175 -a 160 -w '";
                cmd += tmpWav;
                cmd += "' -f '";
                cmd += tmpText;
                cmd += "' 2>/dev/null";
                if (std::system(cmd.c_str()) == 0) v = ReadSpeech(tmpWav);
                if (!v.empty()) ++spoken;
            }
            if (v.empty()) {  // about a syllable per Japanese character, per four English letters
                int n = CountCharacters(line);
                v = Murmur(std::max(2, IsEnglishLine(line) ? n / 4 : n * 2 / 3), unsigned(s * 31 + i));
            }
            WriteWav8(dir + name, v, kVoiceRate);
        }
    std::remove(tmpText.c_str());
    std::remove(tmpWav.c_str());
    return spoken;
}

}  // namespace kiv::demo
