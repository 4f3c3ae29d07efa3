#pragma once

#include <cstdint>
#include <string>

#include "media/surface.h"

#include "platform/platform.h"

namespace kiv {
struct Game;

constexpr uint8_t kPlayFrameInterval = 80;     // ms per frame during stage play
constexpr int32_t kStageTimeNormal = 70290;    // stage time of a single stage
constexpr int32_t kStageTimeChallenge = 1890;  // stage time in the challenge run

// Scenes 2..11: one frame of stage SceneNo - 1.
void StageScene(Game& g);
// A press during stage play.
void StageClick(Game& g, MouseButton button, bool shift, int x, int y);

// Step 0: loads and composes the stage, its tag panel, refill icon and voices.
void SetUpStage(Game& g);
// Step 99: decides the stage's result, keeps a clear's time and hands over to the next scene.
void LeaveStage(Game& g);
// Loads prefix + two digits of the stage number and copies its top-left part into the rectangle
// of four values of the stage's StageLayout record from position index; leaves SrcRect and
// DstRect at FullRect.
void PlaceStageImage(Game& g, const std::string& prefix, uint8_t index, Surface& target);
// One frame of the refill icon's blinking during the introduction (a period of six frames).
void BlinkRefillIcon(Game& g);

}  // namespace kiv
