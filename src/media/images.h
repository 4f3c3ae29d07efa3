#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "media/media_state.h"
#include "media/surface.h"

namespace kiv {

// Pictures are asked for by base name and read from the game folder. A picture that cannot be
// used is handed to the loader's Unusable with the message to show ("not find  " + name +
// extension for a missing file; "cannot read  " + name + extension for one that is there but
// cut short, damaged, not a picture or too large: over 8192 pixels a side or 16 million in
// all, with the reason on stderr), and the surface is left empty (0 x 0); the caller goes on.

// What the loaders work with: the folder they read from, the media state they leave their
// marks in (LastImageExt, and SrcRect and DstRect where a loader says so), and what becomes of
// a picture that cannot be used (the game takes its halt path).
struct PictureLoader {
    std::string Dir;
    MediaState& Media;
    std::function<void(const std::string& message)> Unusable;
};

// The file a picture of this base name is read from: name + ".jpg" when that exists in dir,
// otherwise name + ".bmp" (which may be missing too).
std::string PictureFileName(const std::string& dir, const std::string& name);
// The mask file of stage picture "D" + NN for BuildMask: "D" + NN + "mask" with ".jpg" or else
// ".bmp", when number is not 0 and that file exists; "" otherwise (the mask is then derived).
std::string MaskFileName(const std::string& dir, uint8_t number);
// Reads and decodes a picture file of dir (a ".jpg" or a ".bmp" by its name) the way the
// loaders do, into a surface of its own size; false with the reason when it cannot be used
// (why is empty when there is no such file).
bool ReadPictureFile(const std::string& dir, const std::string& fileName, Surface& out, std::string& why);

// name + ".jpg" decoded at its own size into a new surface; LastImageExt := ".jpg".
void LoadJpegImage(const PictureLoader& l, const std::string& name, Surface& surface);
// name + ".bmp" into a new surface as stored (its own size); LastImageExt := ".bmp".
void LoadBmpImage(const PictureLoader& l, const std::string& name, Surface& surface);
// The ".jpg" when there is one, otherwise the ".bmp".
void LoadImage(const PictureLoader& l, const std::string& name, Surface& surface);
// The ".jpg" when there is one; otherwise the ".bmp" redrawn into a new surface of its size
// through the game palette.
void LoadImageToPalette(const PictureLoader& l, const std::string& name, Surface& surface);

// When the sprite was just loaded from a ".jpg" (LastImageExt), forces it black wherever the
// mask is white. Leaves DstRect at (0, 0, mask width, mask height).
void CleanWithMask(MediaState& m, Surface& sprite, const Surface& mask);

// The mask of a picture just loaded: from "D" + NN + "mask" (.jpg, else .bmp) when number is not
// 0 and such a file exists, which also cuts the picture to it; otherwise derived from the picture
// (640 x 480, white exactly where the picture is pure black). Afterwards the mask is white where
// the background shows and the picture is black there. Leaves DstRect at FullRect.
void BuildMask(const PictureLoader& l, Surface& mask, Surface& picture, uint8_t number);

// "F" + three digits of group * 10 + 1 .. + 4 into CelBmps 0..3.
void LoadCels(const PictureLoader& l, uint8_t group);

// Loads the picture name and copies its top-left part, as large as place, into place on target;
// leaves SrcRect and DstRect at FullRect.
void PlaceImage(const PictureLoader& l, const std::string& name, const Rect& place, Surface& target);

// Blackens the fixed cell edges and patches of the parts sheet that the scenes copy from.
void TouchUpPartsSheet(Surface& parts);

// The start-up sheets: "Ptit" and "Ptitm", the touch-up, then "Pchzm", "Pchz" and "Pchzd" with
// the icon sheets cleaned with their mask.
void LoadStartupSheets(const PictureLoader& l);

}  // namespace kiv
