#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/trace.h"

namespace kiv {

enum class MouseButton : uint8_t { Left, Right, Middle };

// Windows virtual-key codes of the keys the game acts on.
namespace vk {
constexpr uint16_t Control = 17;
constexpr uint16_t F4 = 115;
constexpr uint16_t F5 = 116;
constexpr uint16_t F9 = 120;
constexpr uint16_t F11 = 122;
constexpr uint16_t F12 = 123;
}  // namespace vk

// Cursor ids: -1 hidden, 0 the system default, 1..5 the game's own shapes.
constexpr int kCursorNone = -1;
constexpr int kCursorDefault = 0;
constexpr int kCursorArrow = 1;     // the game's arrow; in stage play the pointer without ink
constexpr int kCursorInkPen = 2;    // stage play with ink loaded
constexpr int kCursorSpeech = 3;    // the character speaks: a click goes on
constexpr int kCursorQuestion = 4;  // the pause prompt asks
constexpr int kCursorFlag = 5;      // the end of a stage, the ending's picture

// The window's own picture: 640 x 480, changed only by presenting.
constexpr int kImageWidth = 640;
constexpr int kImageHeight = 480;

// How a real window shows the picture: each game pixel as Scale x Scale window pixels, or
// full screen at the largest whole scale that fits, centred on black. The headless platform
// ignores it: its image is the reference, one to one.
struct ViewOptions {
    int Scale = 1;
    bool Fullscreen = false;
};
constexpr int kMaxScale = 8;

// A pixel of the game maker's overlay, 0xAARRGGBB: alpha 0 lets the game's pixel through, 255
// covers it, and values between blend the two.
constexpr uint32_t OverlaidPixel(uint32_t game, uint32_t over) {
    const uint32_t a = over >> 24;
    if (a == 0) return game;
    if (a == 255) return over & 0xFFFFFF;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t o = (over >> shift) & 0xFF, g = (game >> shift) & 0xFF;
        out |= ((o * a + g * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

// What the platform calls on the form. All calls come from the one thread, between frames.
class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void MouseDown(MouseButton button, bool shift, int x, int y) = 0;
    virtual void MouseMove(bool shift, int x, int y) = 0;
    virtual void MouseUp(MouseButton button, bool shift, int x, int y) = 0;
    virtual void KeyUp(uint16_t key, bool shift) = 0;
    virtual void Paint() = 0;
    // The user asks to close the window; true lets it close.
    virtual bool CloseQuery() = 0;
    // The idle hook and the periodic timer: each may run a frame.
    virtual void Idle() = 0;
    virtual void TimerTick() = 0;
    // Milliseconds until the idle hook has a frame to run (0: now). Lets the loop sleep.
    virtual uint32_t IdleDelay() = 0;
    // The game maker's tools, asked for by a script: the overlay shown or hidden, and the
    // game's files read again.
    virtual void ShowMakerOverlay(bool) {}
    virtual void ReloadGameFiles() {}
};

// The one seam to the operating system. The public calls trace what a player would see or
// hear, then hand over to the back end.
class Platform {
public:
    virtual ~Platform() = default;

    Trace& GetTrace() { return trace_; }
    // Writes a trace event stamped with the current tick and frame count.
    void TraceEvent(std::string_view ev, std::initializer_list<Trace::Field> fields = {}) {
        trace_.SetClock(TickCount(), frames_);
        trace_.Event(ev, fields);
    }

    // Window: client size, border and stay-on-top; shown or hidden.
    void SetWindow(int clientWidth, int clientHeight, bool border, bool topmost);
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    int ClientWidth() const { return clientW_; }
    int ClientHeight() const { return clientH_; }
    bool Border() const { return border_; }
    bool Topmost() const { return topmost_; }
    virtual void ScreenSize(int& width, int& height) = 0;

    // Copies rect r of a 640 x 480 picture (0x00RRGGBB, rows of 640) into the window's image.
    void Present(const uint32_t* pixels, const Rect& r);
    const std::vector<uint32_t>& WindowImage() const { return image_; }
    // The client area as a 24-bit BMP file, with the overlay over it while that is shown.
    bool SaveScreenshot(const std::string& path) const;

    // The game maker's overlay: a 640 x 480 picture (rows of 640 OverlaidPixel values) shown
    // over the window's image while it is shown, and never written into it: the image, the
    // trace and what the game draws stay as they are. Only the window (and a screenshot) shows
    // it. SetOverlay takes a new picture and passes on the rows that changed.
    void SetOverlay(const std::vector<uint32_t>& pixels);
    void ShowOverlay(bool shown);
    bool OverlayShown() const { return overlayShown_; }
    const std::vector<uint32_t>& OverlayImage() const { return overlay_; }

    void SetCursor(int id);
    int Cursor() const { return cursor_; }

    // A modal message (UTF-8); also printed on stderr.
    void ShowMessage(const std::string& text);
    void Beep();

    // A millisecond tick that wraps after 2^32 ms.
    virtual uint32_t TickCount() = 0;

    // Clock sources: the idle hook (on or off) and the periodic timer (interval 0 stops it).
    void SetIdleHandler(bool on) { idleOn_ = on; }
    bool IdleHandlerOn() const { return idleOn_; }
    void SetTimerInterval(uint32_t ms);
    uint32_t TimerInterval() const { return timerMs_; }

    // Runs the message loop until the window closes; returns when it has.
    virtual void Run(FormEvents& form) = 0;
    // Ends the loop after the current event (the form closes).
    void Close() { closed_ = true; }
    bool Closed() const { return closed_; }

    virtual AudioDevice& Audio() = 0;
    // The font the game's texts are drawn in.
    virtual FontRenderer& Fonts() = 0;

    virtual void SetView(const ViewOptions&) {}

    void SetFrameCount(uint64_t frames) { frames_ = frames; }

protected:
    Platform()
        : image_(static_cast<size_t>(kImageWidth) * kImageHeight, 0),
          overlay_(static_cast<size_t>(kImageWidth) * kImageHeight, 0) {}

    virtual void DoSetWindow() = 0;
    virtual void DoPresent(const Rect& r) = 0;
    virtual void DoSetCursor(int id) = 0;
    virtual void DoShowMessage(const std::string& text) = 0;
    virtual void DoTimerChanged() {}
    // A rectangle of the overlay changed, or all of it (shown or hidden).
    virtual void DoOverlayChanged(const Rect&) {}

private:
    void WindowChanged();

    Trace trace_;
    std::vector<uint32_t> image_;
    std::vector<uint32_t> overlay_;
    bool overlayShown_ = false;
    int clientW_ = 0, clientH_ = 0;
    bool border_ = true, topmost_ = false, visible_ = false;
    int cursor_ = kCursorDefault;
    bool idleOn_ = false;
    uint32_t timerMs_ = 0;
    bool closed_ = false;
    uint64_t frames_ = 0;
};

}  // namespace kiv
