#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <array>
#include <cstdio>
#include <cstring>

#include "platform/sdl/cursor_shapes.h"
#include "platform/sdl/sdl_audio.h"

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

SDL_Cursor* MakeCursor(const char* const* rows) {
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
    return SDL_CreateCursor(data, mask, 32, 32, 0, 0);
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
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
            std::fprintf(stderr, "kiv: cannot start the video system: %s\n", SDL_GetError());
            return false;
        }
        window_ = SDL_CreateWindow("KIV system", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 580, 380,
                                   SDL_WINDOW_HIDDEN);
        if (!window_) {
            std::fprintf(stderr, "kiv: cannot open the window: %s\n", SDL_GetError());
            return false;
        }
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_) {
            std::fprintf(stderr, "kiv: cannot draw into the window: %s\n", SDL_GetError());
            return false;
        }
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kImageWidth,
                                     kImageHeight);
        if (!texture_) {
            std::fprintf(stderr, "kiv: cannot make the window's picture: %s\n", SDL_GetError());
            return false;
        }
        const auto& shapes = CursorShapes();
        for (size_t i = 0; i < shapes.size(); ++i) cursors_[i + 1] = MakeCursor(shapes[i]);  // NULL tolerated
        cursors_[0] = SDL_GetDefaultCursor();
        audio_ = MakeSdlAudio();
        return true;
    }

    ~SdlPlatform() override {
        audio_.reset();
        for (size_t i = 1; i < cursors_.size(); ++i)
            if (cursors_[i]) SDL_FreeCursor(cursors_[i]);
        if (texture_) SDL_DestroyTexture(texture_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        SDL_Quit();
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

    void Run(FormEvents& form) override {
        timerNext_ = TickCount() + TimerInterval();
        while (!Closed()) {
            SDL_Event ev;
            const uint32_t wait = WaitMs(form);
            bool got = wait > 0 ? SDL_WaitEventTimeout(&ev, static_cast<int>(wait)) : SDL_PollEvent(&ev);
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
        SDL_SetWindowBordered(window_, Border() ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowAlwaysOnTop(window_, Topmost() ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowSize(window_, ClientWidth(), ClientHeight());
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        if (Visible()) {
            SDL_ShowWindow(window_);
            dirty_ = true;
        } else {
            SDL_HideWindow(window_);
        }
    }

    void DoPresent(const Rect& r) override {
        SDL_Rect sr{r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top};
        const uint32_t* px = WindowImage().data() + static_cast<size_t>(r.Top) * kImageWidth + r.Left;
        SDL_UpdateTexture(texture_, &sr, px, kImageWidth * 4);
        dirty_ = true;
    }

    void DoSetCursor(int id) override {
        if (id < 0) {
            SDL_ShowCursor(SDL_DISABLE);
            return;
        }
        SDL_ShowCursor(SDL_ENABLE);
        SDL_Cursor* c = id < static_cast<int>(cursors_.size()) ? cursors_[static_cast<size_t>(id)] : nullptr;
        SDL_SetCursor(c ? c : SDL_GetDefaultCursor());
    }

    void DoShowMessage(const std::string& text) override {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "KIV system", text.c_str(), window_);
    }

    void DoTimerChanged() override { timerNext_ = TickCount() + TimerInterval(); }

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

    void Handle(FormEvents& form, const SDL_Event& ev) {
        switch (ev.type) {
            case SDL_MOUSEBUTTONDOWN: {
                MouseButton b;
                if (GameMouseButton(ev.button.button, b)) form.MouseDown(b, ShiftDown(), ev.button.x, ev.button.y);
                break;
            }
            case SDL_MOUSEBUTTONUP: {
                MouseButton b;
                if (GameMouseButton(ev.button.button, b)) form.MouseUp(b, ShiftDown(), ev.button.x, ev.button.y);
                break;
            }
            case SDL_MOUSEMOTION:
                form.MouseMove(ShiftDown(), ev.motion.x, ev.motion.y);
                break;
            case SDL_KEYUP:
                if (uint16_t key = VirtualKey(ev.key.keysym.sym)) form.KeyUp(key, ShiftDown());
                break;
            case SDL_WINDOWEVENT:
                if (ev.window.event == SDL_WINDOWEVENT_EXPOSED) {
                    form.Paint();
                    dirty_ = true;
                } else if (ev.window.event == SDL_WINDOWEVENT_CLOSE) {
                    form.CloseQuery();
                }
                break;
            case SDL_QUIT:
                form.CloseQuery();
                break;
            default:
                break;
        }
    }

    void Render() {
        if (!dirty_ || !Visible()) return;
        dirty_ = false;
        SDL_Rect client{0, 0, ClientWidth(), ClientHeight()};
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, &client, nullptr);
        SDL_RenderPresent(renderer_);
    }

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::array<SDL_Cursor*, 6> cursors_{};
    std::unique_ptr<AudioDevice> audio_;
    uint32_t timerNext_ = 0;
    bool dirty_ = false;
};

}  // namespace

std::unique_ptr<Platform> MakeSdlPlatform() {
    auto p = std::make_unique<SdlPlatform>();
    if (!p->Start()) return nullptr;
    return p;
}

}  // namespace kiv
