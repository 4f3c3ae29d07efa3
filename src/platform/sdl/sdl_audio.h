#pragma once

#include <memory>

#include "platform/audio.h"

namespace kiv {

// Sound through SDL2_mixer: WAV effects and voices, MIDI through FluidSynth. Without a sound
// device it falls back to silence (one line on stderr).
std::unique_ptr<AudioDevice> MakeSdlAudio();

}  // namespace kiv
