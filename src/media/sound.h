#pragma once

#include <cstdint>
#include <string>

#include "data/config.h"
#include "media/sound_state.h"
#include "platform/platform.h"

namespace kiv {

// What the sound routines work with: the platform (its sound devices, its clock for the
// music's loop, its trace), the configuration (the game folder, the effect numbers, the music
// files) and the sound state.
struct SoundPorts {
    Platform& P;
    const Config& Cfg;
    SoundState& State;
};

// Plays effect slot 0..8 ("Q" + two digits of SoundNumbers[slot] + ".wav"), cutting off the
// effect that plays; a missing file only stops the old one.
void PlaySoundEffect(const SoundPorts& s, int slot);
// Binds the ten wave players to the voices of stage 1..10 ("V" + stage + digit + ".wav").
void LoadStageVoices(const SoundPorts& s, int stage);
// Speaks voice 1..10 from its start, silencing the other voices and the effect; nothing when
// that voice has no file.
void PlayVoice(const SoundPorts& s, int index);

// Switches the music to slot n (0..22) unless that file already plays.
void PlayMusic(const SoundPorts& s, int slot);
// Restarts the music from its beginning once its length has elapsed; called after each frame.
void KeepMusicLooping(const SoundPorts& s);
// Closes the ten wave players, the effect and the music (at shutdown).
void ReleaseSound(const SoundPorts& s);

// The length in ms of the MIDI file at path; -1 when it cannot be read or is damaged.
int64_t MidiFileLengthMs(const std::string& path);

}  // namespace kiv
