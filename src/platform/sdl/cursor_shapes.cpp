#include "platform/sdl/cursor_shapes.h"

namespace kiv {

namespace {

// Rows beyond those listed are transparent; each row is padded to 32 columns.
// clang-format off
const char* const kArrow[] = {
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X......X",
    "X.......X",
    "X........X",
    "X.........X",
    "X..........X",
    "X......XXXXXX",
    "X...X..X",
    "X..XX..X",
    "X.X  X..X",
    "XX   X..X",
    "X     X..X",
    "      X..X",
    "       X..X",
    "       XXX",
    nullptr,
};

const char* const kInkPointer[] = {
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X......X",
    "X.......X",
    "X........X",
    "X.....XXXXX",
    "X..X..X",
    "X.X X..X        XX",
    "XX  X..X       X..X",
    "X    X..X     X....X",
    "     X..X    X......X",
    "      XX    X........X",
    "            X..XXXX..X",
    "           X..XXXXXX..X",
    "           X..XXXXXX..X",
    "           X..XXXXXX..X",
    "           X..XXXXXX..X",
    "            X..XXXX..X",
    "             X......X",
    "              XXXXXX",
    nullptr,
};

const char* const kSpeech[] = {
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X..XXXX    XXXXXXXXXXXX",
    "X.X       X............X",
    "XX        X.XX.XX.XX.X.X",
    "X         X............X",
    "          X.XXX.XX.XXX.X",
    "          X............X",
    "           XXXX..XXXXXX",
    "              X.X",
    "              XX",
    nullptr,
};

const char* const kQuestion[] = {
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X..XXXX     XXXXXX",
    "X.X        X......X",
    "XX        X..XXXX..X",
    "X         X..X  X..X",
    "           XX  X..X",
    "              X..X",
    "             X..X",
    "             X..X",
    "             XXXX",
    "             X..X",
    "             X..X",
    "             XXXX",
    nullptr,
};

const char* const kFlag[] = {
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X..XXXX  XXXXXXXXXXXXX",
    "X.X      X.X..XX..XX.X",
    "XX       X.XX..XX..XXX",
    "X        X.X..XX..XX.X",
    "         X.XX..XX..XXX",
    "         X.XXXXXXXXXXX",
    "         X.X",
    "         X.X",
    "         X.X",
    "         X.X",
    "         XXX",
    nullptr,
};
// clang-format on

}  // namespace

const std::array<const char* const*, 5>& CursorShapes() {
    static const std::array<const char* const*, 5> shapes = {kArrow, kInkPointer, kSpeech, kQuestion, kFlag};
    return shapes;
}

}  // namespace kiv
