#include "media/screen.h"

#include <algorithm>
#include <cstring>

#include "media/raster.h"

namespace kiv {

void CreateScreenSurface(Surface& surface) {
    surface = CreateSurface(kScreenWidth, kScreenHeight);
    // A bitmap sized before its canvas exists starts white; only BackBmp is cleared at start-up.
    std::fill(surface.Pixels.begin(), surface.Pixels.end(), 0x00FFFFFFu);
    SetBrushColor(surface, 0);
}

void CreateScreenSurfaces(MediaState& m) {
    m.FullRect = MakeRect(0, 0, kScreenWidth, kScreenHeight);
    for (Surface* s : {&m.BackBmp, &m.WorkBmp}) CreateScreenSurface(*s);
    for (Surface& cel : m.CelBmps) {
        cel = CreateEmptySurface();
        cel.BrushColor = 0x00FFFFFF;  // a new bitmap's canvas has a white brush
    }
    m.PalRec = LogPalette{};
    m.PalRec.palVersion = 0x0300;
    m.PalRec.palNumEntries = 48;
    m.WindowBmp = CreateSurface(kScreenWidth, kScreenHeight);
}

// Each new surface costs its first touch of 1.2 MB; the five that only a stage draws on are
// made when the first stage is set up, not before the first frame. Made once, they keep what
// a stage left on them for the next (a picture carried over is read from them).
void CreateStageSurfaces(MediaState& m) {
    for (Surface* s : {&m.MaskBmp, &m.EraseMapBmp, &m.StageBackBmp, &m.StagePicBmp, &m.StampBmp})
        if (s->Empty()) CreateScreenSurface(*s);
}

void BuildPalette(MediaState& m, const std::array<PaletteColor, 48>& colours) {
    for (size_t k = 0; k < m.PalRec.palPalEntry.size(); ++k) {
        const PaletteColor& c = colours[k];
        // 0..15 onto 0..255; stored as bytes like the record's fields.
        m.PalRec.palPalEntry[k] = PaletteEntry{static_cast<uint8_t>(c.R * 17), static_cast<uint8_t>(c.G * 17),
                                               static_cast<uint8_t>(c.B * 17), 0};
    }
    m.GamePalette.Valid = true;
    for (size_t k = 0; k < m.GamePalette.Colors.size(); ++k) {
        const PaletteEntry& e = m.PalRec.palPalEntry[k];
        m.GamePalette.Colors[k] = MakeColorRef(e.peRed, e.peGreen, e.peBlue);
    }
}

void ReleaseScreenSurfaces(MediaState& m) {
    for (Surface* s :
         {&m.BackBmp, &m.WorkBmp, &m.MaskBmp, &m.EraseMapBmp, &m.StageBackBmp, &m.StagePicBmp, &m.StampBmp})
        *s = Surface{};
    for (Surface& cel : m.CelBmps) cel = Surface{};
    for (Surface* s : {&m.PartsBmp, &m.PartsMaskBmp, &m.IconBmp, &m.IconOffBmp, &m.IconMaskBmp}) *s = Surface{};
    m.WindowBmp = Surface{};
    m.PalRec = LogPalette{};
    m.GamePalette = PaletteHandle{};
}

void SelectSurfacePalette(const MediaState&, Surface&) {}
void SelectWindowPalette(const MediaState&) {}

void PaintSurface(const MediaState& m, Surface& surface) {
    SelectSurfacePalette(m, surface);
    Rectangle(surface, 0, 0, kScreenWidth, kScreenHeight);
}

void PresentArea(WindowTarget w, const Surface& src, const Rect& r) {
    SelectWindowPalette(w.Media);
    // The window is refreshed over the rectangle's pixels whichever way its corners are given.
    const Rect shown = MakeRect(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                                std::max(r.Top, r.Bottom));
    const bool straight = src.Width == kScreenWidth && src.Height == kScreenHeight && !src.Monochrome &&
                          src.Pixels.size() == size_t(kScreenWidth) * kScreenHeight && r == shown;
    if (straight) {
        // A same-place SRCCOPY from a screen-sized surface shows exactly its pixels.
        w.P.Present(src.Pixels.data(), r);
        return;
    }
    Surface& window = w.Media.WindowBmp;
    if (window.Pixels.size() != size_t(kScreenWidth) * kScreenHeight)
        window = CreateSurface(kScreenWidth, kScreenHeight);
    // Start from what the window shows: pixels the source does not cover stay as they are.
    const std::vector<uint32_t>& image = w.P.WindowImage();
    if (image.size() == window.Pixels.size())
        std::memcpy(window.Pixels.data(), image.data(), image.size() * sizeof(uint32_t));
    CanvasCopyRect(window, r, src, r);
    w.P.Present(window.Pixels.data(), shown);
}

void CopyRectTo(const MediaState& m, Surface& dst, const Rect& dstRect, const Surface& src, const Rect& srcRect) {
    SelectSurfacePalette(m, dst);
    CanvasCopyRect(dst, dstRect, src, srcRect);
}

void MaskedDrawRect(const MediaState& m, Surface& dst, const Rect& dstRect, const Surface& mask, const Surface& sprite,
                    const Rect& srcRect) {
    dst.CopyMode = Rop::SRCAND;
    CopyRectTo(m, dst, dstRect, mask, srcRect);
    dst.CopyMode = Rop::SRCPAINT;
    CopyRectTo(m, dst, dstRect, sprite, srcRect);
    dst.CopyMode = Rop::SRCCOPY;
}

void DrawCircleOn(Surface& surface, int16_t x, int16_t y, int16_t r) {
    Ellipse(surface, x - r, y - r, x + r + 1, y + r + 1);
}

}  // namespace kiv
