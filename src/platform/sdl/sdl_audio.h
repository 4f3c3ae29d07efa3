#pragma once

#include <array>
#include <memory>

#include "platform/audio.h"

namespace kiv {

// Sound through SDL2_mixer: WAV effects and voices, MIDI through one FluidSynth synthesizer.
// Without a sound device it plays nothing (one line on stderr); SDL's silent driver, when
// chosen, is used like a device (the back end's tests listen to the mixer on it).
std::unique_ptr<AudioDevice> MakeSdlAudio();

// The game's sound device: null when there is no device that can be heard (none, or only SDL's
// silent driver), so that nothing is loaded or mixed for nobody. Slow (it may load a
// soundfont): the window opens it on a thread of its own.
std::unique_ptr<AudioDevice> OpenSdlSoundDevice();

// What the mixer of the open device is doing (tests of the back end look at it).
struct SdlMixerState {
    int channels = 0;  // mixing channels: the effect, then the ten voices
    bool effectPlaying = false;
    std::array<bool, 10> voicePlaying{};
    std::array<int, 11> channelEnds{};  // how often each channel ended or was cut off
};
SdlMixerState ProbeSdlMixer();

}  // namespace kiv
