#pragma once

#include <cstdint>

#include "scenes/stage/stage_counters.h"

namespace kiv {
struct Game;

// The character's face: eye and mouth cels in mood-dependent sequences, drawn straight into
// BackBmp. Moods: 1 idle, 2 end of the stage, 3 erased outside the zones, 4 zones A to C,
// 5 zone D, 6 zone E.

// One frame of the face; a mood other than the current one restarts both sequences.
void AnimateFace(Game& g, uint8_t mood, uint8_t eyeRow, uint8_t mouthRow);
// Copies the cel in counter k into the face rectangle of FaceTable words a..a+3.
void DrawFacePart(Game& g, int a, StageCounter k);
// Requests mood 3 with eye row 4 and mouth row 1.
void SetMoodTouched(Game& g);
// SetMoodTouched unless the requested mood is already 3 or higher.
void EscalateMood(Game& g);

}  // namespace kiv
