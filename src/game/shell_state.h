#pragma once

#include <array>
#include <cstdint>

namespace kiv {

constexpr uint8_t kDefaultFrameInterval = 40;  // ms: 25 frames a second

// The form's clock fields and the scene dispatcher's state.
struct ShellState {
    uint8_t SceneNo = 0;                      // 0 opening, 1 menu, 2..11 stages, 12 ending, 13 results
    std::array<int16_t, 20> SceneCounters{};  // [0] frame sub-counter, [1] step (scenes 1..13), [2] opening step
    bool WideMode = true;                     // true: 640 x 480 client area; false: 580 x 380
    int16_t CurrentCursor = 0;

    uint8_t FrameInterval = kDefaultFrameInterval;
    uint32_t LastFrameTick = 0;
    bool TimerDriven = false;
    bool HaltRequested = false;
    bool CloseRequested = false;

    uint64_t FramesRun = 0;  // frames run so far (for the trace)
};

}  // namespace kiv
