#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace kiv {
struct Game;
class MakerTools;

// The main form: start-up, shutdown, the two frame clocks and the event handlers.
class TFM1 : public FormEvents {
public:
    explicit TFM1(Game& g) : g_(g) {}

    // The whole start-up. False when it could not complete (a malformed Kiv.txt): no frame may
    // run then, and nothing is saved.
    bool FormCreate();
    // Saves the records (unless halting after a fatal missing file) and releases everything.
    void FormDestroy();
    // HaltRequested := canClose; canClose is left as it came.
    void FormCloseQuery(bool& canClose);
    void FormPaint();
    void AppEvIdle();
    void Timer1Timer();

    // FormEvents
    void MouseDown(MouseButton button, bool shift, int x, int y) override;
    void MouseMove(bool shift, int x, int y) override;
    void MouseUp(MouseButton button, bool shift, int x, int y) override;
    void KeyUp(uint16_t key, bool shift) override;
    void Paint() override { FormPaint(); }
    bool CloseQuery() override;
    void Idle() override { AppEvIdle(); }
    void TimerTick() override { Timer1Timer(); }
    uint32_t IdleDelay() override;
    void ShowMakerOverlay(bool on) override;
    void ReloadGameFiles() override;

    // The game maker's tools, which follow every frame, the pointer and F9 (null: none).
    void SetMakerTools(MakerTools* maker) { maker_ = maker; }

    const std::string& StartupError() const { return startupError_; }

private:
    void HaltTick();
    void AfterFrame(uint32_t tick);

    Game& g_;
    std::string startupError_;
    MakerTools* maker_ = nullptr;
};

// One frame of the current scene.
void RunFrame(Game& g);
// Toggles between idle-driven and timer-driven frames; a beep marks the timer.
void SwitchClockMode(Game& g);
// Sizes and styles the window after WideMode.
void ApplyDisplayMode(Game& g);

}  // namespace kiv
