#pragma once

#include <cstdint>

namespace kiv {

// Stage-play state shared by the stage, the menu and the closing scenes.
struct PlayState {
    int32_t StageTime = 0;         // remaining stage time; falls by 2 each play frame
    uint8_t PointsUncovered = 0;   // most check points found uncovered in this stage (0..20)
    uint8_t StageOutcome = 0;      // 0 normal or cleared, 1 not all points, 2 time ran out
    bool ChallengeMode = false;    // a run through all stages from the menu's challenge item
    uint8_t CarryOverMode = 0;     // 0, 1 or 2: how the next stage builds its erase map
    bool TagVisible = true;
    bool CheatUsed = false;

    // Erasing.
    bool RedrawLastStroke = false;
    uint8_t ScrapeState = 0;       // not 0 while a drag is under way
    uint8_t PendingStroke = 0;
    int16_t StrokeX = 0;
    int16_t StrokeY = 0;

    // Face and speech.
    uint8_t FaceMood = 1;
    uint8_t FaceEyeRow = 2;
    uint8_t FaceMouthRow = 2;
};

}  // namespace kiv
