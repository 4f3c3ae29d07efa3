#include "scenes/speech.h"

#include "shell/game.h"

namespace kiv {

void StartReactionLine(Game&, int, int) {}
void TypeSpeechStep(Game&, int) {}
void CancelSpeech(Game&) {}
void EraseSpeech(Game&) {}

}  // namespace kiv
