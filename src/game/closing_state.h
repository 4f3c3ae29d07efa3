#pragma once

#include "data/short_string.h"
#include "platform/geometry.h"

namespace kiv {

// The closing scenes: where the ending's two insets stand on the screen, and the name being
// entered for a ranked result.
struct ClosingState {
    Rect EndRectA;
    Rect EndRectB;
    ShortString<6> EnteredName;
};

}  // namespace kiv
