#pragma once

namespace kiv {

// Surfaces, palette and the shared rectangles.
struct MediaState {};

}  // namespace kiv
