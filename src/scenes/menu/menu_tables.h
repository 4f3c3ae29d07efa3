#pragma once

#include <array>
#include <cstdint>

#include "data/config.h"
#include "platform/geometry.h"

// The fixed places of the title menu: emblem slices, buttons, item markers and the pictures
// shown beside the help line. Screen coordinates are pixels of the 640 x 480 surfaces.
namespace kiv::menu {

// One slice of the emblem (one per stage 1..8): the strip srcLeft..srcRight, rows 0..77, of the
// icon sheets; its place at rest; the direction in which it moves out.
struct SliceSpec {
    int16_t SrcLeft, SrcRight;
    int16_t Left, Top, Right;
    int8_t Dx, Dy;
};
constexpr int kSliceHeight = 78;
constexpr std::array<SliceSpec, 8> kSlices{{
    {0, 64, 287, 163, 351, 0, -1},
    {64, 142, 318, 163, 396, 1, -1},
    {142, 219, 319, 208, 396, 1, 0},
    {219, 297, 318, 239, 396, 1, 1},
    {297, 361, 287, 240, 351, 0, 1},
    {361, 439, 242, 239, 320, -1, 1},
    {439, 516, 242, 208, 319, -1, 0},
    {516, 594, 242, 163, 320, -1, -1},
}};

// A picture of the parts sheet shown at a place of the screen, moving in or out along (dx, dy).
struct ButtonSpec {
    Rect Src;
    Rect Dst;
    int8_t Dx, Dy;
};
constexpr int kButtonChallenge = 0;
constexpr int kButtonEnd = 1;
constexpr int kButtonHelp = 2;
constexpr int kTitlePanel = 3;
constexpr std::array<ButtonSpec, 4> kButtons{{
    {{114, 78, 152, 107}, {519, 239, 557, 268}, 1, 0},
    {{57, 94, 110, 108}, {462, 255, 515, 269}, 0, 1},
    {{0, 94, 53, 108}, {405, 255, 458, 269}, 0, 1},
    {{0, 49, 152, 78}, {405, 210, 557, 239}, 0, 0},
}};

// Top-left corners of the 25 x 25 item markers, index item - 1 (items 12..18 share one place).
constexpr int kMarkerSize = 25;
constexpr std::array<Point16, 19> kMarkerPlaces{{
    {306, 104}, {397, 137}, {430, 228}, {397, 318}, {306, 351}, {216, 318}, {183, 228},
    {216, 137}, {531, 285}, {476, 290}, {419, 290}, {242, 104}, {242, 104}, {242, 104},
    {242, 104}, {242, 104}, {242, 104}, {242, 104}, {5, 30},
}};

// The pictures beside the help line: a black patch over their place, the refill icon, the tag
// panel (source on the parts sheet, destination on the screen; stretched when they differ).
struct PieceSpec {
    Rect Src;
    Rect Dst;
};
constexpr int kPieceBlank = 0;
constexpr int kPieceRefillIcon = 1;
constexpr int kPieceTagPanel = 2;
constexpr std::array<PieceSpec, 3> kPieces{{
    {{0, 90, 5, 95}, {399, 288, 467, 323}},
    {{54, 0, 89, 35}, {415, 288, 450, 323}},
    {{91, 0, 159, 25}, {399, 288, 467, 313}},
}};

// The black patch of the parts sheet, and the strip the help line scrolls in.
constexpr Rect kBlackPatch{0, 90, 5, 95};
constexpr Rect kTickerStrip{406, 242, 526, 254};

// Scroll positions (inclusive) at which a picture is shown beside the help line.
struct TickerCue {
    int32_t From, To;
    int Piece;
};
constexpr std::array<TickerCue, 5> kTickerCues{{
    {850, 860, kPieceBlank},
    {950, 960, kPieceRefillIcon},
    {1200, 1210, kPieceBlank},
    {1250, 1260, kPieceTagPanel},
    {1800, 1810, kPieceBlank},
}};

// Inclusive pixel ranges a press is tested against.
struct HitBox {
    int16_t Left, Right, Top, Bottom;
    bool Contains(int x, int y) const { return x >= Left && x <= Right && y >= Top && y <= Bottom; }
};

// The areas a left press chooses an item by, waiting for a choice. The three groups lie apart
// in X: the buttons (X from 397), the left of the emblem, its middle column, its right.
struct ItemHit {
    int16_t Item;
    HitBox Box;
};
constexpr std::array<ItemHit, 11> kItemHits{{
    {11, {397, 449, 243, 264}},
    {10, {454, 506, 243, 264}},
    {9, {511, 548, 223, 264}},
    {8, {235, 294, 177, 214}},
    {7, {235, 294, 217, 246}},
    {6, {235, 294, 249, 286}},
    {1, {297, 325, 156, 208}},
    {5, {297, 325, 255, 307}},
    {2, {328, 386, 177, 214}},
    {3, {328, 386, 217, 246}},
    {4, {328, 386, 249, 286}},
}};

// Right presses: the ranking list offers "ranking clear", the emblem's centre "memories clear".
constexpr HitBox kRankingBox{1, 133, 53, 410};
constexpr HitBox kEmblemCentreBox{239, 382, 161, 301};

}  // namespace kiv::menu
