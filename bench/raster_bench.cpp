// Full-screen copies against a plain memcpy of the same bytes.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "media/raster.h"

namespace kiv {
namespace {

constexpr int kW = 640, kH = 480;

Surface Patterned(int w, int h) {
    Surface s = CreateSurface(w, h);
    for (size_t i = 0; i < s.Pixels.size(); ++i) s.Pixels[i] = uint32_t(i * 2654435761u) & 0x00FFFFFF;
    return s;
}

void BM_Memcpy640x480(benchmark::State& state) {
    std::vector<uint32_t> a(size_t(kW) * kH, 1), b(size_t(kW) * kH, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}
BENCHMARK(BM_Memcpy640x480);

void BM_FullScreenCopy(benchmark::State& state, Rop rop) {
    Surface src = Patterned(kW, kH), dst = Patterned(kW, kH);
    const Rect full{0, 0, kW, kH};
    for (auto _ : state) {
        StretchCopy(dst, full, src, full, rop);
        benchmark::DoNotOptimize(dst.Pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}
BENCHMARK_CAPTURE(BM_FullScreenCopy, SRCCOPY, Rop::SRCCOPY);
BENCHMARK_CAPTURE(BM_FullScreenCopy, SRCAND, Rop::SRCAND);
BENCHMARK_CAPTURE(BM_FullScreenCopy, SRCPAINT, Rop::SRCPAINT);

// The menu's squeeze: a 640x26 band into 640x6, black lines winning.
void BM_Squeeze26To6Rows(benchmark::State& state) {
    Surface src = Patterned(kW, 26), dst = Patterned(kW, kH);
    for (auto _ : state) {
        StretchCopy(dst, Rect{0, 100, kW, 106}, src, Rect{0, 0, kW, 26}, Rop::SRCCOPY);
        benchmark::DoNotOptimize(dst.Pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Squeeze26To6Rows);

void BM_ColorToMonoFullScreen(benchmark::State& state) {
    Surface src = Patterned(kW, kH), mask = CreateMonoSurface(kW, kH);
    const Rect full{0, 0, kW, kH};
    for (auto _ : state) {
        CanvasCopyRect(mask, full, src, full);
        benchmark::DoNotOptimize(mask.Pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}
BENCHMARK(BM_ColorToMonoFullScreen);

}  // namespace
}  // namespace kiv
