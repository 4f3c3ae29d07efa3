#pragma once

#include <cstdint>

namespace kiv {

// The original runtime's generator: a 32-bit linear congruential generator whose seed starts
// at 0, so a fixed seed gives the same sequence on every machine.
struct RandomState {
    uint32_t RandSeed = 0;
};

// A number in 0..n-1 (0 for n = 0); the seed advances in every case.
uint32_t Random(RandomState& r, uint32_t n);

// Seeds from a high-resolution clock.
void Randomize(RandomState& r);

}  // namespace kiv
