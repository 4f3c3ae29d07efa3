#include "media/sound.h"

#include "shell/game.h"

namespace kiv {

void PlayMusic(Game&, int) {}
void KeepMusicLooping(Game&) {}
void ReleaseSound(Game&) {}

}  // namespace kiv
