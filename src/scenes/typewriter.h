#pragma once

// The closing scenes' typewriter and blinking cursor, in glyph text at the text cursor. The
// frame sub-counter (SceneCounters[0]) counts their frames; each reports when it is done and
// leaves the scene's next step to the scene.
namespace kiv {
struct Game;

// One frame of the blinking underscore at the cursor: drawn on frame 0 of every four, erased
// on frame 2.
void BlinkCursor(Game& g);
// One frame of blinking; true (and the sub-counter back at 0) after 4n frames.
bool BlinkWait(Game& g, int n);
// One frame of typing MessageText, a character each four frames with a key sound (the space
// has its own); true (and the sub-counter back at 0) after 4 * its length frames.
bool TypeMessageStep(Game& g);

}  // namespace kiv
