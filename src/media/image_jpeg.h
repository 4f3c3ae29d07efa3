#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "media/surface.h"

namespace kiv {

// Decodes a JPEG file held in memory at its own size with the decoder's default settings into a
// colour surface (grey pictures come out as grey colours). False, with a reason and an empty
// surface, for a file that is not a JPEG, is damaged or cut short, or has a side of 0 or over
// kMaxSurfaceSide, or is far too short for the size its header claims (all checked from the
// header, before the picture is allocated).
bool DecodeJpeg(const uint8_t* data, size_t size, Surface& out, std::string& error);

}  // namespace kiv
