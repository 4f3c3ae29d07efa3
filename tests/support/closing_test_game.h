#pragma once

// A headless game entered straight into a closing scene with the state a stage leaves, and
// what the window shows and the trace records while it runs.
#include <memory>
#include <string>
#include <vector>

#include "game/scene_control.h"
#include "test_game.h"

namespace kiv::closing_test {

// The parts sheet: every pixel of the glyph rows has its own non-black colour.
inline uint32_t SheetPixel(int x, int y) {
    return 0x800000u | (static_cast<uint32_t>(x & 0xFF) << 8) | static_cast<uint32_t>(y & 0xFF);
}
// End1 is one colour; End2 (20 x 10) and End3 (10 x 10) have a colour for each pixel.
constexpr uint32_t kEnd1 = 0x336699;
inline uint32_t End2Pixel(int x, int y) { return 0xC00000u | static_cast<uint32_t>(x << 8 | y); }
inline uint32_t End3Pixel(int x, int y) { return 0x00C000u | static_cast<uint32_t>(x << 4 | y); }

// Inset A takes End2's 20 x 10 doubled; inset B takes End3's 10 x 10 as it is.
constexpr Rect kInsetA{300, 100, 340, 120};
constexpr Rect kInsetB{500, 60, 510, 70};

// Effect slots 3, 5, 6, 7 and 8 play Q13, Q15, Q16, Q17 and Q18; music slots 0, 1 and 22 are
// Kv40, Kv41 and Kv42.
struct ClosingGame {
    ClosingGame() {
        KivTextLines text;
        text.lines[22] = "20 10 300 100 340 120 10 10 500 60 510 70 0 0 0 0 0";
        text.lines[35] = "0 0 0 13 0 15 16 17 18";
        std::string music = "40 41";
        for (int i = 2; i < 22; ++i) music += " 0";
        text.lines[109] = music + " 42";
        WriteMinimalGame(dir, text);
        dir.Write("Ptit.bmp", MakeBmp(640, 480, SheetPixel));
        dir.Write("End1.bmp", MakeBmp(640, 480, [](int, int) { return kEnd1; }));
        dir.Write("End2.bmp", MakeBmp(20, 10, End2Pixel));
        dir.Write("End3.bmp", MakeBmp(10, 10, End3Pixel));
        for (const char* name : {"Q13", "Q15", "Q16", "Q17", "Q18"}) dir.Write(std::string(name) + ".wav", "RIFF");
        for (const char* name : {"Kv40", "Kv41", "Kv42"}) dir.Write(std::string(name) + ".mid", "MThd");
        game = std::make_unique<HeadlessGame>(dir.Path());
        platform().GetTrace().Open(dir.File("trace0.jsonl"));
    }

    Game& g() { return game->game; }
    HeadlessPlatform& platform() { return game->platform; }
    int16_t Sc(int k) { return g().Shell.SceneCounters[static_cast<size_t>(k)]; }
    int Scene() { return g().Shell.SceneNo; }
    uint32_t Window(int x, int y) { return platform().WindowImage()[static_cast<size_t>(y) * 640 + x]; }
    void Frames(int n) { game->Frames(n); }
    void Press(MouseButton b, int x, int y) {
        game->form.MouseDown(b, false, x, y);
        game->form.MouseUp(b, false, x, y);
    }

    // Scene 12 or 13 from step 0, after a stage that left this outcome.
    void Enter(int scene, uint8_t outcome, bool challenge) {
        g().Play.StageOutcome = outcome;
        g().Play.ChallengeMode = challenge;
        g().Shell.SceneNo = static_cast<uint8_t>(scene);
        ResetSceneCounters(g());
    }

    // Counts the pixels of rect r in the window that are not black.
    int Lit(const Rect& r) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += Window(x, y) != 0;
        return n;
    }
    // True when the 5 x 8 cell at (x, y) of the window shows the parts sheet's cell at (sx, sy).
    bool ShowsCell(int x, int y, int sx, int sy) {
        const Surface& parts = g().Media.PartsBmp;
        for (int dy = 0; dy < 8; ++dy)
            for (int dx = 0; dx < 5; ++dx)
                if (Window(x + dx, y + dy) != parts.Row(sy + dy)[sx + dx]) return false;
        return true;
    }
    // The letter-row cell of c (a..z, "_", " ") at text position (x, y).
    bool ShowsLetter(int x, int y, char c) {
        const int i = static_cast<int>(std::string_view("abcdefghijklmnopqrstuvwxyz_ ").find(c));
        return ShowsCell(x, y - 1, 6 * i, 42);
    }
    // The digit-row cell of c ("0".."9", "S", "N", "D", "T", ":").
    bool ShowsDigit(int x, int y, char c) {
        const int i = static_cast<int>(std::string_view("0123456789SNDT:").find(c));
        return ShowsCell(x, y - 1, 6 * i, 35);
    }

    // The trace so far as lines; the trace goes on in a fresh file.
    std::vector<std::string> TakeTrace() {
        const std::string name = "trace" + std::to_string(traces) + ".jsonl";
        platform().GetTrace().Open(dir.File("trace" + std::to_string(++traces) + ".jsonl"));
        std::vector<std::string> lines;
        std::string all = dir.Read(name);
        for (size_t at = 0, nl; at < all.size(); at = nl + 1) {
            nl = all.find('\n', at);
            if (nl == std::string::npos) nl = all.size();
            lines.push_back(all.substr(at, nl - at));
        }
        return lines;
    }
    // How many of the lines hold every one of the parts.
    static int Count(const std::vector<std::string>& lines, std::initializer_list<std::string_view> parts) {
        int n = 0;
        for (const auto& l : lines) {
            bool all = true;
            for (auto p : parts) all = all && l.find(p) != std::string::npos;
            n += all;
        }
        return n;
    }

    TempDir dir;
    std::unique_ptr<HeadlessGame> game;
    int traces = 0;
};

}  // namespace kiv::closing_test
