#pragma once

#include <array>

namespace kiv {

// The game's five pointers, 32 x 32, hot spot at the top-left corner: 'X' black, '.' white,
// anything else transparent.
//   1 the normal pointer, 2 the pointer with ink loaded, 3 the introduction (a speech bubble),
//   4 the pause prompt (a question mark), 5 the end of a stage (a flag).
const std::array<const char* const*, 5>& CursorShapes();

}  // namespace kiv
