#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/deferred_audio.h"
#include "platform/sdl/cursor_shapes.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_handles.h"
#include "platform/sdl/ttf_font.h"
#include "platform/sdl/window_view.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace kiv {

namespace {

uint16_t VirtualKey(SDL_Keycode k) {
    switch (k) {
        case SDLK_LCTRL:
        case SDLK_RCTRL: return 17;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return 16;
        case SDLK_LALT:
        case SDLK_RALT: return 18;
        case SDLK_RETURN: return 13;
        case SDLK_ESCAPE: return 27;
        case SDLK_SPACE: return 32;
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        default: break;
    }
    if (k >= SDLK_F1 && k <= SDLK_F12) return static_cast<uint16_t>(112 + (k - SDLK_F1));
    if (k >= SDLK_a && k <= SDLK_z) return static_cast<uint16_t>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return static_cast<uint16_t>(k);
    return 0;
}

bool ShiftDown() { return (SDL_GetModState() & KMOD_SHIFT) != 0; }

// Starts SDL's video. The game reads no typed text, so the input method is opened in the
// plain C locale: the X compose tables of a UTF-8 locale (a large file, parsed character by
// character) are not loaded before the first frame. The environment is put back afterwards.
bool InitVideo() {
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old ? old : "";
    ::setenv("LC_ALL", "C", 1);
    const bool ok = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) == 0;
    if (old)
        ::setenv("LC_ALL", saved.c_str(), 1);
    else
        ::unsetenv("LC_ALL");
    return ok;
}

// SDL itself, from the start of the video system to SDL_Quit, which runs once everything made
// with it is gone.
class SdlSession {
public:
    SdlSession() = default;
    SdlSession(const SdlSession&) = delete;
    SdlSession& operator=(const SdlSession&) = delete;
    ~SdlSession() {
        if (started_) SDL_Quit();
    }
    bool Start() { return started_ = InitVideo(); }

private:
    bool started_ = false;
};

sdl::CursorHandle MakeCursor(const char* const* rows) {
    uint8_t data[32 * 4] = {}, mask[32 * 4] = {};
    for (int y = 0; y < 32 && rows[y]; ++y) {
        for (int x = 0; x < 32 && rows[y][x]; ++x) {
            const int at = y * 4 + x / 8;
            const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
            if (rows[y][x] == 'X') {
                data[at] |= bit;
                mask[at] |= bit;
            } else if (rows[y][x] == '.') {
                mask[at] |= bit;
            }
        }
    }
    return sdl::CursorHandle(SDL_CreateCursor(data, mask, 32, 32, 0, 0));
}

}  // namespace

bool GameMouseButton(uint8_t sdlButton, MouseButton& button) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: button = MouseButton::Left; return true;
        case SDL_BUTTON_MIDDLE: button = MouseButton::Middle; return true;
        case SDL_BUTTON_RIGHT: button = MouseButton::Right; return true;
        default: return false;
    }
}

namespace {

class SdlPlatform : public Platform {
public:
    bool Start() {
        if (!session_.Start()) {
            std::fprintf(stderr, "kiv: cannot start the video system: %s\n", SDL_GetError());
            return false;
        }
        // The window's own surface: on X11 a plain picture needs no GPU driver at all. (Other
        // video drivers may have no surface of their own; SDL then draws it with a renderer.)
        if (const char* driver = SDL_GetCurrentVideoDriver(); driver && std::strcmp(driver, "x11") == 0)
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // Made at the size the game almost always asks for, so the first showing needs no resize.
        window_.reset(SDL_CreateWindow("KIV system", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kImageWidth,
                                       kImageHeight, SDL_WINDOW_HIDDEN));
        if (!window_) {
            std::fprintf(stderr, "kiv: cannot open the window: %s\n", SDL_GetError());
            return false;
        }
        view_.Attach(window_.get());
        const auto& shapes = CursorShapes();
        for (size_t i = 0; i < shapes.size(); ++i) cursors_[i] = MakeCursor(shapes[i]);  // NULL tolerated
#ifdef __EMSCRIPTEN__
        // No threads in the browser: WebAudio opens at once, and SDL's own wait after each
        // picture is left out (the frame clock's wait gives the browser its turn).
        SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
        audio_ = OpenSdlSoundDevice();
        if (!audio_) audio_ = std::make_unique<SilentAudio>();
#else
        audio_ = std::make_unique<DeferredAudio>(OpenSdlSoundDevice);
#endif
        return true;
    }

    // A tick like the system's: milliseconds, wrapping after 2^32.
    uint32_t TickCount() override { return static_cast<uint32_t>(SDL_GetTicks64()); }

    void ScreenSize(int& w, int& h) override {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
            w = mode.w;
            h = mode.h;
        } else {
            w = 1024;
            h = 768;
        }
    }

    AudioDevice& Audio() override { return *audio_; }
    FontRenderer& Fonts() override { return TtfFonts(); }

    void SetView(const ViewOptions& v) override {
        viewOpt_ = v;
        viewOpt_.Scale = std::clamp(v.Scale, 1, kMaxScale);
    }

    void Run(FormEvents& form) override {
        timerNext_ = TickCount() + TimerInterval();
        while (!Closed()) {
            SDL_Event ev;
            const uint32_t wait = WaitMs(form);
#ifdef __EMSCRIPTEN__
            // The browser delivers input, draws and plays only while the game waits.
            emscripten_sleep(wait);
            bool got = SDL_PollEvent(&ev);
#else
            bool got = wait > 0 ? SDL_WaitEventTimeout(&ev, static_cast<int>(wait)) : SDL_PollEvent(&ev);
#endif
            while (got && !Closed()) {
                Handle(form, ev);
                got = SDL_PollEvent(&ev);
            }
            if (Closed()) break;
            if (IdleHandlerOn()) form.Idle();
            if (TimerInterval() > 0 && !Closed()) {
                const uint32_t now = TickCount();
                if (static_cast<int32_t>(now - timerNext_) >= 0) {
                    // Schedule the next tick first: a frame that sets a new interval restarts
                    // the timer from now. Late ticks are not caught up, as a system timer
                    // coalesces them.
                    timerNext_ += TimerInterval();
                    if (static_cast<int32_t>(now - timerNext_) >= 0) timerNext_ = now + TimerInterval();
                    form.TimerTick();
                }
            }
            Render();
        }
    }

protected:
    void DoSetWindow() override {
        view_.SetPicture(ClientWidth(), ClientHeight());
        SDL_SetWindowBordered(window_.get(), Border() ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowAlwaysOnTop(window_.get(), Topmost() ? SDL_TRUE : SDL_FALSE);
        ApplyWindowSize();
        if (Visible()) {
            SDL_ShowWindow(window_.get());
            view_.ChangedAll();
        } else {
            SDL_HideWindow(window_.get());
        }
    }

    void DoPresent(const Rect& r) override { view_.Changed(r); }

    void DoSetCursor(int id) override {
        if (id < 0) {
            SDL_ShowCursor(SDL_DISABLE);
            return;
        }
        SDL_ShowCursor(SDL_ENABLE);
        // Cursor 0 is the system's; 1..5 are the game's own shapes.
        SDL_Cursor* c =
            id >= 1 && id <= static_cast<int>(cursors_.size()) ? cursors_[static_cast<size_t>(id - 1)].get() : nullptr;
        SDL_SetCursor(c ? c : SDL_GetDefaultCursor());
    }

    void DoShowMessage(const std::string& text) override {
#ifdef __EMSCRIPTEN__
        // On the page, not in an alert that would hold the browser.
        EM_ASM(
            {
                if (Module["kivMessage"]) Module["kivMessage"](UTF8ToString($0));
            },
            text.c_str());
#else
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "KIV system", text.c_str(), window_.get());
#endif
    }

    void DoTimerChanged() override { timerNext_ = TickCount() + TimerInterval(); }

    void DoOverlayChanged(const Rect& r) override { view_.OverlayChanged(r); }

private:
    uint32_t WaitMs(FormEvents& form) {
        uint32_t wait = 100;
        if (IdleHandlerOn()) wait = std::min(wait, form.IdleDelay());
        if (TimerInterval() > 0) {
            const int32_t left = static_cast<int32_t>(timerNext_ - TickCount());
            wait = std::min<uint32_t>(wait, left > 0 ? static_cast<uint32_t>(left) : 0);
        }
        return wait;
    }

    // The window is the picture enlarged by the chosen scale, or the whole screen.
    void ApplyWindowSize() {
        if (viewOpt_.Fullscreen) {
            SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
            return;
        }
        const bool wasFullscreen = (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_FULLSCREEN) != 0;
        SDL_SetWindowFullscreen(window_.get(), 0);
        const int w = ClientWidth() * viewOpt_.Scale, h = ClientHeight() * viewOpt_.Scale;
        int nowW = 0, nowH = 0;
        SDL_GetWindowSize(window_.get(), &nowW, &nowH);
        // SDL waits on the window manager after a resize or a move (up to 10 ms a time at start-up);
        // a window that already has its size keeps its place.
        if (!wasFullscreen && nowW == w && nowH == h) return;
        SDL_SetWindowSize(window_.get(), w, h);
        SDL_SetWindowPosition(window_.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }

    void ToggleFullscreen() {
        viewOpt_.Fullscreen = !viewOpt_.Fullscreen;
        ApplyWindowSize();
        view_.ChangedAll();
    }

    // The game pixel under a window position; false in the black border around the picture.
    bool GamePoint(int wx, int wy, int& gx, int& gy) const { return view_.Layout().ToGame(wx, wy, gx, gy); }

    void Handle(FormEvents& form, const SDL_Event& ev) {
        int x = 0, y = 0;
        switch (ev.type) {
            case SDL_MOUSEBUTTONDOWN: {
                MouseButton b;
                // A press on the border lands on no game pixel: nothing happens.
                if (!GameMouseButton(ev.button.button, b) || !GamePoint(ev.button.x, ev.button.y, x, y)) break;
                Hold(ev.button.button, x, y);
                form.MouseDown(b, ShiftDown(), x, y);
                break;
            }
            case SDL_MOUSEBUTTONUP: {
                MouseButton b;
                GamePoint(ev.button.x, ev.button.y, x, y);
                if (!GameMouseButton(ev.button.button, b)) break;
                Unhold(ev.button.button, x, y);
                form.MouseUp(b, ShiftDown(), x, y);
                break;
            }
            case SDL_MOUSEMOTION:
                GamePoint(ev.motion.x, ev.motion.y, x, y);
                lastX_ = x;
                lastY_ = y;
                form.MouseMove(ShiftDown(), x, y);
                break;
            case SDL_KEYDOWN:
                if (ev.key.keysym.sym == SDLK_RETURN && (ev.key.keysym.mod & KMOD_ALT) && !ev.key.repeat)
                    ToggleFullscreen();
                break;
            case SDL_KEYUP:
                if (uint16_t key = VirtualKey(ev.key.keysym.sym)) form.KeyUp(key, ShiftDown());
                break;
            case SDL_WINDOWEVENT:
                if (ev.window.event == SDL_WINDOWEVENT_EXPOSED) {
                    form.Paint();
                    view_.ChangedAll();
                } else if (ev.window.event == SDL_WINDOWEVENT_CLOSE) {
                    form.CloseQuery();
                } else if (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST || ev.window.event == SDL_WINDOWEVENT_ENTER) {
                    ReleaseLostButtons(form, ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST);
                }
                break;
            case SDL_QUIT: form.CloseQuery(); break;
            default: break;
        }
    }

    // The game's three buttons (SDL numbers 1..3). While one is held the window keeps the mouse,
    // so a drag that leaves the window still moves and ends with the button's release.
    void Hold(uint8_t button, int x, int y) {
        held_ |= SDL_BUTTON(button);
        lastX_ = x;
        lastY_ = y;
        SDL_CaptureMouse(SDL_TRUE);
    }

    void Unhold(uint8_t button, int x, int y) {
        held_ &= ~SDL_BUTTON(button);
        lastX_ = x;
        lastY_ = y;
        if (held_ == 0) SDL_CaptureMouse(SDL_FALSE);
    }

    // A release the window can no longer see (another window took the focus, or the button
    // came up while the mouse was not ours) is delivered here, so no drag outlives its button.
    void ReleaseLostButtons(FormEvents& form, bool focusLost) {
        if (held_ == 0) return;
        const uint32_t down = focusLost ? 0 : SDL_GetGlobalMouseState(nullptr, nullptr);
        for (uint8_t b = SDL_BUTTON_LEFT; b <= SDL_BUTTON_RIGHT; ++b) {
            MouseButton button;
            if (!(held_ & SDL_BUTTON(b)) || (down & SDL_BUTTON(b)) || !GameMouseButton(b, button)) continue;
            Unhold(b, lastX_, lastY_);
            form.MouseUp(button, ShiftDown(), lastX_, lastY_);
        }
    }

    void Render() {
        if (!Visible() || !view_.Flush(WindowImage().data(), OverlayShown() ? OverlayImage().data() : nullptr)) return;
        TraceView();
        if (!GetTrace().Active()) return;
        std::string rects = "[";
        for (const Rect& r : view_.Sent()) {
            if (rects.size() > 1) rects += ",";
            rects += Trace::RectJson(r);
        }
        TraceEvent("update", {{"rects", rects + "]"}});
    }

    // Names the layout in the trace whenever it changes: the window's size, the scale and the
    // picture's place in the window.
    void TraceView() {
        const ViewLayout& v = view_.Layout();
        int w = 0, h = 0;
        SDL_GetWindowSize(window_.get(), &w, &h);
        const std::array<int, 5> now{w, h, v.Scale, v.OffsetX, v.OffsetY};
        if (now == tracedView_) return;
        tracedView_ = now;
        TraceEvent("view", {{"w", Trace::Num(w)},
                            {"h", Trace::Num(h)},
                            {"scale", Trace::Num(v.Scale)},
                            {"x", Trace::Num(v.OffsetX)},
                            {"y", Trace::Num(v.OffsetY)}});
    }

    // Declared first, so that SDL quits after the window, the cursors and the sound are gone.
    SdlSession session_;
    sdl::WindowHandle window_;
    WindowView view_;
    ViewOptions viewOpt_;
    std::array<int, 5> tracedView_{};
    std::array<sdl::CursorHandle, 5> cursors_;
    std::unique_ptr<AudioDevice> audio_;
    uint32_t timerNext_ = 0;
    uint32_t held_ = 0;          // SDL_BUTTON masks of the buttons pressed in the window
    int lastX_ = 0, lastY_ = 0;  // the game position of the last mouse event
};

}  // namespace

std::unique_ptr<Platform> MakeSdlPlatform() {
    auto p = std::make_unique<SdlPlatform>();
    if (!p->Start()) return nullptr;
    return p;
}

}  // namespace kiv
