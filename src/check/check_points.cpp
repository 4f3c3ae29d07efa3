// Whether every check point of a stage can be uncovered: where the stage picture covers it at
// the start, some press that the game allows must rub it away.
#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "check/check_context.h"
#include "game/game_media.h"
#include "media/raster.h"

namespace kiv::check {

namespace {

constexpr int kCell = 40;  // a stroke's cell, with its top-left corner at the mouse - 12
constexpr int kCellOffset = 12;
constexpr int kHitX = 9, kHitY = 7;  // a press is tested at the mouse + (9, 7)

using Offset = std::pair<int, int>;

// A circle in which a press does not rub: the game's PointerInCircle, with 16-bit differences
// and 32-bit products.
struct NoRubCircle {
    int16_t X, Y, R;
    std::string What;
    bool Holds(int hx, int hy) const {
        const int32_t dx = int16_t(hx - X), dy = int16_t(hy - Y);
        return dx * dx + dy * dy < int32_t(R) * int32_t(R);
    }
};

// The refill spot, the tag's area and the protected circle of stage s, in the order the game
// tests them.
std::vector<NoRubCircle> Circles(const CheckContext& c, size_t s) {
    const auto& w = c.Cfg.StageLayout[s];
    auto text = [](const char* what, int x, int y, int r) {
        return std::string(what) + " (" + std::to_string(x) + ", " + std::to_string(y) + ", radius " +
               std::to_string(r) + ")";
    };
    const int16_t tagX = int16_t(w[3] + 60), tagY = int16_t(w[4] - 19);
    return {{w[5], w[6], 35, text("the ink spot", w[5], w[6], 35)},
            {tagX, tagY, 90, text("the tag's area", tagX, tagY, 90)},
            {w[0], w[1], w[2], text("the protected circle", w[0], w[1], w[2])}};
}

// Where one press rubs, relative to its cell: every pixel that any of the three stamps turns
// from black in the erase map (through the game's own copy), the two spread stamps of the first
// stroke when f0 is not 0, and the small ellipse of a Shift-press.
std::vector<Offset> RubbedOffsets(const Surface& stampSheet, int16_t spread) {
    Surface stamps = CreateSurface(kCell, kCell);
    for (int r = 0; r < 3; ++r)
        StretchCopy(stamps, MakeRect(0, 0, kCell, kCell), stampSheet, MakeRect(kCell * r, 0, kCell * r + kCell, kCell),
                    Rop::MERGEPAINT);
    Surface dab = CreateSurface(kCell, kCell);
    dab.PenColor = dab.BrushColor = 0x00FFFFFF;
    Ellipse(dab, 18, 17, 25, 22);
    std::set<Offset> rubbed;
    const int k = 16 * spread;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            if (GetPixel(dab, x, y) != 0) rubbed.insert({x, y});
            if (GetPixel(stamps, x, y) == 0) continue;
            rubbed.insert({x, y});
            if (spread == 0) continue;
            rubbed.insert({x - 16, y + k});
            rubbed.insert({x + 16, y - k});
        }
    return std::vector<Offset>(rubbed.begin(), rubbed.end());
}

// Whether some press inside the window rubs (x, y) away; otherwise which circles stood in the
// way (bit k for circles[k]).
bool CanRub(int x, int y, const std::vector<Offset>& rubbed, const std::vector<NoRubCircle>& circles,
            unsigned& inTheWay) {
    for (const Offset& d : rubbed) {
        const int mx = x - d.first + kCellOffset, my = y - d.second + kCellOffset;
        if (mx < 0 || my < 0 || mx >= kScreenWidth || my >= kScreenHeight) continue;
        const auto blocking = std::find_if(circles.begin(), circles.end(),
                                           [&](const NoRubCircle& k) { return k.Holds(mx + kHitX, my + kHitY); });
        if (blocking == circles.end()) return true;
        inTheWay |= 1u << (blocking - circles.begin());
    }
    return false;
}

// Whether a press inside the window can reach the ink spot: without ink nothing is rubbed.
bool InkReachable(const NoRubCircle& ink) {
    const int hx = std::clamp<int>(ink.X, kHitX, kScreenWidth - 1 + kHitX);
    const int hy = std::clamp<int>(ink.Y, kHitY, kScreenHeight - 1 + kHitY);
    return ink.Holds(hx, hy);
}

// The circles of the mask, as "a, b or c".
std::string Joined(const std::vector<NoRubCircle>& circles, unsigned mask) {
    std::vector<std::string> items;
    for (size_t k = 0; k < circles.size(); ++k)
        if (mask & (1u << k)) items.push_back(circles[k].What);
    std::string out;
    for (size_t k = 0; k < items.size(); ++k) out += (k == 0 ? "" : k + 1 == items.size() ? " or " : ", ") + items[k];
    return out;
}

// Loads the stage picture, its mask and the stamp sheet with the game's own loaders, once
// they are known to be readable and of the right size.
bool LoadStage(CheckContext& c, size_t s) {
    const auto& p = c.Cfg.StageParams[s];
    const std::string picture = Numbered("D", 2, p[8]), stamp = Numbered("M", 2, p[6]);
    const PictureProbe& pic = c.Probe(picture);
    const PictureProbe& st = c.Probe(stamp);
    if (!pic.Readable || pic.Width != kScreenWidth || pic.Height != kScreenHeight || !st.Readable) return false;
    const std::string maskFile = MaskFileName(c.Dir, p[8]);
    if (!maskFile.empty()) {
        const PictureProbe& mask = c.Probe(maskFile.substr(0, maskFile.size() - 4));
        if (!mask.Readable || mask.Width != kScreenWidth || mask.Height != kScreenHeight) return false;
    }
    MediaState& m = c.G.Media;
    LoadImage(Pictures(c.G), stamp, m.StampBmp);
    LoadImageToPalette(Pictures(c.G), picture, m.StagePicBmp);
    BuildMask(Pictures(c.G), m.MaskBmp, m.StagePicBmp, p[8]);
    // A fresh stage's erase map is its mask: white where the background already shows.
    m.DstRect = m.FullRect;
    CopySameRect(c.G, m.EraseMapBmp, m.MaskBmp);
    return !c.G.Shell.CloseRequested;
}

void CheckStagePoints(CheckContext& c, size_t s) {
    const std::string stage = StageName(int(s));
    auto& marks = c.Report.Points[s];
    const std::vector<NoRubCircle> circles = Circles(c, s);
    const bool ink = InkReachable(circles[0]);
    if (!ink && c.Reachable[s])
        c.Error("Kiv.txt", c.Notes.StageLayoutLine[s],
                "StageLayout of " + stage + ": no click inside the window reaches " + circles[0].What +
                    ", so there is never ink to rub with");
    // A stage that cannot be played is tested for the render only; without ink, the stage's
    // error above says all.
    const bool report = c.Reachable[s] && ink;
    if (!LoadStage(c, s)) return;
    const std::vector<Offset> rubbed = RubbedOffsets(c.G.Media.StampBmp, c.Cfg.FaceTable[s][0]);
    // Entered from the stage before, a stage may start with that stage's picture left on top.
    const int carryOver = c.Cfg.StageLayout[s][7] % 10;
    const bool takesOver = carryOver == 1 || carryOver == 2;
    for (size_t i = 0; i < c.Cfg.CheckPoints[s].size(); ++i) {
        const Point16 pt = c.Cfg.CheckPoints[s][i];
        const int line = c.Notes.CheckPointLine[s][i];
        const std::string where = "CheckPoints of " + stage + ": point " + std::to_string(i + 1) + " (" +
                                  std::to_string(pt.X) + ", " + std::to_string(pt.Y) + ")";
        if (pt.X < 0 || pt.Y < 0 || pt.X >= kScreenWidth || pt.Y >= kScreenHeight) {
            marks[i] = PointCheck::OffPicture;
            if (report)
                c.Warning("Kiv.txt", line,
                          where +
                              " lies outside the 640x480 picture: no stroke reaches it, and it counts as "
                              "uncovered from the start");
            continue;
        }
        const bool coveredAtStart = GetPixel(c.G.Media.EraseMapBmp, pt.X, pt.Y) == 0;
        if (!coveredAtStart && !takesOver) {
            marks[i] = PointCheck::OpenFromStart;
            if (report)
                c.Warning(
                    "Kiv.txt", line,
                    where + " lies where the stage picture is transparent: it counts as uncovered from the start");
            continue;
        }
        unsigned inTheWay = 0;
        if (!ink) {
            marks[i] = PointCheck::Never;
            continue;
        }
        if (CanRub(pt.X, pt.Y, rubbed, circles, inTheWay)) {
            marks[i] = PointCheck::Rubbable;
            continue;
        }
        marks[i] = PointCheck::Never;
        if (report)
            c.Error("Kiv.txt", line,
                    where + " can never be uncovered: " +
                        (inTheWay == 0 ? std::string("no press inside the window rubs it")
                                       : "every press that would rub it lies in " + Joined(circles, inTheWay)));
    }
}

}  // namespace

void CheckCheckPoints(CheckContext& c) {
    CreateScreenSurfaces(c.G.Media);
    CreateStageSurfaces(c.G.Media);
    c.G.Cfg = c.Cfg;
    for (size_t s = 0; s < size_t(kStages); ++s) {
        const int k = int(s);
        if (!(c.Reachable[s] || (c.ForRender && c.InUse[s])) || c.Tainted("StageParams", k) ||
            c.Tainted("StageLayout", k) || c.Tainted("CheckPoints", k) || c.Tainted("FaceTable", k))
            continue;
        CheckStagePoints(c, s);
    }
}

}  // namespace kiv::check
