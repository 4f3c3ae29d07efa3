#pragma once

#include <cstdint>
#include <string>

namespace kiv {
struct Game;

// Plays effect slot 0..8 ("Q" + two digits of SoundNumbers[slot] + ".wav"), cutting off the
// effect that plays; a missing file only stops the old one.
void PlaySoundEffect(Game& g, int slot);
// Binds the ten wave players to the voices of the current stage ("V" + stage + digit + ".wav").
void LoadStageVoices(Game& g);
// Speaks voice 1..10 from its start, silencing the other voices and the effect; nothing when
// that voice has no file.
void PlayVoice(Game& g, int index);

// Switches the music to slot n (0..22) unless that file already plays.
void PlayMusic(Game& g, int slot);
// Restarts the music from its beginning once its length has elapsed; called after each frame.
void KeepMusicLooping(Game& g);
// Closes the ten wave players, the effect and the music (at shutdown).
void ReleaseSound(Game& g);

// The length in ms of the MIDI file at path; -1 when it cannot be read or is damaged.
int64_t MidiFileLengthMs(const std::string& path);

}  // namespace kiv
