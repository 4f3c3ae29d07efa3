#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kiv {

void Platform::SetWindow(int clientWidth, int clientHeight, bool border, bool topmost) {
    clientW_ = std::clamp(clientWidth, 1, kImageWidth);
    clientH_ = std::clamp(clientHeight, 1, kImageHeight);
    border_ = border;
    topmost_ = topmost;
    WindowChanged();
}

void Platform::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    WindowChanged();
}

void Platform::WindowChanged() {
    TraceEvent("window", {{"w", Trace::Num(clientW_)},
                          {"h", Trace::Num(clientH_)},
                          {"visible", Trace::Bool(visible_)},
                          {"border", Trace::Bool(border_)},
                          {"topmost", Trace::Bool(topmost_)}});
    DoSetWindow();
}

void Platform::Present(const uint32_t* pixels, const Rect& r) {
    Rect c{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, kImageWidth), std::min(r.Bottom, kImageHeight)};
    TraceEvent("present", {{"rect", Trace::RectJson(r)}});
    if (c.Left >= c.Right || c.Top >= c.Bottom) return;
    for (int y = c.Top; y < c.Bottom; ++y) {
        size_t at = static_cast<size_t>(y) * kImageWidth + static_cast<size_t>(c.Left);
        std::memcpy(&image_[at], pixels + at, static_cast<size_t>(c.Right - c.Left) * sizeof(uint32_t));
    }
    DoPresent(c);
}

bool Platform::SaveScreenshot(const std::string& path) const {
    const int w = std::max(clientW_, 1), h = std::max(clientH_, 1);
    const int rowBytes = (w * 3 + 3) & ~3;
    const uint32_t imageSize = static_cast<uint32_t>(rowBytes * h);
    uint8_t header[54] = {'B', 'M'};
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) header[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(2, 54 + imageSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    header[26] = 1;
    header[28] = 24;
    put32(34, imageSize);
    put32(38, 2835);
    put32(42, 2835);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes), 0);
    for (int y = h - 1; y >= 0 && ok; --y) {
        for (int x = 0; x < w; ++x) {
            const size_t at0 = static_cast<size_t>(y) * kImageWidth + static_cast<size_t>(x);
            const uint32_t p = overlayShown_ ? OverlaidPixel(image_[at0], overlay_[at0]) : image_[at0];
            const size_t at = 3 * static_cast<size_t>(x);
            row[at] = static_cast<uint8_t>(p);
            row[at + 1] = static_cast<uint8_t>(p >> 8);
            row[at + 2] = static_cast<uint8_t>(p >> 16);
        }
        ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    return std::fclose(f) == 0 && ok;
}

void Platform::SetOverlay(const std::vector<uint32_t>& pixels) {
    if (pixels.size() != overlay_.size()) return;
    // Rows are compared in bands: what changed goes on as a few rectangles, so that a moving
    // number does not send the whole picture to the display again.
    constexpr int kBand = 16;
    for (int top = 0; top < kImageHeight; top += kBand) {
        int left = kImageWidth, right = 0;
        const int bottom = std::min(top + kBand, kImageHeight);
        for (int y = top; y < bottom; ++y) {
            const size_t row = static_cast<size_t>(y) * kImageWidth;
            for (int x = 0; x < kImageWidth; ++x) {
                if (pixels[row + static_cast<size_t>(x)] == overlay_[row + static_cast<size_t>(x)]) continue;
                left = std::min(left, x);
                right = std::max(right, x + 1);
            }
        }
        if (left >= right) continue;
        for (int y = top; y < bottom; ++y) {
            const size_t row = static_cast<size_t>(y) * kImageWidth;
            std::memcpy(&overlay_[row], &pixels[row], static_cast<size_t>(kImageWidth) * sizeof(uint32_t));
        }
        if (overlayShown_) DoOverlayChanged(Rect{left, top, right, bottom});
    }
}

void Platform::ShowOverlay(bool shown) {
    if (shown == overlayShown_) return;
    overlayShown_ = shown;
    DoOverlayChanged(Rect{0, 0, kImageWidth, kImageHeight});
}

void Platform::SetCursor(int id) {
    cursor_ = id;
    TraceEvent("cursor", {{"id", Trace::Num(id)}});
    DoSetCursor(id);
}

void Platform::ShowMessage(const std::string& text) {
    std::fprintf(stderr, "kiv: %s\n", text.c_str());
    TraceEvent("message", {{"text", Trace::Str(text)}});
    DoShowMessage(text);
}

void Platform::Beep() {
    TraceEvent("beep");
    Audio().Beep();
}

void Platform::SetTimerInterval(uint32_t ms) {
    // Setting the interval it already has leaves a running timer alone.
    if (ms == timerMs_) return;
    timerMs_ = ms;
    DoTimerChanged();
}

}  // namespace kiv
