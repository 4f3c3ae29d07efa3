#pragma once

#include <cstdint>

#include "platform/geometry.h"

namespace kiv {

// Stage-play state shared by the stage, the menu and the closing scenes.
struct PlayState {
    int32_t StageTime = 0;        // remaining stage time; falls by 2 each play frame
    uint8_t PointsUncovered = 0;  // most check points found uncovered in this stage (0..20)
    uint8_t StageOutcome = 0;     // 0 normal or cleared, 1 not all points, 2 time ran out
    bool ChallengeMode = false;   // a run through all stages from the menu's challenge item
    uint8_t CarryOverMode = 0;    // 0, 1 or 2: how the next stage builds its erase map
    bool TagVisible = true;
    bool CheatUsed = false;
    // The next stage set-up opens no further stage in the menu: a stage started from the command
    // line, or started again after its files changed, is no stage the player has reached.
    bool OpenNoStage = false;

    // Erasing.
    bool RedrawLastStroke = false;  // the next play frame recomposes StrokeRect
    uint8_t ScrapeState = 0;        // 0 none, 1 just pressed on an erasable place, 2 dragging
    uint8_t PendingStroke = 0;      // 0 none, 1 stamp stroke, 2 dab stroke
    int16_t StrokeX = 0;            // mouse position minus 12: top-left of the 40 x 40 stroke cell
    int16_t StrokeY = 0;
    Rect StrokeRect;  // the last stroke (the refill icon during the introduction)

    // The tag panel: its close spot and the badge copied into it every play frame.
    int16_t TagCloseX = 0;
    int16_t TagCloseY = 0;
    Rect BadgeSrcRect;
    Rect BadgeDstRect;

    // Face and speech: the requested mood, and where the next typed unit goes.
    uint8_t FaceMood = 1;
    uint8_t FaceEyeRow = 2;
    uint8_t FaceMouthRow = 2;
    int16_t SpeechX = 0;
    int16_t SpeechY = 0;
    int16_t SpeechRight = 0;  // largest right edge the typed line reached
};

}  // namespace kiv
