#include "game/game_media.h"

#include <cstdio>

#include "media/raster.h"

namespace kiv {

PictureLoader Pictures(Game& g) {
    return PictureLoader{g.Cfg.AppDir, g.Media, [&g](const std::string& message) { HaltOverFile(g, message); }};
}

void HaltOverFile(Game& g, const std::string& message) {
    if (g.Shell.CloseRequested) {
        // The program is already closing over a missing file: one dialog is enough.
        std::fprintf(stderr, "kiv: %s\n", message.c_str());
        return;
    }
    g.P.SetVisible(false);
    g.Shell.HaltRequested = true;
    g.P.ShowMessage(message);
    g.Shell.CloseRequested = true;
}

void CopyToSurface(Game& g, Surface& dst, const Surface& src) {
    CopyRectTo(g.Media, dst, g.Media.DstRect, src, g.Media.SrcRect);
}

void CopyWithinSurface(Game& g, Surface& surface) { CopyToSurface(g, surface, surface); }

void CopySameRect(Game& g, Surface& dst, const Surface& src) {
    CopyRectTo(g.Media, dst, g.Media.DstRect, src, g.Media.DstRect);
}

void MaskedDraw(Game& g, Surface& dst, const Surface& mask, const Surface& sprite) {
    MaskedDrawRect(g.Media, dst, g.Media.DstRect, mask, sprite, g.Media.SrcRect);
}

void PresentRect(Game& g, const Surface& src) { PresentArea(WindowOf(g), src, g.Media.DstRect); }

void PresentAll(Game& g) { PresentArea(WindowOf(g), g.Media.BackBmp, g.Media.FullRect); }

void ClearSurface(Game& g, Surface& surface) {
    PaintSurface(g.Media, surface);
    if (&surface == &g.Media.BackBmp) PresentAll(g);
}

void DrawCircle(Game& g, int16_t x, int16_t y, int16_t r) { DrawCircleOn(g.Media.BackBmp, x, y, r); }

}  // namespace kiv
