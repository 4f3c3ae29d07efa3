#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "data/random.h"
#include "game/game_media.h"
#include "game/scene_control.h"
#include "media/raster.h"
#include "scenes/stage/erasing.h"
#include "scenes/stage/stage_counters.h"
#include "test_game.h"

namespace kiv {
namespace erasing_test {

// The layers of the test stage: every pixel of each has its own colour, and the background,
// the picture and the stamps never share a colour.
inline uint32_t BackPixel(int x, int y) { return 0x800000u | uint32_t(x & 0xFF) << 8 | uint32_t(y & 0xFF); }
inline uint32_t PicPixel(int x, int y) { return 0x200000u | uint32_t(y & 0x7F) << 8 | uint32_t(x & 0x7F); }

// Stamp r of the sheet erases the square [4, 36) x [4, 36) of its cell, all but a 4 x 4 notch
// at x 4 + 8r: the notch tells which stamp a stroke used.
constexpr int kStampEdge = 4;
inline bool StampErases(int r, int cx, int cy) {
    if (cx < kStampEdge || cx >= 40 - kStampEdge || cy < kStampEdge || cy >= 40 - kStampEdge) return false;
    return !(cy < 8 && cx >= 4 + 8 * r && cx < 8 + 8 * r);
}

// Places of stage 1 (scene 2).
constexpr int kRefillX = 600, kRefillY = 60;  // refill spot, radius 35
constexpr int kSpeechX = 20, kSpeechY = 470;  // tag's bottom-left corner
constexpr int kTagCloseX = kSpeechX + 60, kTagCloseY = kSpeechY - 19;
constexpr int kGuardX = 520, kGuardY = 200, kGuardR = 30;  // protected circle
constexpr int kZoneAX = 200, kZoneAY = 200;                // radius 55
constexpr int kZoneDX = 240, kZoneDY = 200, kZoneDR = 30;
constexpr int kZoneEX = 400, kZoneEY = 330, kZoneER = 40;
constexpr int kPlainX = 330, kPlainY = 120;  // a place in no zone

// Stage 1 in play (scene 2, step 50) on the headless platform, with layers, a stamp sheet and
// spots made here. Ink is 0, as at the start of a stage.
struct ErasingStage {
    explicit ErasingStage(int16_t spread = 0) {
        WriteMinimalGame(dir);
        for (const char* f : {"Q10.wav", "Q11.wav", "Q12.wav"}) dir.Write(f, "RIFF");
        game = std::make_unique<HeadlessGame>(dir.Path());
        Game& g = G();
        g.Cfg.SoundNumbers[0] = 10;
        g.Cfg.SoundNumbers[1] = 11;
        g.Cfg.SoundNumbers[2] = 12;
        auto& w = g.Cfg.StageLayout[0];
        w[0] = kGuardX, w[1] = kGuardY, w[2] = kGuardR;
        w[3] = kSpeechX, w[4] = kSpeechY;
        w[5] = kRefillX, w[6] = kRefillY;
        auto& z = g.Cfg.StageSpots[0];
        z = {kZoneAX, kZoneAY, -3000, -3000, -3000, -3000, kZoneDX, kZoneDY, kZoneDR, kZoneEX, kZoneEY, kZoneER};
        g.Cfg.FaceTable[0][0] = spread;
        for (int i = 0; i < 20; ++i)
            g.Cfg.CheckPoints[0][static_cast<size_t>(i)] = Point16{static_cast<int16_t>(60 + 25 * i), 300};

        MediaState& m = g.Media;
        CreateStageSurfaces(g.Media);
        Fill(m.StageBackBmp, BackPixel);
        Fill(m.StagePicBmp, PicPixel);
        Fill(m.EraseMapBmp, [](int, int) { return 0u; });
        m.StampBmp = CreateSurface(120, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 120; ++x) m.StampBmp.Row(y)[x] = StampErases(x / 40, x % 40, y) ? 0u : 0xFFFFFFu;

        g.Shell.SceneNo = 2;
        g.Shell.SceneCounters[kStep] = kStepPlay;
        g.Play.TagCloseX = kTagCloseX;
        g.Play.TagCloseY = kTagCloseY;
        g.Play.TagVisible = true;
        m.SrcRect = m.DstRect = m.FullRect;
        ComposeRect(g, m.EraseMapBmp, m.StagePicBmp);
        PresentAll(g);
        SetGameCursor(g, 1);
    }

    template <class F>
    static void Fill(Surface& s, F pixel) {
        for (int y = 0; y < s.Height; ++y)
            for (int x = 0; x < s.Width; ++x) s.Row(y)[x] = pixel(x, y);
    }

    Game& G() { return game->game; }
    TFM1& Form() { return game->form; }
    int16_t& Sc(int k) { return G().Shell.SceneCounters[static_cast<size_t>(k)]; }
    int16_t& Ink() { return Sc(kInk); }

    // Mouse positions whose hit point (pointer + (9, 7)) is (hx, hy).
    void PressAt(int hx, int hy, bool shift = false) { Form().MouseDown(MouseButton::Left, shift, hx - 9, hy - 7); }
    void MoveTo(int hx, int hy, bool shift = false) { Form().MouseMove(shift, hx - 9, hy - 7); }
    void Release() { Form().MouseUp(MouseButton::Left, false, 0, 0); }
    void Refill() { PressAt(kRefillX, kRefillY); }
    // The start of a play frame.
    void Frame() { CarryOutStroke(G()); }

    uint32_t Pic(int x, int y) { return G().Media.StagePicBmp.Row(y)[x]; }
    uint32_t Map(int x, int y) { return G().Media.EraseMapBmp.Row(y)[x]; }
    uint32_t Back(int x, int y) { return G().Media.BackBmp.Row(y)[x]; }
    uint32_t Window(int x, int y) { return game->platform.WindowImage()[static_cast<size_t>(y) * 640 + x]; }
    // What the layers show at (x, y).
    uint32_t Layered(int x, int y) { return (G().Media.StageBackBmp.Row(y)[x] & Map(x, y)) | Pic(x, y); }
    // What the window shows for a frame after a stroke: the picture and the erase map one
    // pixel lower over the background in place.
    uint32_t LayeredLower(int x, int y) { return (G().Media.StageBackBmp.Row(y)[x] & Map(x, y - 1)) | Pic(x, y - 1); }
    bool Erased(int x, int y) { return Pic(x, y) == 0 && Map(x, y) == 0xFFFFFFu; }
    bool Untouched(int x, int y) { return Pic(x, y) == PicPixel(x, y) && Map(x, y) == 0; }

    // The first place where BackBmp or the window differs from the layers, or "" when none.
    std::string FirstMismatch() {
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (Back(x, y) != Layered(x, y) || Window(x, y) != Back(x, y))
                    return std::to_string(x) + "," + std::to_string(y);
        return "";
    }
    // Pixels erased anywhere on the screen.
    int ErasedCount() {
        int n = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) n += Map(x, y) != 0;
        return n;
    }

    TempDir dir;
    std::unique_ptr<HeadlessGame> game;
};

}  // namespace erasing_test
}  // namespace kiv
