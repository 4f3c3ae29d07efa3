#pragma once

#include <cstdint>
#include <string>

#include "media/surface.h"

namespace kiv {
struct Game;

// Pictures are asked for by base name and read from the game folder (AppDir). A picture that
// cannot be used takes the halt path: the window hides, a message is shown, HaltRequested and
// CloseRequested are set, and the surface is left empty (0 x 0); the caller goes on. A missing
// file shows "not find  " + name + extension; one that is there but cut short, damaged, not a
// picture or too large (over 8192 pixels a side or 16 million in all) shows "cannot read  " +
// name + extension, with the reason on stderr.

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

// The halt path for a file name + extension that does not exist, or cannot be read. Once the
// program is already halting and closing, a further unusable picture is only noted on stderr.
void ReportMissingImage(Game& g, const std::string& fileName);
void ReportUnreadableImage(Game& g, const std::string& fileName);

// name + ".jpg" decoded at its own size into a new surface; LastImageExt := ".jpg".
void LoadJpegImage(Game& g, const std::string& name, Surface& surface);
// name + ".bmp" into a new surface as stored (its own size); LastImageExt := ".bmp".
void LoadBmpImage(Game& g, const std::string& name, Surface& surface);
// The ".jpg" when there is one, otherwise the ".bmp".
void LoadImage(Game& g, const std::string& name, Surface& surface);
// The ".jpg" when there is one; otherwise the ".bmp" redrawn into a new surface of its size
// through the game palette.
void LoadImageToPalette(Game& g, const std::string& name, Surface& surface);

// When the sprite was just loaded from a ".jpg" (LastImageExt), forces it black wherever the
// mask is white. Leaves DstRect at (0, 0, mask width, mask height).
void CleanWithMask(Game& g, Surface& sprite, const Surface& mask);

// The mask of a picture just loaded: from "D" + NN + "mask" (.jpg, else .bmp) when number is not
// 0 and such a file exists, which also cuts the picture to it; otherwise derived from the picture
// (640 x 480, white exactly where the picture is pure black). Afterwards the mask is white where
// the background shows and the picture is black there. Leaves DstRect at FullRect.
void BuildMask(Game& g, Surface& mask, Surface& picture, uint8_t number);

// "F" + three digits of group * 10 + 1 .. + 4 into CelBmps 0..3.
void LoadCels(Game& g, uint8_t group);

// Loads prefix + two digits of (SceneNo - 1) and copies its top-left part into the rectangle of
// four values of the stage's StageLayout record from position index; leaves SrcRect and DstRect
// at FullRect.
void PlaceStageImage(Game& g, const std::string& prefix, uint8_t index, Surface& target);

// Blackens the fixed cell edges and patches of the parts sheet that the scenes copy from.
void TouchUpPartsSheet(Game& g);

// The start-up sheets: "Ptit" and "Ptitm", the touch-up, then "Pchzm", "Pchz" and "Pchzd" with
// the icon sheets cleaned with their mask.
void LoadStartupSheets(Game& g);

}  // namespace kiv
