#pragma once

#include "canvas.h"
#include "character.h"

namespace kiv::demo {

// The look of the child in stage s (0..9).
const Look& StageLook(int s);
// The scene behind the child in stage s, drawn over the whole 640 x 480 canvas.
void DrawScenery(Canvas& c, int s);
// The finale's curtain (the upper picture of stage 10), on a transparent canvas.
void DrawCurtain(Canvas& c);
// Decorations, on a transparent canvas of 640 x 480.
void DrawBunting(Canvas& c);
void DrawSparkles(Canvas& c);
// Small pictures: the garden's framed painting, the two bonus cards, the stamps.
void DrawGardenPainting(Canvas& c);    // 100 x 80
void DrawSnowCard(Canvas& c);          // 240 x 180
void DrawPartyCard(Canvas& c);         // 240 x 180
void DrawStamps(Canvas& c, int kind);  // 120 x 40, black where it erases, on white
// The ink pot in its 35 x 35 square from (x, y); the icon adds a gold ring and a sparkle.
void DrawInkPot(Canvas& c, double x, double y);
void DrawInkPotIcon(Canvas& c, double x, double y);
// The pot on a stool at the refill spot of stage s, standing on that stage's ground.
void DrawRefillPlace(Canvas& c, int s);

}  // namespace kiv::demo
