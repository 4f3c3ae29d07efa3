#include "platform/view_layout.h"

#include <algorithm>

namespace kiv {

namespace {

// Rounds toward minus infinity: a position left of the picture stays left of it.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

ViewLayout FitPicture(int windowW, int windowH, int pictureW, int pictureH) {
    ViewLayout v;
    v.PictureW = std::max(pictureW, 1);
    v.PictureH = std::max(pictureH, 1);
    v.Scale = std::max(1, std::min(windowW / v.PictureW, windowH / v.PictureH));
    v.OffsetX = std::max(0, (windowW - v.Scale * v.PictureW) / 2);
    v.OffsetY = std::max(0, (windowH - v.Scale * v.PictureH) / 2);
    return v;
}

Rect ViewLayout::ToWindow(const Rect& r) const {
    const int l = std::clamp(r.Left, 0, PictureW), t = std::clamp(r.Top, 0, PictureH);
    const int rr = std::clamp(r.Right, l, PictureW), b = std::clamp(r.Bottom, t, PictureH);
    return Rect{OffsetX + l * Scale, OffsetY + t * Scale, OffsetX + rr * Scale, OffsetY + b * Scale};
}

bool ViewLayout::ToGame(int wx, int wy, int& gx, int& gy) const {
    gx = FloorDiv(wx - OffsetX, Scale);
    gy = FloorDiv(wy - OffsetY, Scale);
    return gx >= 0 && gy >= 0 && gx < PictureW && gy < PictureH;
}

}  // namespace kiv
