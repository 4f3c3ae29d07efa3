#pragma once

#include "scenes/stage/stage_counters.h"

namespace kiv {
struct Game;

// The character's lines, typed two bytes a frame from the speech origin (w3, w4) with the
// line's voice; "__" starts a new row and "_/" ends the line.

// Starts reaction line b or b + 1 (alternating by toggle slot t) unless a line is showing.
void StartReactionLine(Game& g, int b, StageCounter t);
// Types the next two-byte unit of line n (1..10) of the stage; true once the line has ended
// (a reaction line then starts its hold on the screen).
bool TypeSpeechStep(Game& g, int n);
// Ends a reaction line at once, erasing it.
void CancelSpeech(Game& g);
// Restores the background over the typed text.
void EraseSpeech(Game& g);

}  // namespace kiv
