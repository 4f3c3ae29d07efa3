// A JPEG saved by any tool, cut short or damaged on the way: the loader either gives a
// picture of a size the game can hold, or a reason.
#include <string>

#include "fuzz_support.h"
#include "media/image_jpeg.h"
#include "media/surface.h"

namespace kiv::fuzz {

void JpegInput(const uint8_t* data, size_t size) {
    Surface s;
    std::string why;
    if (!DecodeJpeg(data, size, s, why)) {
        Require(!why.empty(), "a refused picture has a reason");
        Require(s.Empty() && s.Pixels.empty(), "a refused picture leaves no surface");
        return;
    }
    Require(s.Width > 0 && s.Height > 0 && s.Width <= kMaxSurfaceSide && s.Height <= kMaxSurfaceSide,
            "a picture has a usable size");
    Require(s.Pixels.size() == size_t(s.Width) * size_t(s.Height), "every pixel is there");
    for (uint32_t p : s.Pixels) Require(p <= 0x00FFFFFFu, "pixels are 0x00RRGGBB");
}

}  // namespace kiv::fuzz

KIV_FUZZ_ENTRY(kiv::fuzz::JpegInput)
