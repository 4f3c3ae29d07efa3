#include "platform/sdl/window_view.h"

#include <SDL.h>

#include <algorithm>

#include "platform/platform.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// Puts the rectangles (left, top, right, bottom each) of the window surface on the page's canvas.
// SDL's own update copies and puts the whole picture every time; the surface is opaque already
// and is handed to the canvas where it lies in memory, so only what changed is drawn.
// clang-format off
EM_JS(void, kiv_put_rects, (const void* pixels, int width, int height, const int* rects, int count), {
    var view = Module["kivView"];
    if (!view || view.buffer != HEAPU8.buffer || view.pixels != pixels || view.width != width ||
        view.height != height) {
        view = Module["kivView"] = {
            buffer: HEAPU8.buffer, pixels: pixels, width: width, height: height,
            context: Module["canvas"].getContext("2d", {alpha: false, desynchronized: true}),
            image: new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4), width, height)
        };
    }
    for (var i = 0; i < count; ++i) {
        var r = (rects >> 2) + 4 * i;
        var left = HEAP32[r], top = HEAP32[r + 1];
        view.context.putImageData(view.image, 0, 0, left, top, HEAP32[r + 2] - left, HEAP32[r + 3] - top);
    }
});
// clang-format on
#endif

namespace kiv {

namespace {

// The format the pixels are written in. The browser's window surface has a padding byte where
// the canvas reads alpha: there it is written as alpha, opaque.
uint32_t PixelFormatOf(const SDL_Surface* s) {
#ifdef __EMSCRIPTEN__
    if (s->format->format == SDL_PIXELFORMAT_BGR888) return SDL_PIXELFORMAT_ABGR8888;
#endif
    return s->format->format;
}

}  // namespace

}  // namespace kiv

namespace kiv {

namespace {

// More separate rectangles than this in one update are sent as the one that holds them all.
constexpr size_t kMaxRects = 64;

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (r.Left >= r.Right || r.Top >= r.Bottom) return Rect{};
    return r;
}

bool Empty(const Rect& r) { return r.Left >= r.Right || r.Top >= r.Bottom; }

}  // namespace

void WindowView::SetPicture(int width, int height) {
    if (width == pictureW_ && height == pictureH_) return;
    pictureW_ = width;
    pictureH_ = height;
    surface_ = nullptr;  // a new layout, the border painted again
    ChangedAll();
}

void WindowView::Changed(const Rect& r) {
    if (all_ || Empty(r)) return;
    pending_.push_back(r);
    if (pending_.size() <= kMaxRects) return;
    Rect u = pending_.front();
    for (const Rect& p : pending_)
        u = Rect{std::min(u.Left, p.Left), std::min(u.Top, p.Top), std::max(u.Right, p.Right),
                 std::max(u.Bottom, p.Bottom)};
    pending_.assign(1, u);
}

void WindowView::ChangedAll() {
    all_ = true;
    pending_.clear();
}

void WindowView::OverlayChanged(const Rect& r) {
    if (Empty(r)) return;
    if (overlayPending_.size() >= kMaxRects) {
        overlayPending_.assign(1, Rect{0, 0, kImageWidth, kImageHeight});
        return;
    }
    overlayPending_.push_back(r);
}

// Takes the window's surface; a new one (the window changed size) gets a new layout and is
// painted black, then whole.
bool WindowView::Prepare() {
    if (!window_) return false;
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    if (!s) return false;
    if (s != surface_ || s->w != surfaceW_ || s->h != surfaceH_) {
        surface_ = s;
        surfaceW_ = s->w;
        surfaceH_ = s->h;
        layout_ = FitPicture(s->w, s->h, pictureW_, pictureH_);
        const uint32_t black = PixelFormatOf(s) == s->format->format ? SDL_MapRGB(s->format, 0, 0, 0) : 0xFF000000u;
        SDL_FillRect(s, nullptr, black);
        ChangedAll();
    }
    return true;
}

void WindowView::Draw(const uint32_t* image, const uint32_t* overlay, const Rect& windowRect, const Rect& gameRect) {
    SDL_Surface* s = static_cast<SDL_Surface*>(surface_);
    const Rect w = Intersect(Intersect(layout_.ToWindow(gameRect), windowRect), Rect{0, 0, s->w, s->h});
    if (Empty(w)) return;
    const int width = w.Width();
    row_.resize(static_cast<size_t>(width));
    auto* dst = static_cast<uint8_t*>(s->pixels);
    const int bpp = s->format->BytesPerPixel;
    int rowOf = -1;
    for (int wy = w.Top; wy < w.Bottom; ++wy) {
        int gx = 0, gy = 0;
        layout_.ToGame(w.Left, wy, gx, gy);
        if (gy != rowOf) {
            // Nearest neighbour: each game pixel fills Scale x Scale window pixels.
            const uint32_t* src = image + static_cast<size_t>(gy) * kImageWidth;
            const uint32_t* over = overlay ? overlay + static_cast<size_t>(gy) * kImageWidth : nullptr;
            for (int i = 0; i < width; ++i) {
                layout_.ToGame(w.Left + i, wy, gx, gy);
                row_[static_cast<size_t>(i)] = over ? OverlaidPixel(src[gx], over[gx]) : src[gx];
            }
            rowOf = gy;
        }
        SDL_ConvertPixels(
            width, 1, SDL_PIXELFORMAT_RGB888, row_.data(), width * 4, PixelFormatOf(s),
            dst + static_cast<size_t>(wy) * static_cast<size_t>(s->pitch) + static_cast<size_t>(w.Left * bpp),
            s->pitch);
    }
}

bool WindowView::Flush(const uint32_t* image, const uint32_t* overlay) {
    sent_.clear();
    if (!Prepare()) return false;
    const Rect whole{0, 0, surfaceW_, surfaceH_};
    if (all_) {
        Draw(image, overlay, whole, Rect{0, 0, pictureW_, pictureH_});
        sent_.push_back(whole);
    } else {
        for (const Rect& r : pending_) {
            const Rect w = Intersect(layout_.ToWindow(r), whole);
            if (Empty(w)) continue;
            Draw(image, overlay, w, r);
            sent_.push_back(w);
        }
    }
    // What only the overlay changed is sent too, and left out of Sent(): the game did not
    // present it.
    std::vector<Rect> overlaySent;
    if (!all_) {
        for (const Rect& r : overlayPending_) {
            const Rect g = Intersect(r, Rect{0, 0, pictureW_, pictureH_});
            const Rect w = Intersect(layout_.ToWindow(g), whole);
            if (Empty(w)) continue;
            Draw(image, overlay, w, g);
            overlaySent.push_back(w);
        }
    }
    all_ = false;
    pending_.clear();
    overlayPending_.clear();
    if (sent_.empty() && overlaySent.empty()) return false;
#ifdef __EMSCRIPTEN__
    SDL_Surface* s = static_cast<SDL_Surface*>(surface_);
    static_assert(sizeof(Rect) == 4 * sizeof(int), "rectangles go to the page as four ints each");
    if (s->pitch == s->w * 4) {
        overlaySent.insert(overlaySent.begin(), sent_.begin(), sent_.end());
        kiv_put_rects(s->pixels, s->w, s->h, reinterpret_cast<const int*>(overlaySent.data()),
                      static_cast<int>(overlaySent.size()));
        return !sent_.empty();
    }
#endif
    std::vector<SDL_Rect> rects;
    rects.reserve(sent_.size() + overlaySent.size());
    for (const auto* list : {&sent_, &overlaySent})
        for (const Rect& r : *list) rects.push_back(SDL_Rect{r.Left, r.Top, r.Width(), r.Height()});
    SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
    return !sent_.empty();
}

}  // namespace kiv
