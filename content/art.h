#pragma once

#include <cairo.h>

#include <string>

#include "image_files.h"

namespace kiv::demo {

// A sprite drawn with straight alpha becomes the pair the game draws with: the picture, black
// outside the shape, and the mask, black inside the shape and white outside.
struct Sprite {
    Image picture;
    Image mask;
};
Sprite SplitSprite(const Image& straightAlpha);

// The parts sheet "Ptit" and its mask sheet "Ptitm".
Sprite BuildPartsSheet();

// The emblem sheets: open looks, closed looks, and their common mask.
struct EmblemSheets {
    Image open, closed, mask;
};
EmblemSheets BuildEmblemSheets();

class Canvas;
// One slice of the emblem's ring (0 to 7, clockwise from the top) as a path around the ring's
// centre (319.5, 240.5) of the title menu, in the current user space; then its open or closed
// look painted over that path, with its number (or lock) unless label is false.
void PathEmblemSlice(cairo_t* cr, int slice);
void PaintEmblemSlice(Canvas& c, int slice, bool closed, bool label = true);

// The program's icon, the emblem's ring with every slice open, in the folders of an icon theme:
// dir/hicolor/NxN/apps/kiv.png for several sizes N, and dir/hicolor/scalable/apps/kiv.svg.
void WriteIcons(const std::string& dir);

// The pictures of the game folder that belong to the stages and the ending; writes them.
void WriteStagePictures(const std::string& dir);
void WriteEndingPictures(const std::string& dir);

}  // namespace kiv::demo
