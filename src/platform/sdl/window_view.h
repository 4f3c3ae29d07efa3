#pragma once

#include <cstdint>
#include <vector>

#include "platform/geometry.h"
#include "platform/view_layout.h"

struct SDL_Window;

namespace kiv {

// Shows the game's image in an SDL window through the window's own surface: no GPU driver,
// and only the rectangles the game presents are copied and sent to the display.
class WindowView {
public:
    WindowView() : layout_(FitPicture(640, 480, 640, 480)) {}
    void Attach(SDL_Window* window) { window_ = window; }

    // The part of the game's image (640 x 480 pixels, 0x00RRGGBB) that the window shows.
    void SetPicture(int width, int height);
    // A rectangle of the game's image changed; it is shown by the next Flush.
    void Changed(const Rect& r);
    // Everything is drawn again (a repaint, a new window size).
    void ChangedAll();
    // A rectangle of the maker's overlay changed: it is drawn again and sent to the display,
    // but is not one of the rectangles the game presented (not in Sent()).
    void OverlayChanged(const Rect& r);

    // Copies what changed into the window, with the overlay (null: none) over the image, and
    // sends it to the display. The window rectangles sent for what the game presented are left
    // in Sent(); false when the game's picture sent nothing.
    bool Flush(const uint32_t* image, const uint32_t* overlay = nullptr);
    const std::vector<Rect>& Sent() const { return sent_; }

    const ViewLayout& Layout() const { return layout_; }

private:
    bool Prepare();
    void Draw(const uint32_t* image, const uint32_t* overlay, const Rect& windowRect, const Rect& gameRect);

    SDL_Window* window_ = nullptr;
    void* surface_ = nullptr;  // the window surface the layout was made for
    int surfaceW_ = 0, surfaceH_ = 0;
    int pictureW_ = 640, pictureH_ = 480;
    ViewLayout layout_;
    bool all_ = true;
    std::vector<Rect> pending_;
    std::vector<Rect> sent_;
    std::vector<Rect> overlayPending_;
    std::vector<uint32_t> row_;
};

}  // namespace kiv
