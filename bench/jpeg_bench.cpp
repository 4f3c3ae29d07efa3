// Decoding a 640 x 480 JPEG picture against a plain memcpy of a 640 x 480 screen, in one run.

#include <benchmark/benchmark.h>

#include <jpeglib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "media/image_jpeg.h"

namespace kiv {
namespace {

// A photograph-like 640 x 480 picture (gradients with some grain) at the encoder's usual quality.
std::string MakeJpeg640x480() {
    const int w = 640, h = 480;
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = w;
    c.image_height = h;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 85, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(size_t(w) * 3);
    uint32_t seed = 12345;
    while (c.next_scanline < c.image_height) {
        const int y = int(c.next_scanline);
        for (int x = 0; x < w; ++x) {
            seed = seed * 134775813u + 1;
            const int grain = int(seed >> 28) - 8;
            row[3 * size_t(x)] = static_cast<unsigned char>(std::clamp(x * 255 / w + grain, 0, 255));
            row[3 * size_t(x) + 1] = static_cast<unsigned char>(std::clamp(y * 255 / h + grain, 0, 255));
            row[3 * size_t(x) + 2] = static_cast<unsigned char>(std::clamp(((x ^ y) & 0xFF) + grain, 0, 255));
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return out;
}

void BM_JpegDecode640x480(benchmark::State& state) {
    const std::string file = MakeJpeg640x480();
    Surface s;
    std::string error;
    for (auto _ : state) {
        bool ok = DecodeJpeg(reinterpret_cast<const uint8_t*>(file.data()), file.size(), s, error);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(s.Pixels.data());
    }
    state.counters["file_bytes"] = double(file.size());
}
BENCHMARK(BM_JpegDecode640x480);

void BM_JpegBaselineMemcpy640x480(benchmark::State& state) {
    std::vector<uint32_t> a(size_t{640} * 480, 0x123456), b(size_t{640} * 480);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_JpegBaselineMemcpy640x480);

}  // namespace
}  // namespace kiv
