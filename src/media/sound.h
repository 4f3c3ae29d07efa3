#pragma once

namespace kiv {
struct Game;

// Switches the music to slot n (0..22) unless that file already plays.
void PlayMusic(Game& g, int slot);
// Restarts the music from its beginning once its length has elapsed; called after each frame.
void KeepMusicLooping(Game& g);
// Closes the ten wave players and stops the sound effect (at shutdown).
void ReleaseSound(Game& g);

}  // namespace kiv
