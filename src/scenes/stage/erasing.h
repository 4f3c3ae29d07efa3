#pragma once

#include <cstdint>

#include "media/surface.h"

namespace kiv {
struct Game;

// Erasing during step 50 of a stage: strokes through the stamp or as dabs, ink, the refill
// spot, the tag with its close spot, the check points and the hints. Stage s = SceneNo - 2.

// True when the hit point (StrokeX + 21, StrokeY + 19) lies strictly inside the circle
// (16-bit differences, 32-bit products).
bool PointerInCircle(Game& g, int16_t cx, int16_t cy, int16_t r);
// Whether the press or move at (StrokeX, StrokeY) of stage k = SceneNo - 1 may erase; handles
// the refill spot and the tag's close spot and requests the character's reaction.
bool TryStrokeAt(Game& g, int k);
// The pending stroke of step 50, carried out at the start of its frame.
void CarryOutStroke(Game& g);
// SrcRect of StampBmp into DstRect of StagePicBmp (SRCAND) and of EraseMapBmp (MERGEPAINT).
void StampStroke(Game& g);
// A small black ellipse in DstRect (inset 2, 3) on StagePicBmp, white on EraseMapBmp.
void DabStroke(Game& g);
// Restores DstRect of BackBmp from StageBackBmp, then draws SrcRect of image through SrcRect of
// mask into DstRect (SRCAND, SRCPAINT); nothing is presented.
void ComposeRect(Game& g, const Surface& mask, const Surface& image);
// Presents DstRect, clears the pending stroke, plays the stroke sound (1 one time in 8, else 0).
void FinishStroke(Game& g);
// Ink -= n; when it falls below 1 the pointer shows "no ink" again.
void UseInk(Game& g, uint8_t n);
// Counts the check points whose erase-map pixel is not black; a higher count than before is
// kept in PointsUncovered and shown in the gauge.
void CountCheckPoints(Game& g);
// The gauge of the tag's badge, inside PartsBmp: the 40 x 2 strip (102, 2, 142, 4) shows n
// points (0..20) two pixels each; a full gauge takes its strip from two rows higher. Nothing
// is presented until the badge is drawn.
void SetGauge(Game& g, uint8_t n);
// Copies and presents the badge (gauge and timer digits) into the tag while it is visible.
void DrawBadge(Game& g);
// The tag panel composed over the background with its bottom-left corner at (w3, w4); not
// presented.
void DrawTag(Game& g);
// Small circles on the check points still covered; the whole window is presented.
void ShowHints(Game& g);

// The drag of stage play.
void StrokePress(Game& g, bool shift, int x, int y);
void StrokeMove(Game& g, bool shift, int x, int y);
void StrokeRelease(Game& g);
// F4 (hints, an assist), F5 (full gauge, an assist) and F11 (spot outlines) in step 50.
void StageKey(Game& g, uint16_t key);
// Outlines of the reaction zones, the tag area, the protected circle and the refill spot.
void DrawSpotOutlines(Game& g);

}  // namespace kiv
