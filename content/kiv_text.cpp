#include "kiv_text.h"

#include <iconv.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "canvas.h"
#include "demo_tables.h"

namespace kiv::demo {

std::string ToShiftJis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open fails with (iconv_t)-1
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no CP932");
    std::string out(utf8.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    if (r == size_t(-1)) throw std::runtime_error("no Shift-JIS form for text: " + utf8);
    out.resize(out.size() - outLeft);
    return out;
}

namespace {

std::string Join(const auto& values, int width = 4) {
    std::string s;
    for (size_t i = 0; i < values.size(); ++i) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%*d", i == 0 ? width - 1 : width, int(values[i]));
        s += buf;
    }
    return s;
}

// The widest row of a typed line, in pixels: each two-byte unit advances by its width plus 2,
// in a 14-pixel italic Gothic, with the default name in place of the placeholder.
double WidestRow(std::string utf8) {
    for (size_t p; (p = utf8.find("\uFF27")) != std::string::npos;) utf8.replace(p, 3, kDefaultPlayerName);
    std::string line = KivLine(utf8);
    double x = 0, widest = 0;
    for (size_t k = 0; k < line.size();) {
        unsigned char c = static_cast<unsigned char>(line[k]);
        size_t n = c < 0x80 ? 2 : c >= 0xE0 ? 3 : 2;
        std::string u = line.substr(k, n);
        k += n;
        if (u == "_/") break;
        if (u == "__") {
            x = 0;
            continue;
        }
        x += Canvas::TextWidth(u, "IPAPGothic Italic 14") + 2;
        widest = std::max(widest, x);
    }
    return widest;
}

}  // namespace

std::string BuildKivText() {
    std::vector<std::string> lines;
    auto add = [&](std::string l) { lines.push_back(std::move(l)); };

    const std::string name = ToShiftJis(std::string(kDefaultPlayerName));
    add(name);                           // 1
    for (int s = 0; s < kStages; ++s) {  // 2..11
        std::array<int16_t, 15> row = FaceRow(kStageDesigns[s].spread);
        std::string l = row[0] < 0 ? "$FFFF" : std::to_string(row[0]);  // -1 in hexadecimal
        for (size_t i = 1; i < row.size(); ++i) {
            l += ' ';
            l += std::to_string(row[i]);
        }
        add(l + "    ; stage " + std::to_string(s + 1) + " face: spread, cel offset x y, eye, eye, mouth");
    }
    add(std::string(kPresetRankLine));  // 12
    for (int s = 0; s < kStages; ++s)   // 13..22
        add(Join(LayoutRow(kStageDesigns[s])) + "    ; stage " + std::to_string(s + 1) + " " + kStageDesigns[s].name);
    add(Join(kEndingLayout) + "    ; ending: End2 size, its place, End3 size, its place");            // 23
    add("; next scene-1, text colour, sounds x3, cels, stamp, background, picture, decorations x4");  // 24
    for (int s = 0; s < kStages; ++s) add(Join(ParamsRow(s, kStageDesigns[s])));                      // 25..34
    add("; effect files of slots 0..8 (Q + number + .wav)");                                          // 35
    add(Join(kSoundNumbers) + "    ; slots 0..2 change with each stage");                             // 36
    add("; reaction zones: A, B, C centres, D centre radius, E centre radius");                       // 37
    for (int s = 0; s < kStages; ++s) add(Join(StageSpotsRow(s)));                                    // 38..47
    add("; twenty check points per stage, five x y pairs a line");                                    // 48
    for (int s = 0; s < kStages; ++s)                                                                 // 49..88
        for (int j = 0; j < 4; ++j) {
            std::string l;
            for (int k = 0; k < 5; ++k) {
                const Pt& p = StagePoints(s)[size_t(j) * 5 + size_t(k)];
                char buf[32];
                std::snprintf(buf, sizeof buf, "%s%d %d", k ? "   " : "", p.X, p.Y);
                l += buf;
            }
            if (j == 0) l += "    ; stage " + std::to_string(s + 1);
            add(l);
        }
    add("; opening logo: letter boundaries of its three rows, $FF ends a row");  // 89
    for (const auto& row : kOpeningScript) {                                     // 90..92
        std::string l;
        for (size_t i = 0; i < row.size(); ++i) {
            if (i) l += ' ';
            l += row[i] == 255 ? std::string("$FF") : std::to_string(row[i]);
        }
        add(l);
    }
    add("; 48 palette colours, red green blue 0..15, four a line");  // 93
    for (int i = 0; i < 12; ++i) {                                   // 94..105
        std::string l;
        for (int k = 0; k < 4; ++k) {
            const Rgb4& c = kPalette[4 * size_t(i) + size_t(k)];
            char buf[48];
            if (i % 4 == 3)
                std::snprintf(buf, sizeof buf, "%s$%X $%X $%X", k ? "   " : "", c.R, c.G, c.B);
            else if (i == 6)
                std::snprintf(buf, sizeof buf, "%s0x%X 0x%X 0x%X", k ? "   " : "", c.R, c.G, c.B);
            else
                std::snprintf(buf, sizeof buf, "%s%d %d %d", k ? "   " : "", c.R, c.G, c.B);
            l += buf;
        }
        add(l);
    }
    add("; a line the game skips, then the seed of the result code");  // 106
    add("0 0 0 0 0 0 0 0");                                            // 107
    {
        char buf[48];
        std::snprintf(buf, sizeof buf, "$%X", unsigned(kResultCodeSeed));
        add(buf);  // 108
    }
    add("; music of slots 0..22 (Kv + number + .mid; 0 = none): ending, title, stages, challenge, ending");  // 109
    add(Join(MusicNumbers(), 3));                                                                            // 110
    add("; ten lines a stage: intro, not cleared, cleared, pause, body x2, feet x2, hand x2");               // 111
    for (int s = 0; s < kStages; ++s)                                                                        // 112..211
        for (int i = 0; i < 10; ++i) {
            std::string t = ToShiftJis(KivLine(kTexts[size_t(s)][size_t(i)]));
            if (WidestRow(kTexts[size_t(s)][size_t(i)]) > kTextRight - kTextX)
                throw std::runtime_error("stage " + std::to_string(s + 1) + " line " + std::to_string(i + 1) +
                                         " has a row too wide for the speech corner; break it with '|'");
            // The game puts the player's name in for the placeholder; with the default name the
            // line must still fit its 95 bytes, or its end code is cut off.
            std::string named = t;
            for (size_t p = 0; (p = named.find("\x82\x66", p)) != std::string::npos; p += name.size())
                named.replace(p, 2, name);
            const size_t bytes = named.size();
            if (bytes > 95)
                throw std::runtime_error("stage " + std::to_string(s + 1) + " line " + std::to_string(i + 1) + " is " +
                                         std::to_string(bytes) + " bytes with the default name, more than 95");
            add(t);
        }
    add("; the help line of the title menu");  // 212
    add(ToShiftJis(std::string(kHelpLine)));   // 213
    if (lines.size() != 213) throw std::runtime_error("Kiv.txt has " + std::to_string(lines.size()) + " lines");
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

}  // namespace kiv::demo
