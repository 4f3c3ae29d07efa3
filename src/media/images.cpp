#include "media/images.h"

#include <strings.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "data/data_files.h"
#include "data/sjis.h"
#include "data/strings.h"
#include "media/image_bmp.h"
#include "media/image_jpeg.h"
#include "media/raster.h"
#include "media/screen.h"

namespace kiv {

namespace {

// No picture the game can use is larger than the biggest 32-bit bitmap of the allowed size.
constexpr size_t kMaxPictureFileBytes = size_t(kMaxSurfaceSide) * kMaxSurfaceSide * 4 + (1u << 20);

// A new bitmap's canvas: white brush, black pen, copy mode SRCCOPY.
void GiveFreshCanvas(Surface& s) {
    s.CopyMode = Rop::SRCCOPY;
    s.BrushColor = 0x00FFFFFF;
    s.Brush = BrushStyle::Solid;
    s.PenColor = 0;
}

bool ReadPictureBytes(const std::string& path, std::string& bytes, std::string& why) {
    if (ReadWholeFile(path, bytes, kMaxPictureFileBytes)) return true;
    why = "cannot be read, or too large for a picture";
    return false;
}

using Decoder = bool (*)(const std::string& bytes, Surface& out, std::string& why);

bool DecodeJpegFile(const std::string& bytes, Surface& out, std::string& why) {
    return DecodeJpeg(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, why);
}

bool DecodeBmpFile(const std::string& bytes, Surface& out, std::string& why) {
    BmpPixels bmp;
    if (!DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), kMaxSurfaceSide, kMaxSurfacePixels,
                   bmp, why))
        return false;
    out = Surface{};
    out.Width = bmp.Width;
    out.Height = bmp.Height;
    out.Pixels = std::move(bmp.Pixels);
    return true;
}

bool EndsWith(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    return s.size() >= n && strcasecmp(s.c_str() + s.size() - n, tail) == 0;
}

// The common body of the two loaders: the variable gets a new surface, empty when the file
// cannot be used.
void LoadPicture(const PictureLoader& l, const std::string& name, const char* ext, Surface& surface) {
    surface = CreateEmptySurface();
    GiveFreshCanvas(surface);
    l.Media.LastImageExt = ext;
    const std::string file = name + ext;
    std::string why;
    Surface picture;
    if (!ReadPictureFile(l.Dir, file, picture, why)) {
        const std::string path = FindDataFile(l.Dir, file);
        if (path.empty()) {
            l.Unusable("not find  " + SjisToUtf8(file));
        } else {
            std::fprintf(stderr, "kiv: %s: %s\n", path.c_str(), why.c_str());
            // Not "not find": the file is there, and a game maker must look at its contents.
            l.Unusable("cannot read  " + SjisToUtf8(file));
        }
        return;
    }
    surface = std::move(picture);
    GiveFreshCanvas(surface);
}

// prefix + number written with `digits` digits (appended piece by piece: GCC 12 warns falsely
// about "literal" + string temporaries).
std::string NumberedName(const char* prefix, int digits, int number, const char* suffix = "") {
    std::string name(prefix);
    name += ZeroPad(digits, number);
    name += suffix;
    return name;
}

}  // namespace

std::string PictureFileName(const std::string& dir, const std::string& name) {
    return DataFileExists(dir, name + ".jpg") ? name + ".jpg" : name + ".bmp";
}

std::string MaskFileName(const std::string& dir, uint8_t number) {
    if (number == 0) return std::string();
    const std::string maskName = NumberedName("D", 2, number, "mask");
    for (const char* ext : {".jpg", ".bmp"})
        if (DataFileExists(dir, maskName + ext)) return maskName + ext;
    return std::string();
}

bool ReadPictureFile(const std::string& dir, const std::string& fileName, Surface& out, std::string& why) {
    out = Surface{};
    why.clear();
    const std::string path = FindDataFile(dir, fileName);
    std::string bytes;
    if (path.empty() || !ReadPictureBytes(path, bytes, why)) return false;
    const Decoder decode = EndsWith(fileName, ".jpg") ? DecodeJpegFile : DecodeBmpFile;
    return decode(bytes, out, why);
}

void LoadJpegImage(const PictureLoader& l, const std::string& name, Surface& surface) {
    LoadPicture(l, name, ".jpg", surface);
    SelectSurfacePalette(l.Media, surface);
}

void LoadBmpImage(const PictureLoader& l, const std::string& name, Surface& surface) {
    LoadPicture(l, name, ".bmp", surface);
}

void LoadImage(const PictureLoader& l, const std::string& name, Surface& surface) {
    if (EndsWith(PictureFileName(l.Dir, name), ".jpg"))
        LoadJpegImage(l, name, surface);
    else
        LoadBmpImage(l, name, surface);
}

void LoadImageToPalette(const PictureLoader& l, const std::string& name, Surface& surface) {
    if (EndsWith(PictureFileName(l.Dir, name), ".jpg")) {
        LoadJpegImage(l, name, surface);
        return;
    }
    Surface temporary;
    LoadBmpImage(l, name, temporary);
    surface = CreateSurface(temporary.Width, temporary.Height);
    GiveFreshCanvas(surface);
    SelectSurfacePalette(l.Media, surface);
    const Rect all = MakeRect(0, 0, temporary.Width, temporary.Height);
    StretchCopy(surface, all, temporary, all, Rop::SRCCOPY);
}

void CleanWithMask(MediaState& m, Surface& sprite, const Surface& mask) {
    if (m.LastImageExt == ".bmp") return;
    Surface inverted = CreateSurface(mask.Width, mask.Height);
    m.DstRect = MakeRect(0, 0, inverted.Width, inverted.Height);
    inverted.CopyMode = Rop::NOTSRCCOPY;
    CopyRectTo(m, inverted, m.DstRect, mask, m.DstRect);
    sprite.CopyMode = Rop::SRCAND;
    CopyRectTo(m, sprite, m.DstRect, inverted, m.DstRect);
    sprite.CopyMode = Rop::SRCCOPY;
}

void BuildMask(const PictureLoader& l, Surface& mask, Surface& picture, uint8_t number) {
    MediaState& m = l.Media;
    m.DstRect = m.FullRect;
    const std::string maskFile = MaskFileName(l.Dir, number);
    const bool fromFile = !maskFile.empty();
    if (fromFile) {
        const std::string maskName = maskFile.substr(0, maskFile.size() - 4);
        if (EndsWith(maskFile, ".jpg"))
            LoadJpegImage(l, maskName, mask);
        else
            LoadBmpImage(l, maskName, mask);
    }
    if (!fromFile) {
        CreateScreenSurface(mask);
        SetMonochrome(mask, true);
        // The picture's background colour decides the conversion: pure black becomes white.
        SetBrushColor(picture, 0);
        CopyRectTo(m, mask, m.DstRect, picture, m.DstRect);
        // As a one-bit picture with a black and white colour table the mask reads back in
        // those colours whatever its canvas colours are.
        mask.Monochrome = false;
        return;
    }
    // A mask file is white where the picture shows and black where it is transparent.
    picture.CopyMode = Rop::SRCAND;
    CopyRectTo(m, picture, m.DstRect, mask, m.DstRect);
    picture.CopyMode = Rop::SRCCOPY;
    mask.CopyMode = Rop::NOTSRCCOPY;
    CopyRectTo(m, mask, m.DstRect, mask, m.DstRect);
    mask.CopyMode = Rop::SRCCOPY;
}

void LoadCels(const PictureLoader& l, uint8_t group) {
    for (int i = 1; i <= 4; ++i)
        LoadImage(l, NumberedName("F", 3, i + group * 10), l.Media.CelBmps[static_cast<size_t>(i - 1)]);
}

void PlaceImage(const PictureLoader& l, const std::string& name, const Rect& place, Surface& target) {
    MediaState& m = l.Media;
    Surface temporary;
    LoadImage(l, name, temporary);
    m.SrcRect = MakeRect(0, 0, place.Width(), place.Height());
    m.DstRect = place;
    CopyRectTo(m, target, m.DstRect, temporary, m.SrcRect);
    m.SrcRect = m.FullRect;
    m.DstRect = m.FullRect;
}

void TouchUpPartsSheet(Surface& p) {
    SetBrushColor(p, 0);
    auto line = [&p](int x0, int y0, int x1, int y1) {
        MoveTo(p, x0, y0);
        LineTo(p, x1, y1);
    };
    // Top and bottom rows of the digit and letter glyph cells.
    line(0, 35, 167, 35);
    line(0, 42, 167, 42);
    line(0, 49, 167, 49);
    Rectangle(p, 162, 43, 167, 49);  // the 28th letter cell
    // Edges of the menu pictures.
    line(0, 94, 110, 94);
    line(0, 107, 110, 107);
    line(114, 78, 114, 107);
    line(151, 78, 151, 107);
    Rectangle(p, 0, 90, 5, 95);  // the black patch scenes stretch to blank an area
    Rectangle(p, 1, 81, 121, 93);
}

void LoadStartupSheets(const PictureLoader& l) {
    MediaState& m = l.Media;
    LoadImage(l, "Ptit", m.PartsBmp);
    LoadImage(l, "Ptitm", m.PartsMaskBmp);
    TouchUpPartsSheet(m.PartsBmp);
    LoadImage(l, "Pchzm", m.IconMaskBmp);
    LoadImage(l, "Pchz", m.IconBmp);
    CleanWithMask(m, m.IconBmp, m.IconMaskBmp);
    LoadImage(l, "Pchzd", m.IconOffBmp);
    CleanWithMask(m, m.IconOffBmp, m.IconMaskBmp);
}

}  // namespace kiv
