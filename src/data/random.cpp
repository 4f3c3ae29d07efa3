#include "data/random.h"

#include <chrono>

namespace kiv {

uint32_t Random(RandomState& r, uint32_t n) {
    r.RandSeed = r.RandSeed * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(n) * r.RandSeed) >> 32);
}

void Randomize(RandomState& r) {
    auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    r.RandSeed = static_cast<uint32_t>(ticks);
}

}  // namespace kiv
