#pragma once

// A game folder for the title menu whose sheets tell their pixels apart: every pixel of the
// parts sheet encodes its own place, and each emblem slice is a 12 x 12 square of its own
// colour, open or closed.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "scenes/menu/menu.h"
#include "test_game.h"

namespace kiv::menu_test {

inline uint32_t PartsPixel(int x, int y) {
    return 0x800000u | (static_cast<uint32_t>(x) << 9) | static_cast<uint32_t>(y);
}
inline uint32_t MaskSheetPixel(int x, int y) {
    return 0x400000u | (static_cast<uint32_t>(x) << 9) | static_cast<uint32_t>(y);
}
inline uint32_t OpenColour(int a) { return 0x20A0E0u + static_cast<uint32_t>(a); }
inline uint32_t ClosedColour(int a) { return 0x808000u + static_cast<uint32_t>(a); }

// The emblem's slices as the menu's layout gives them (the sheet strip, the place at rest, the
// direction out), written out here so that a slip in the game's own table shows.
struct SliceLayout {
    int SrcLeft, SrcRight, Left, Top, Dx, Dy;
};
constexpr std::array<SliceLayout, 8> kSliceLayout{{
    {0, 64, 287, 163, 0, -1},
    {64, 142, 318, 163, 1, -1},
    {142, 219, 319, 208, 1, 0},
    {219, 297, 318, 239, 1, 1},
    {297, 361, 287, 240, 0, 1},
    {361, 439, 242, 239, -1, 1},
    {439, 516, 242, 208, -1, 0},
    {516, 594, 242, 163, -1, -1},
}};

// The square of slice a, in the slice's own coordinates (0..width, 0..78).
inline int SquareLeft(int a) {
    const auto& s = kSliceLayout[static_cast<size_t>(a)];
    return (s.SrcRight - s.SrcLeft) / 2 - 6;
}
constexpr int kSquareTop = 33;
constexpr int kSquareSide = 12;

// The slice a square belongs to on an icon sheet, or -1.
inline int SliceAt(int x, int y) {
    for (int a = 0; a < 8; ++a) {
        const int left = kSliceLayout[static_cast<size_t>(a)].SrcLeft + SquareLeft(a);
        if (x >= left && x < left + kSquareSide && y >= kSquareTop && y < kSquareTop + kSquareSide) return a;
    }
    return -1;
}

// The centre of slice a's square on the screen when the slice lies k pixels out.
inline std::array<int, 2> SquareCentre(int a, int k = 0) {
    const auto& s = kSliceLayout[static_cast<size_t>(a)];
    return {s.Left + SquareLeft(a) + 6 + k * s.Dx, s.Top + kSquareTop + 6 + k * s.Dy};
}

// Top-left corner of the 25 x 25 marker of an item (1..19), as the layout gives them.
inline std::array<int, 2> MarkerPlace(int item) {
    constexpr int places[13][2] = {{306, 104}, {397, 137}, {430, 228}, {397, 318},
                                   {306, 351}, {216, 318}, {183, 228}, {216, 137},
                                   {531, 285}, {476, 290}, {419, 290}, {242, 104} /* items 12..18 */,
                                   {5, 30}};
    const auto& p = places[item >= 19 ? 12 : item >= 12 ? 11 : item - 1];
    return {p[0], p[1]};
}

struct MenuGame {
    // ini: the Kiv.ini the game starts with ("" for none); ticker: the help line; fonts: the
    // font it is drawn in (none: it takes its width but shows nothing).
    explicit MenuGame(const std::string& ini = "", const std::string& ticker = "Help", FontRenderer* fonts = nullptr) {
        KivTextLines text;
        text.lines[35] = "0 0 0 3 4 0 0 7 8";  // effect slots 3, 4, 7, 8 play Q03, Q04, Q07, Q08
        text.lines[212] = ticker;
        WriteMinimalGame(dir, text);
        dir.Write("Ptit.bmp", MakeBmp(640, 480, PartsPixel));
        dir.Write("Ptitm.bmp", MakeBmp(640, 480, MaskSheetPixel));
        auto sheet = [](uint32_t (*colour)(int)) {
            return MakeBmp(600, 80, [colour](int x, int y) {
                const int a = SliceAt(x, y);
                return a < 0 ? 0u : colour(a);
            });
        };
        dir.Write("Pchz.bmp", sheet(OpenColour));
        dir.Write("Pchzd.bmp", sheet(ClosedColour));
        dir.Write("Pchzm.bmp", MakeBmp(600, 80, [](int x, int y) { return SliceAt(x, y) < 0 ? 0xFFFFFFu : 0u; }));
        for (const char* name : {"Q03.wav", "Q04.wav", "Q07.wav", "Q08.wav"}) dir.Write(name, "RIFF");
        if (!ini.empty()) dir.Write("Kiv.ini", ini);
        game = std::make_unique<HeadlessGame>(dir.Path(), "", fonts);
        game->platform.GetTrace().Open(dir.File("trace0.jsonl"));
    }

    Game& g() { return game->game; }
    int16_t Sc(int k) { return g().Shell.SceneCounters[static_cast<size_t>(k)]; }
    int16_t Step() { return Sc(menu::kStep); }
    uint32_t Window(int x, int y) { return game->platform.WindowImage()[static_cast<size_t>(y) * 640 + x]; }
    uint32_t Back(int x, int y) { return g().Media.BackBmp.Pixels[static_cast<size_t>(y) * 640 + x]; }
    uint32_t Parts(int x, int y) {
        return g().Media.PartsBmp.Pixels[static_cast<size_t>(y) * g().Media.PartsBmp.Width + x];
    }
    // Runs n frames. In every frame of the menu after its build-up the rings move on by one
    // (their counter runs 0..80), whatever else the menu does; only carrying out a stage, the
    // challenge or the end stops them.
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            const bool inMenu = g().Shell.SceneNo == 1;
            const int step = Step(), item = Sc(menu::kItem), ring = Sc(menu::kRingFrame);
            game->Frames(1);
            const bool pulses =
                step >= menu::kStepWait && (step < menu::kStepCarryOut || item == menu::kItemHelp ||
                                            item == menu::kItemMemoriesLast || item == menu::kItemRanking);
            if (inMenu && pulses && g().Shell.SceneNo == 1) {
                EXPECT_EQ(Sc(menu::kRingFrame), (ring + 1) % 81) << "step " << step << ", item " << item;
            }
        }
    }
    void Click(int x, int y, MouseButton button = MouseButton::Left) {
        game->form.MouseDown(button, false, x, y);
        game->form.MouseUp(button, false, x, y);
    }

    // Clicks the opening away and runs the menu until it waits for a choice.
    bool ToMenu() {
        Click(5, 5);
        for (int i = 0; i < 100 && g().Shell.SceneNo != 1; ++i) Frames(1);
        Frames(67);
        return g().Shell.SceneNo == 1 && Step() == menu::kStepWait;
    }

    // Everything traced so far (the trace goes on in a new file).
    const std::string& TraceSoFar() {
        game->platform.GetTrace().Open(dir.File("trace" + std::to_string(++traceFile) + ".jsonl"));
        trace += dir.Read("trace" + std::to_string(traceFile - 1) + ".jsonl");
        return trace;
    }
    // Effects of a slot traced since the last call.
    int NewEffects(int slot) {
        const size_t from = trace.size();
        TraceSoFar();
        int n = 0;
        const std::string key = "\"ev\":\"effect\",\"slot\":" + std::to_string(slot) + ",";
        for (size_t at = trace.find(key, from); at != std::string::npos; at = trace.find(key, at + 1)) ++n;
        return n;
    }

    // Whether the window shows rect (l, t, r, b) of the parts sheet at (x, y), one to one.
    bool ShowsParts(int l, int t, int r, int b, int x, int y) {
        for (int sy = t; sy < b; ++sy)
            for (int sx = l; sx < r; ++sx)
                if (Window(x + sx - l, y + sy - t) != Parts(sx, sy)) return false;
        return true;
    }

    TempDir dir;
    std::unique_ptr<HeadlessGame> game;
    std::string trace;
    int traceFile = 0;
};

// A Kiv.ini with the stages open and every rank holding a result of its own.
inline std::string IniWith(int stagesOpen, bool ownRanks) {
    std::string ini = "[Kiv]\r\nStage=" + std::to_string(stagesOpen) + "\r\n";
    for (int k = 1; ownRanks && k <= 30; ++k)
        ini += "Rank" + std::string(k < 10 ? "0" : "") + std::to_string(k) + "=abcdeplayer" +
               std::to_string(90000 - 100 * k) + "\r\n";
    return ini;
}

}  // namespace kiv::menu_test
