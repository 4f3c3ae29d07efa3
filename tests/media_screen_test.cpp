// The palette, the screen surfaces and the copy primitives over them.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/game.h"
#include "game/game_media.h"
#include "media/raster.h"
#include "platform/headless/headless_platform.h"

namespace kiv {
namespace {

class MediaScreen : public ::testing::Test {
protected:
    void SetUp() override { CreateScreenSurfaces(g.Media); }
    uint32_t Window(int x, int y) const { return platform.WindowImage()[size_t(y) * 640 + size_t(x)]; }
    static void Fill(Surface& s, uint32_t v) { std::fill(s.Pixels.begin(), s.Pixels.end(), v); }

    HeadlessPlatform platform;
    Game g{platform};
};

TEST_F(MediaScreen, SurfacesAndPaletteAtStartUp) {
    const MediaState& m = g.Media;
    EXPECT_EQ(m.FullRect, MakeRect(0, 0, 640, 480));
    const auto screenSized = [](const Surface& s) {
        EXPECT_EQ(s.Width, 640);
        EXPECT_EQ(s.Height, 480);
        EXPECT_EQ(s.BrushColor, 0u);
        EXPECT_EQ(s.CopyMode, Rop::SRCCOPY);
    };
    screenSized(m.BackBmp);
    screenSized(m.WorkBmp);
    const std::vector<Surface*> stage = {&g.Media.MaskBmp, &g.Media.EraseMapBmp, &g.Media.StageBackBmp,
                                         &g.Media.StagePicBmp, &g.Media.StampBmp};
    for (const Surface* s : stage) EXPECT_TRUE(s->Empty()) << "made when the first stage is set up";
    CreateStageSurfaces(g.Media);
    for (Surface* s : stage) {
        screenSized(*s);
        EXPECT_TRUE(std::all_of(s->Pixels.begin(), s->Pixels.end(), [](uint32_t p) { return p == 0xFFFFFFu; }));
        Fill(*s, 0x123456);
    }
    CreateStageSurfaces(g.Media);  // the next stage: what the last one left stays
    for (const Surface* s : stage) EXPECT_EQ(s->Pixels[640 * 479 + 639], 0x123456u);
    for (const Surface& cel : m.CelBmps) EXPECT_TRUE(cel.Empty());
    EXPECT_EQ(m.PalRec.palVersion, 0x300);
    EXPECT_EQ(m.PalRec.palNumEntries, 48);
    EXPECT_EQ(m.LastImageExt, ".bmp");

    g.Cfg.PaletteRGB[0] = {15, 15, 15};
    g.Cfg.PaletteRGB[1] = {0, 8, 1};
    g.Cfg.PaletteRGB[47] = {1, 2, 3};
    BuildPalette(g.Media, g.Cfg.PaletteRGB);
    auto entry = [&](int k) {
        const PaletteEntry& e = m.PalRec.palPalEntry[size_t(k)];
        return std::vector<int>{e.peRed, e.peGreen, e.peBlue, e.peFlags};
    };
    EXPECT_EQ(entry(0), (std::vector<int>{255, 255, 255, 0}));
    EXPECT_EQ(entry(1), (std::vector<int>{0, 136, 17, 0}));
    EXPECT_EQ(entry(47), (std::vector<int>{17, 34, 51, 0}));
    EXPECT_TRUE(m.GamePalette.Valid);
    EXPECT_EQ(m.GamePalette.Colors[1], MakeColorRef(0, 136, 17));

    ReleaseScreenSurfaces(g.Media);
    EXPECT_TRUE(m.BackBmp.Empty());
    EXPECT_FALSE(m.GamePalette.Valid);
}

TEST_F(MediaScreen, ClearSurfacePresentsOnlyTheBackSurface) {
    Fill(g.Media.BackBmp, 0x123456);
    PresentAll(g);
    EXPECT_EQ(Window(639, 479), 0x123456u);

    Fill(g.Media.WorkBmp, 0xABCDEF);
    ClearSurface(g, g.Media.WorkBmp);
    EXPECT_TRUE(
        std::all_of(g.Media.WorkBmp.Pixels.begin(), g.Media.WorkBmp.Pixels.end(), [](uint32_t p) { return p == 0; }));
    EXPECT_EQ(Window(0, 0), 0x123456u);

    ClearSurface(g, g.Media.BackBmp);
    EXPECT_TRUE(
        std::all_of(platform.WindowImage().begin(), platform.WindowImage().end(), [](uint32_t p) { return p == 0; }));
}

TEST_F(MediaScreen, PresentRectShowsOnlyDstRect) {
    Fill(g.Media.BackBmp, 0x00FF00);
    g.Media.DstRect = MakeRect(10, 20, 30, 25);
    PresentRect(g, g.Media.BackBmp);
    EXPECT_EQ(Window(10, 20), 0x00FF00u);
    EXPECT_EQ(Window(29, 24), 0x00FF00u);
    EXPECT_EQ(Window(30, 24), 0u);
    EXPECT_EQ(Window(29, 25), 0u);

    // Corners given the other way round show the same pixels.
    Fill(g.Media.WorkBmp, 0x0000FF);
    g.Media.DstRect = MakeRect(30, 25, 10, 20);
    PresentRect(g, g.Media.WorkBmp);
    EXPECT_EQ(Window(10, 20), 0x0000FFu);
    EXPECT_EQ(Window(29, 24), 0x0000FFu);
    EXPECT_EQ(Window(9, 20), 0u);

    // A small surface covers part of the rectangle; the window keeps the rest.
    Surface small = CreateSurface(12, 12);
    Fill(small, 0xFF0000);
    g.Media.DstRect = MakeRect(0, 0, 40, 40);
    PresentRect(g, small);
    EXPECT_EQ(Window(11, 11), 0xFF0000u);
    EXPECT_EQ(Window(15, 22), 0x0000FFu);
    EXPECT_EQ(Window(35, 35), 0u);

    // Rectangles reaching far outside are clipped, and DstRect keeps its value.
    g.Media.DstRect = MakeRect(-100000, -5, 100000, 2);
    PresentRect(g, g.Media.BackBmp);
    EXPECT_EQ(Window(639, 1), 0x00FF00u);
    EXPECT_EQ(Window(639, 2), 0u);
    EXPECT_EQ(g.Media.DstRect, MakeRect(-100000, -5, 100000, 2));
}

TEST_F(MediaScreen, MaskedDrawAndCopies) {
    // Background grey; a 4 x 1 sprite red on its left half, black outside it; mask white outside.
    Surface& back = g.Media.BackBmp;
    Fill(back, 0x808080);
    Surface sprite = CreateSurface(4, 1), mask = CreateSurface(4, 1);
    sprite.Pixels = {0xFF0000, 0xFF0000, 0, 0};
    mask.Pixels = {0, 0, 0xFFFFFF, 0xFFFFFF};
    g.Media.SrcRect = MakeRect(0, 0, 4, 1);
    g.Media.DstRect = MakeRect(100, 100, 104, 101);
    MaskedDraw(g, back, mask, sprite);
    EXPECT_EQ(std::vector<uint32_t>(back.Row(100) + 99, back.Row(100) + 105),
              (std::vector<uint32_t>{0x808080, 0xFF0000, 0xFF0000, 0x808080, 0x808080, 0x808080}));
    EXPECT_EQ(back.CopyMode, Rop::SRCCOPY);
    // A plain copy afterwards overwrites.
    CopyToSurface(g, back, mask);
    EXPECT_EQ(back.Row(100)[100], 0u);
    EXPECT_EQ(back.Row(100)[103], 0xFFFFFFu);

    // Different sizes stretch: a 98 x 26 band squeezed into 98 x 6.
    Surface band = CreateSurface(98, 26);
    for (int y = 0; y < 26; ++y) std::fill(band.Row(y), band.Row(y) + 98, y < 13 ? 0xFFFFFFu : 0x00FF00u);
    g.Media.SrcRect = MakeRect(0, 0, 98, 26);
    g.Media.DstRect = MakeRect(0, 200, 98, 206);
    CopyToSurface(g, back, band);
    EXPECT_EQ(back.Row(200)[0], 0xFFFFFFu);
    EXPECT_EQ(back.Row(205)[97], 0x00FF00u);
    EXPECT_EQ(back.Row(206)[0], 0x808080u);

    // CopySameRect reads the same rectangle of the source, and may copy a surface onto itself.
    Surface& work = g.Media.WorkBmp;
    Fill(work, 0x0F0F0F);
    g.Media.DstRect = MakeRect(300, 300, 302, 301);
    work.CopyMode = Rop::NOTSRCCOPY;
    CopySameRect(g, work, work);
    work.CopyMode = Rop::SRCCOPY;
    EXPECT_EQ(work.Row(300)[301], 0xF0F0F0u);
    EXPECT_EQ(work.Row(300)[302], 0x0F0F0Fu);
    CopySameRect(g, back, work);
    EXPECT_EQ(back.Row(300)[300], 0xF0F0F0u);
    EXPECT_EQ(back.Row(299)[300], 0x808080u);
}

TEST_F(MediaScreen, DrawCircleFillsOrOutlinesADisc) {
    Surface& back = g.Media.BackBmp;
    Fill(back, 0xFFFFFF);
    DrawCircle(g, 10, 10, 2);  // the box (8, 8)..(13, 13)
    const char* disc[] = {".###.", "#####", "#####", "#####", ".###."};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(back.Row(8 + y)[8 + x], disc[y][x] == '#' ? 0u : 0xFFFFFFu) << x << "," << y;

    Fill(back, 0xFFFFFF);
    SetBrushStyle(back, BrushStyle::Clear);
    back.PenColor = MakeColorRef(255, 0, 0);
    DrawCircle(g, 20, 20, 2);
    SetBrushColor(back, 0);
    EXPECT_EQ(back.Row(18)[19], 0xFF0000u);
    EXPECT_EQ(back.Row(20)[20], 0xFFFFFFu);  // inside stays
    // Circles far outside or of absurd radius touch nothing and do not fail.
    DrawCircle(g, -32768, 32767, 32767);
    DrawCircle(g, 5, 5, -7);
}

}  // namespace
}  // namespace kiv
