#include "media/image_png.h"

#include <png.h>

#include <cstdint>
#include <vector>

namespace kiv {

namespace {

struct PngSink {
    std::string* Bytes;
    std::string Why;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    sink->Bytes->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// libpng reports a failure by a long jump out of the call; the message is kept first.
void OnError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    if (sink) sink->Why = message ? message : "libpng failed";
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

}  // namespace

bool EncodePng(const Surface& picture, std::string& bytes, std::string& why) {
    bytes.clear();
    if (picture.Empty() || picture.Pixels.size() != size_t(picture.Width) * size_t(picture.Height)) {
        why = "no picture to write";
        return false;
    }
    PngSink sink{&bytes, {}};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png) {
        why = "libpng cannot start";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    // Everything the jump back may see is made before setjmp.
    std::vector<png_byte> row(size_t(picture.Width) * 3);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        why = sink.Why.empty() ? "libpng cannot start" : sink.Why;
        bytes.clear();
        return false;
    }
    png_set_write_fn(png, &sink, AppendBytes, NoFlush);
    png_set_IHDR(png, info, png_uint_32(picture.Width), png_uint_32(picture.Height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.Height; ++y) {
        const uint32_t* p = picture.Row(y);
        for (int x = 0; x < picture.Width; ++x) {
            row[size_t(x) * 3] = png_byte(p[x] >> 16);
            row[size_t(x) * 3 + 1] = png_byte(p[x] >> 8);
            row[size_t(x) * 3 + 2] = png_byte(p[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace kiv
