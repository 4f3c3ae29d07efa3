// The maker's overlay: the stage's spots, zones and check points over the window's picture.
#include <algorithm>
#include <cstdio>
#include <string>

#include "game/game.h"
#include "game/scene_control.h"
#include "maker/maker_tools.h"
#include "media/raster.h"
#include "platform/platform.h"
#include "scenes/stage/stage_access.h"
#include "scenes/stage/stage_counters.h"

namespace kiv {

namespace {

// The radii the stage play tests the hit point against; D and E take theirs from Kiv.txt.
constexpr int kZoneRadiusA = 55, kZoneRadiusB = 70, kZoneRadiusC = 80;
constexpr int kRefillRadius = 35;
constexpr int kTagAreaRadius = 90;
constexpr int kTagCloseRadius = 10;
// Strokes and zones are tested at the hit point, this far right of and below the pointer.
constexpr int kHitDx = 9, kHitDy = 7;

constexpr uint32_t kZoneColour = 0xFFFFD040;
constexpr uint32_t kGuardColour = 0xFFFF9040;
constexpr uint32_t kRefillColour = 0xFF40E0FF;
constexpr uint32_t kTagColour = 0xFFFF70FF;
constexpr uint32_t kUncoveredColour = 0xFF40FF40;
constexpr uint32_t kCoveredColour = 0xFFFF4040;
constexpr uint32_t kTextColour = 0xFFFFFFFF;
constexpr uint32_t kErrorColour = 0xFFFF6060;
constexpr uint32_t kPanelColour = 0xB0000000;
constexpr int kLine = OverlayCanvas::kTextHeight + 2;

bool InStagePlay(const Game& g) { return g.Shell.SceneNo >= kSceneFirstStage && g.Shell.SceneNo <= kSceneLastStage; }

std::string SceneTitle(int scene) {
    if (scene >= kSceneFirstStage && scene <= kSceneLastStage)
        return "stage " + std::to_string(scene - 1) + " (scene " + std::to_string(scene) + ")";
    switch (scene) {
        case kSceneOpening: return "opening (scene 0)";
        case kSceneMenu: return "title menu (scene 1)";
        case kSceneEnding: return "ending (scene 12)";
        case kSceneResults: return "results (scene 13)";
        default: return "scene " + std::to_string(scene);
    }
}

// A circle with its label centred above it.
void LabelledCircle(OverlayCanvas& c, FontRenderer& font, int cx, int cy, int r, const std::string& label,
                    uint32_t colour) {
    c.Circle(cx, cy, r, colour);
    c.Disc(cx, cy, 1, colour);
    // Above the circle, or below it when that would leave the picture; never beyond its sides.
    const int w = font.Measure(label, OverlayCanvas::kTextHeight, false);
    int y = cy - r - OverlayCanvas::kTextHeight - 1;
    if (y < 0) y = cy + r + 2;
    c.Text(font, std::clamp(cx - w / 2, 0, std::max(kImageWidth - w, 0)), y, label, colour);
}

}  // namespace

void MakerTools::PointerAt(int x, int y) {
    pointerKnown_ = true;
    pointerX_ = x;
    pointerY_ = y;
    if (g_.P.OverlayShown()) UpdateOverlay();
}

void MakerTools::OverlayKey() {
    if (makerMode_) ShowOverlay(!g_.P.OverlayShown());
}

void MakerTools::ShowOverlay(bool on) {
    if (on == g_.P.OverlayShown()) return;
    if (on) {
        MeasureUncovered();
        drawn_ = false;
        UpdateOverlay();
    }
    g_.P.ShowOverlay(on);
}

void MakerTools::MeasureUncovered() {
    uncoveredTenths_ = 0;
    if (!InStagePlay(g_) || SceneStep(g_) == kStepSetup) return;
    const Surface& mask = g_.Media.MaskBmp;
    const Surface& map = g_.Media.EraseMapBmp;
    const int w = std::min(mask.Width, map.Width), h = std::min(mask.Height, map.Height);
    // The picture is where its mask is black; of that, the erase map is white where uncovered.
    int64_t picture = 0, uncovered = 0;
    for (int y = 0; y < h; ++y) {
        const uint32_t* m = mask.Row(y);
        const uint32_t* e = map.Row(y);
        for (int x = 0; x < w; ++x) {
            if ((m[x] & 0xFFFFFF) != 0) continue;
            ++picture;
            uncovered += (e[x] & 0xFFFFFF) != 0;
        }
    }
    if (picture > 0) uncoveredTenths_ = static_cast<int>(uncovered * 1000 / picture);
}

OverlayFacts MakerTools::ReadFacts() const {
    OverlayFacts f;
    f.Scene = g_.Shell.SceneNo;
    f.StageData = InStagePlay(g_) && SceneStep(g_) != kStepSetup && !g_.Media.EraseMapBmp.Empty();
    if (f.StageData) {
        const auto& points = g_.Cfg.CheckPoints[static_cast<size_t>(StageIndex(g_))];
        // As the stage counts them: any colour but black is uncovered.
        for (size_t k = 0; k < points.size(); ++k)
            if (GetPixel(g_.Media.EraseMapBmp, points[k].X, points[k].Y) != 0) f.Uncovered |= 1u << k;
        f.UncoveredTenths = uncoveredTenths_;
    }
    f.PointerKnown = pointerKnown_;
    f.PointerX = pointerX_;
    f.PointerY = pointerY_;
    f.Reloads = reloads_;
    f.Errors = errors_;
    return f;
}

void MakerTools::UpdateOverlay() {
    OverlayFacts f = ReadFacts();
    if (drawn_ && f == facts_) return;
    DrawOverlay(f);
    facts_ = std::move(f);
    drawn_ = true;
}

void MakerTools::DrawStageData(const OverlayFacts& f) {
    OverlayCanvas& c = canvas_;
    FontRenderer& font = g_.P.Fonts();
    const auto& z = g_.Cfg.StageSpots[static_cast<size_t>(StageIndex(g_))];
    const auto& w = StageLayoutOf(g_);
    auto zone = [&](const char* letter, int x, int y, int r) {
        LabelledCircle(c, font, x, y, r, std::string(letter) + " r" + std::to_string(r), kZoneColour);
    };
    zone("A", z[0], z[1], kZoneRadiusA);
    zone("B", z[2], z[3], kZoneRadiusB);
    zone("C", z[4], z[5], kZoneRadiusC);
    zone("D", z[6], z[7], z[8]);
    zone("E", z[9], z[10], z[11]);
    LabelledCircle(c, font, w[0], w[1], w[2], "no erasing r" + std::to_string(w[2]), kGuardColour);
    LabelledCircle(c, font, w[kRefillX], w[kRefillY], kRefillRadius, "refill r" + std::to_string(kRefillRadius),
                   kRefillColour);
    LabelledCircle(c, font, g_.Play.TagCloseX, g_.Play.TagCloseY, kTagAreaRadius,
                   "tag area r" + std::to_string(kTagAreaRadius), kTagColour);
    c.Circle(g_.Play.TagCloseX, g_.Play.TagCloseY, kTagCloseRadius, kTagColour);

    const auto& points = g_.Cfg.CheckPoints[static_cast<size_t>(StageIndex(g_))];
    for (size_t k = 0; k < points.size(); ++k) {
        const int x = points[k].X, y = points[k].Y;
        const bool open = (f.Uncovered >> k) & 1u;
        const uint32_t colour = open ? kUncoveredColour : kCoveredColour;
        c.Circle(x, y, 4, 0xFF000000);
        c.Circle(x, y, 3, colour);
        if (open) c.Disc(x, y, 2, colour);
        c.Text(font, x + 6, y - OverlayCanvas::kTextHeight / 2, std::to_string(k + 1), colour);
    }
}

void MakerTools::DrawOverlay(const OverlayFacts& f) {
    canvas_.Clear();
    FontRenderer& font = g_.P.Fonts();
    if (f.StageData) DrawStageData(f);

    std::vector<std::pair<std::string, uint32_t>> lines;
    std::string where = SceneTitle(f.Scene) + "   pointer ";
    if (f.PointerKnown) {
        where += std::to_string(f.PointerX) + ", " + std::to_string(f.PointerY) + "   hit " +
                 std::to_string(f.PointerX + kHitDx) + ", " + std::to_string(f.PointerY + kHitDy);
    } else {
        where += "-";
    }
    lines.emplace_back(where, kTextColour);
    if (f.StageData) {
        int open = 0;
        for (uint32_t bits = f.Uncovered; bits; bits &= bits - 1) ++open;
        char share[96];
        std::snprintf(share, sizeof share, "uncovered %d.%d %% of the picture, %d of 20 check points",
                      f.UncoveredTenths / 10, f.UncoveredTenths % 10, open);
        lines.emplace_back(share, kTextColour);
    }
    for (const std::string& e : f.Errors) lines.emplace_back(e, kErrorColour);

    int width = 0;
    for (const auto& [text, colour] : lines)
        width = std::max(width, font.Measure(text, OverlayCanvas::kTextHeight, false));
    // In the top right corner of the window's picture (580 pixels wide in the small window),
    // where the tag and the speech seldom are.
    const int right = g_.P.ClientWidth();
    const int left = std::max(right - width - 8, 0);
    canvas_.FillRect(Rect{left, 0, right, static_cast<int>(lines.size()) * kLine + 4}, kPanelColour);
    int y = 3;
    for (const auto& [text, colour] : lines) {
        canvas_.Text(font, left + 4, y, text, colour);
        y += kLine;
    }
    g_.P.SetOverlay(canvas_.Pixels());
}

}  // namespace kiv
