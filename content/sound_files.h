#pragma once

#include <string>
#include <vector>

namespace kiv::demo {

// Mono PCM samples in -1..1.
using Samples = std::vector<float>;

// WAV writers: 16-bit at 22050 Hz for effects, 8-bit at 11025 Hz for voices (small files).
void WriteWav16(const std::string& path, const Samples& s, int rate);
void WriteWav8(const std::string& path, const Samples& s, int rate);

// The nine effect slots' sounds and the stages' own: "Q01" .. "Q12".
void WriteEffects(const std::string& dir);

// The stage voices "V" + NN + N: English lines spoken by espeak-ng when it is there, the others
// (or all, without espeak-ng) as a murmur of our own. Returns how many were spoken by espeak-ng.
int WriteVoices(const std::string& dir, bool useSpeech);

// A murmur of about the given number of syllables, at 11025 Hz.
Samples Murmur(int syllables, unsigned seed);

}  // namespace kiv::demo
