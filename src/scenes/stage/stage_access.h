#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "game/game.h"
#include "game/scene_control.h"
#include "scenes/stage/stage_counters.h"

namespace kiv {

// The records of the stage being played (stage s = SceneNo - 2, kept inside 0..9 so that a
// routine called outside stage play still reads a table of the game) and the stage-play
// counters by name (Sc).

inline int StageIndex(const Game& g) { return std::clamp(int(g.Shell.SceneNo) - kSceneFirstStage, 0, 9); }
// The stage's number as the game names its files and StageParams name it: SceneNo - 1, not
// kept inside 1..10.
inline int StageNumber(const Game& g) { return int(g.Shell.SceneNo) - 1; }

inline const std::array<int16_t, 17>& StageLayoutOf(const Game& g) {
    return g.Cfg.StageLayout[static_cast<size_t>(StageIndex(g))];
}
inline const std::array<uint8_t, 13>& StageParamsOf(const Game& g) {
    return g.Cfg.StageParams[static_cast<size_t>(StageIndex(g))];
}
inline const std::array<int16_t, 15>& FaceTableOf(const Game& g) {
    return g.Cfg.FaceTable[static_cast<size_t>(StageIndex(g))];
}

// Words of StageLayout the stage play reads by name.
enum LayoutWord : int {
    kSpeechLeft = 3,  // w3, w4: origin of the speech text; the tag's bottom-left corner
    kSpeechTop = 4,
    kRefillX = 5,  // w5, w6: centre of the refill spot
    kRefillY = 6,
    kCelsAndCarry = 7,  // div 10: cels of the bonus picture; mod 10: carry-over mode
    kClearTime = 8,     // the time kept when the stage is cleared
    kBonusRight = 11,   // not 0: the bonus picture is available
    kInsertBottom = 16  // not 0: the stage has an insert picture
};

}  // namespace kiv
