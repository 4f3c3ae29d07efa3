#pragma once

#include <array>
#include <cstdint>

#include "data/short_string.h"
#include "media/surface.h"
#include "platform/geometry.h"

namespace kiv {

// One entry of a logical palette, in the byte order of the system's palette records.
struct PaletteEntry {
    uint8_t peRed = 0;
    uint8_t peGreen = 0;
    uint8_t peBlue = 0;
    uint8_t peFlags = 0;
};

// The palette record the game palette is made from: version 0x300 and 48 entries.
struct LogPalette {
    uint16_t palVersion = 0;
    uint16_t palNumEntries = 0;
    std::array<PaletteEntry, 48> palPalEntry{};
};

// The palette made from PalRec. On a true-colour display selecting and realising it changes
// no colour; it is kept so every copy can select it as the game always did.
struct PaletteHandle {
    bool Valid = false;
    std::array<ColorRef, 48> Colors{};
};

// Surfaces, palette and the shared rectangles.
struct MediaState {
    Surface BackBmp;                 // the back buffer every scene composes its frame in
    Surface WorkBmp;                 // a second full-size work surface
    Surface MaskBmp;                 // mask of the stage picture: white where the background shows
    Surface EraseMapBmp;             // erase map of the stage picture: erased places white
    Surface StageBackBmp;            // stage background with its decorations
    Surface StagePicBmp;             // the picture the player erases
    Surface StampBmp;                // the stage's erase stamp
    std::array<Surface, 4> CelBmps;  // cel pictures of the stage or closing scene
    Surface PartsBmp;                // parts sheet: logo, glyphs, buttons, icons
    Surface PartsMaskBmp;            // its mask sheet
    Surface IconBmp;                 // stage-choice icons of open stages
    Surface IconOffBmp;              // the same icons for stages not yet open
    Surface IconMaskBmp;             // mask of both icon sheets

    // The window's own canvas, used when a presented surface cannot be shown straight.
    Surface WindowBmp;

    LogPalette PalRec;
    PaletteHandle GamePalette;

    Rect SrcRect;                   // source of CopyToSurface
    Rect DstRect;                   // destination of the copies; what PresentRect shows
    Rect FullRect{0, 0, 640, 480};  // never changed

    ShortString<4> LastImageExt = ".bmp";  // extension of the file the last loader was about
};

}  // namespace kiv
