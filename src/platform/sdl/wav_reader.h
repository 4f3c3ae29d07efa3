#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kiv {

// Whether a WAV file held in memory can be played: it is decoded by SDL's WAV reader, which
// the sound back end's mixer uses for RIFF WAVE files. False with the reason when not.
bool DecodableWav(const uint8_t* data, size_t size, std::string& why);

}  // namespace kiv
