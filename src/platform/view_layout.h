#pragma once

#include "platform/geometry.h"

namespace kiv {

// How the window's picture is put into a window of any size: enlarged by a whole number
// (nearest neighbour, crisp pixels) and centred on black. The picture is the client area
// (640 x 480, or 580 x 380) of the game's own image.
struct ViewLayout {
    int Scale = 1;    // each game pixel is Scale x Scale window pixels
    int OffsetX = 0;  // window pixel of the picture's top-left corner
    int OffsetY = 0;
    int PictureW = 0;  // the client area in game pixels
    int PictureH = 0;

    // The window pixels that show game rectangle r (clipped to the picture).
    Rect ToWindow(const Rect& r) const;
    // The game pixel under window pixel (wx, wy); false when it lies outside the picture (the
    // black border, or beyond the window). gx and gy are set either way, so that a drag that
    // leaves the picture still has a position.
    bool ToGame(int wx, int wy, int& gx, int& gy) const;
};

// The largest whole scale at which the picture fits the window (at least 1), centred; a window
// smaller than the picture shows its upper-left part.
ViewLayout FitPicture(int windowW, int windowH, int pictureW, int pictureH);

}  // namespace kiv
