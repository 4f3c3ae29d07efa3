// A picture saved by any tool, cut short or damaged on the way: the BMP reader either gives a
// picture of a size the game can hold, or a reason, never a read outside the file.
#include <string>

#include "fuzz_support.h"
#include "media/image_bmp.h"
#include "media/surface.h"

namespace kiv::fuzz {

void BmpInput(const uint8_t* data, size_t size) {
    BmpPixels bmp;
    std::string why;
    if (!DecodeBmp(data, size, kMaxSurfaceSide, kMaxSurfacePixels, bmp, why)) {
        Require(!why.empty(), "a refused bitmap has a reason");
        Require(bmp.Width == 0 && bmp.Height == 0 && bmp.Pixels.empty(), "a refused bitmap leaves no picture");
        return;
    }
    Require(bmp.Width > 0 && bmp.Height > 0 && bmp.Width <= kMaxSurfaceSide && bmp.Height <= kMaxSurfaceSide,
            "a picture has a usable size");
    Require(int64_t(bmp.Width) * bmp.Height <= kMaxSurfacePixels, "a picture has a usable number of pixels");
    Require(bmp.Pixels.size() == size_t(bmp.Width) * size_t(bmp.Height), "every pixel is there");
    for (uint32_t p : bmp.Pixels) Require(p <= 0x00FFFFFFu, "pixels are 0x00RRGGBB");
}

}  // namespace kiv::fuzz

KIV_FUZZ_ENTRY(kiv::fuzz::BmpInput)
