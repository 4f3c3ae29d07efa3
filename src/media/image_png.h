#pragma once

#include <string>

#include "media/surface.h"

namespace kiv {

// Encodes a colour surface as an 8-bit RGB PNG file in memory (through libpng); false with the
// reason when the surface is empty or the library fails.
bool EncodePng(const Surface& picture, std::string& bytes, std::string& why);

}  // namespace kiv
