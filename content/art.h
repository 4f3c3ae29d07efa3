#pragma once

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

// The program's icon, size x size pixels, as a PNG file: the emblem's ring.
void WriteIcon(const std::string& path, const EmblemSheets& emblem, int size);

// The pictures of the game folder that belong to the stages and the ending; writes them.
void WriteStagePictures(const std::string& dir);
void WriteEndingPictures(const std::string& dir);

}  // namespace kiv::demo
