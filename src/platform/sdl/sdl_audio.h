#pragma once

#include <array>
#include <memory>

#include "platform/audio.h"

namespace kiv {

// Sound through SDL2_mixer: WAV effects and voices, MIDI through FluidSynth. Without a sound
// device it falls back to silence (one line on stderr).
std::unique_ptr<AudioDevice> MakeSdlAudio();

// What the mixer of the open device is doing (tests of the back end look at it).
struct SdlMixerState {
    int channels = 0;                       // mixing channels: the effect, then the ten voices
    bool effectPlaying = false;
    std::array<bool, 10> voicePlaying{};
    std::array<int, 11> channelEnds{};      // how often each channel ended or was cut off
    bool musicPlaying = false;
};
SdlMixerState ProbeSdlMixer();

}  // namespace kiv
