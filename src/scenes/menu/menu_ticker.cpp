// The help line of the title menu: the configuration's last line scrolls through a strip
// beside the title panel, with pictures of stage play shown beside it on the way.
#include "scenes/menu/menu.h"

#include <algorithm>

#include "data/sjis.h"
#include "game/game.h"
#include "game/game_media.h"
#include "game/scene_control.h"
#include "scenes/menu/menu_tables.h"

namespace kiv {

using namespace menu;

namespace {

constexpr int kLineHeight = 12;
constexpr int kTextLeft = 132;   // the text enters from the right of the strip
constexpr int kEndMargin = 136;  // the line has run out once s passes the text width + this
constexpr int kScrollStep = 2;
constexpr uint32_t kInk = 0x00FFFFFF;

void ReleaseTicker(MenuState& m) {
    m.TickerRunning = false;
    m.TickerInk = TextRun{};
    m.TickerWindow = Surface{};
}

// Renders the line once: the picture's width, the text's width and its ink. The picture is
// sized for 6 pixels a byte; a line of wider letters gets a picture as wide as its text and the
// blank run-out after it, so its end scrolls through and the strip ends black.
void StartTicker(Game& g) {
    MenuState& m = g.Menu;
    const std::string& text = g.Cfg.TickerText;
    m.TickerInk = g.P.Fonts().Render(SjisToUtf8(text), kLineHeight, false);
    m.TickerTextWidth = m.TickerInk.Width;
    const int64_t byBytes = static_cast<int64_t>(text.size() / 2) * 12 + 268;
    m.TickerWidth = std::max(byBytes, kTextLeft + static_cast<int64_t>(m.TickerTextWidth) + kEndMargin);
    m.TickerWindow = CreateSurface(kTickerStrip.Width(), kLineHeight);
    m.TickerPos = Sc(g, kSubFrame);
    m.TickerRunning = true;
}

// Paints columns s .. s + 119 of the line's picture into the window surface.
void PaintWindow(MenuState& m, int32_t s) {
    Surface& w = m.TickerWindow;
    std::fill(w.Pixels.begin(), w.Pixels.end(), 0u);
    const TextRun& run = m.TickerInk;
    if (run.Ink.size() != static_cast<size_t>(run.Width) * static_cast<size_t>(run.Height)) return;
    const int rows = std::min(run.Height, w.Height);
    for (int x = 0; x < w.Width; ++x) {
        const int64_t rx = static_cast<int64_t>(s) + x - kTextLeft;
        if (rx < 0 || rx >= run.Width) continue;
        for (int y = 0; y < rows; ++y)
            if (run.Ink[static_cast<size_t>(y) * static_cast<size_t>(run.Width) + static_cast<size_t>(rx)])
                w.Row(y)[x] = kInk;
    }
}

// Shows the window at scroll position s. Strip pixels whose place lies outside the line's
// picture keep what they showed.
void ShowWindow(Game& g, int32_t s) {
    MenuState& m = g.Menu;
    MediaState& media = g.Media;
    PaintWindow(m, s);
    const int64_t lo = std::max<int64_t>(s, 0);
    const int64_t hi = std::min<int64_t>(static_cast<int64_t>(s) + kTickerStrip.Width(), m.TickerWidth);
    if (lo < hi) {
        const int32_t from = static_cast<int32_t>(lo - s);
        const int32_t to = static_cast<int32_t>(hi - s);
        media.SrcRect = MakeRect(from, 0, to, kLineHeight);
        media.DstRect =
            MakeRect(kTickerStrip.Left + from, kTickerStrip.Top, kTickerStrip.Left + to, kTickerStrip.Bottom);
        CopyToSurface(g, media.BackBmp, m.TickerWindow);
    }
    media.SrcRect = MakeRect(s, 0, s + kTickerStrip.Width(), kLineHeight);
    media.DstRect = kTickerStrip;
    PresentRect(g, media.BackBmp);
}

}  // namespace

void TickerStep(Game& g) {
    MenuState& m = g.Menu;
    if (!m.TickerRunning) StartTicker(g);
    const int32_t s = m.TickerPos;
    ShowWindow(g, s);
    for (const TickerCue& cue : kTickerCues)
        if (s >= cue.From && s <= cue.To) DrawMenuPiece(g, cue.Piece);
    m.TickerPos = s + kScrollStep;
    Sc(g, kSubFrame) = static_cast<int16_t>(m.TickerPos);
    if (static_cast<int64_t>(m.TickerTextWidth) + kEndMargin < m.TickerPos) {
        Sc(g, kSubFrame) = 0;
        SetSceneStep(g, kStepCancel);
        ReleaseTicker(m);
    }
}

void JumpTicker(Game& g, int n) {
    MenuState& m = g.Menu;
    if (!m.TickerRunning) StartTicker(g);
    m.TickerPos += n;
    Sc(g, kSubFrame) = static_cast<int16_t>(m.TickerPos);
}

void StopTicker(Game& g) {
    MediaState& m = g.Media;
    m.SrcRect = kBlackPatch;
    m.DstRect = kTickerStrip;
    CopyToSurface(g, m.BackBmp, m.PartsBmp);
    PresentRect(g, m.BackBmp);
    DrawMenuPiece(g, kPieceBlank);
    SetSceneStep(g, kStepCancel);
    ReleaseTicker(g.Menu);
}

}  // namespace kiv
