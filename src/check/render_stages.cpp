// Pictures of the stages' data for the game's maker: each stage as it starts, with its check
// points, reaction zones and the circles where no press rubs drawn over it.
#include <string>
#include <vector>

#include "check/check_context.h"
#include "files/folder.h"
#include "media/image_png.h"
#include "media/images.h"
#include "media/raster.h"
#include "media/screen.h"

namespace kiv::check {

namespace {

constexpr ColorRef kBlack = MakeColorRef(0, 0, 0);
constexpr ColorRef kWhite = MakeColorRef(255, 255, 255);
// The check points after what the check found of them; the circles and zones.
constexpr ColorRef kRubbable = MakeColorRef(0, 230, 0);
constexpr ColorRef kOpenFromStart = MakeColorRef(255, 160, 0);
constexpr ColorRef kNever = MakeColorRef(255, 0, 0);
constexpr ColorRef kNotChecked = MakeColorRef(255, 255, 255);
constexpr ColorRef kNoRubCircle = MakeColorRef(255, 255, 0);
constexpr ColorRef kZone = MakeColorRef(0, 220, 255);
constexpr int kZoneRadii[3] = {55, 70, 80};  // zones A, B and C
constexpr int kInkRadius = 35, kTagRadius = 90;
constexpr int kLabelHeight = 12;

ColorRef PointColour(PointCheck state) {
    switch (state) {
        case PointCheck::Rubbable: return kRubbable;
        case PointCheck::OpenFromStart: return kOpenFromStart;
        case PointCheck::Never: return kNever;
        default: return kNotChecked;
    }
}

// The loaders of the game, with a picture that cannot be used left out silently: the check has
// already said what is wrong with it, and only readable pictures are asked for.
PictureLoader QuietLoader(CheckContext& c) {
    return PictureLoader{c.Dir, c.G.Media, [](const std::string&) {}};
}

bool FullSize(const PictureProbe& p) { return p.Readable && p.Width >= kScreenWidth && p.Height >= kScreenHeight; }

// A stage picture (or decoration) with its mask over the canvas, when it and its mask can be read.
void LayOver(CheckContext& c, Surface& canvas, uint8_t number) {
    if (number == 0) return;
    const std::string name = Numbered("D", 2, number);
    if (!FullSize(c.Probe(name))) return;
    const std::string maskFile = MaskFileName(c.Dir, number);
    if (!maskFile.empty() && !FullSize(c.Probe(maskFile.substr(0, maskFile.size() - 4)))) return;
    MediaState& m = c.G.Media;
    const PictureLoader loader = QuietLoader(c);
    LoadImageToPalette(loader, name, m.StagePicBmp);
    BuildMask(loader, m.MaskBmp, m.StagePicBmp, number);
    MaskedDrawRect(m, canvas, m.FullRect, m.MaskBmp, m.StagePicBmp, m.FullRect);
}

// The stage as its set-up draws it: the background, its decorations and insert, and the stage
// picture on top. Pictures that cannot be read leave black.
Surface ComposeStage(CheckContext& c, size_t s) {
    MediaState& m = c.G.Media;
    const auto& p = c.Cfg.StageParams[s];
    const auto& w = c.Cfg.StageLayout[s];
    Surface canvas = CreateSurface(kScreenWidth, kScreenHeight);
    const std::string back = Numbered("C", 2, p[7]);
    if (c.Probe(back).Readable) {
        LoadImageToPalette(QuietLoader(c), back, m.StageBackBmp);
        CopyRectTo(m, canvas, m.FullRect, m.StageBackBmp, m.FullRect);
    }
    for (size_t b = 9; b <= 12; ++b) LayOver(c, canvas, p[b]);
    const std::string insert = Numbered("E", 2, int(s) + 1);
    if (w[16] != 0 && c.Probe(insert).Readable)
        PlaceImage(QuietLoader(c), insert, MakeRect(w[13], w[14], w[15], w[16]), canvas);
    LayOver(c, canvas, p[8]);
    return canvas;
}

// Text in colour with a black rim, so that it reads on any picture.
void Label(Surface& canvas, FontRenderer* fonts, int x, int y, const std::string& text, ColorRef colour) {
    if (!fonts || !fonts->Available()) return;
    SetBrushStyle(canvas, BrushStyle::Clear);
    canvas.Font.Height = kLabelHeight;
    canvas.Font.Color = kBlack;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0) TextOut(canvas, *fonts, x + dx, y + dy, text);
    canvas.Font.Color = colour;
    TextOut(canvas, *fonts, x, y, text);
}

// A circle two pixels wide in colour, between two black ones.
void Ring(Surface& canvas, int x, int y, int r, ColorRef colour) {
    SetBrushStyle(canvas, BrushStyle::Clear);
    canvas.PenColor = kBlack;
    DrawCircleOn(canvas, int16_t(x), int16_t(y), int16_t(r + 2));
    DrawCircleOn(canvas, int16_t(x), int16_t(y), int16_t(r - 1));
    canvas.PenColor = colour;
    DrawCircleOn(canvas, int16_t(x), int16_t(y), int16_t(r + 1));
    DrawCircleOn(canvas, int16_t(x), int16_t(y), int16_t(r));
}

void Disc(Surface& canvas, int x, int y, int r, ColorRef colour) {
    canvas.PenColor = colour;
    SetBrushColor(canvas, colour);
    DrawCircleOn(canvas, int16_t(x), int16_t(y), int16_t(r));
}

// A cross through (x, y), arms r long, three pixels wide.
void Cross(Surface& canvas, int x, int y, int r, ColorRef colour) {
    for (int d = -r; d <= r; ++d)
        for (int t = -1; t <= 1; ++t) {
            SetPixel(canvas, x + d + t, y + d, colour);
            SetPixel(canvas, x + d + t, y - d, colour);
        }
}

void DrawCircles(Surface& canvas, FontRenderer* fonts, const CheckContext& c, size_t s) {
    const auto& w = c.Cfg.StageLayout[s];
    const auto& z = c.Cfg.StageSpots[s];
    // Zones A to C are centres with fixed radii, D and E a centre and a radius each.
    struct Zone {
        const char* Letter;
        int X, Y, R;
    };
    const Zone zones[5] = {{"A", z[0], z[1], kZoneRadii[0]},
                           {"B", z[2], z[3], kZoneRadii[1]},
                           {"C", z[4], z[5], kZoneRadii[2]},
                           {"D", z[6], z[7], z[8]},
                           {"E", z[9], z[10], z[11]}};
    for (const Zone& zone : zones) {
        if (zone.R <= 0) continue;
        Ring(canvas, zone.X, zone.Y, zone.R, kZone);
        // The letter on the top of its circle, clear of the points inside.
        Label(canvas, fonts, zone.X - 3, zone.Y - zone.R - kLabelHeight / 2, zone.Letter, kZone);
    }
    const int tagX = int16_t(w[3] + 60), tagY = int16_t(w[4] - 19);
    Ring(canvas, w[5], w[6], kInkRadius, kNoRubCircle);
    Label(canvas, fonts, w[5] - 8, w[6] - kInkRadius - kLabelHeight - 2, "ink", kNoRubCircle);
    Ring(canvas, tagX, tagY, kTagRadius, kNoRubCircle);
    Label(canvas, fonts, tagX - 8, tagY - kLabelHeight / 2, "tag", kNoRubCircle);
    if (w[2] > 0) {
        Ring(canvas, w[0], w[1], w[2], kNoRubCircle);
        // Inside the top of the circle: its centre is the face, and points may stand there.
        Label(canvas, fonts, w[0] - 26, w[1] - w[2] + 4, "protected", kNoRubCircle);
    }
}

void DrawPoints(Surface& canvas, FontRenderer* fonts, const CheckContext& c, size_t s) {
    const auto& points = c.Cfg.CheckPoints[s];
    for (size_t i = 0; i < points.size(); ++i) {
        const int x = points[i].X, y = points[i].Y;
        const PointCheck state = c.Report.Points[s][i];
        const ColorRef colour = PointColour(state);
        if (state == PointCheck::Never) {
            Cross(canvas, x, y, 9, kBlack);
            Cross(canvas, x, y, 8, colour);
        }
        Disc(canvas, x, y, 5, kBlack);
        Disc(canvas, x, y, 3, colour);
        Label(canvas, fonts, x + 7, y - kLabelHeight / 2, std::to_string(i + 1),
              state == PointCheck::Never ? kNever : kWhite);
    }
}

// "stage-03.png"
std::string PictureName(size_t s) { return Numbered("stage-", 2, int(s) + 1) + ".png"; }

}  // namespace

void RenderStages(CheckContext& c, const StageRender& render) {
    CheckReport& report = c.Report;
    std::string dir = render.Dir.empty() ? std::string("./") : render.Dir;
    if (dir.back() != '/') dir += '/';
    FileError error;
    Folder folder;
    if (!MakeFolders(dir, 0777, error) || !folder.Open(dir, error)) {
        report.RenderError = error.Why.empty() ? "cannot create " + dir : error.Why;
        return;
    }
    MediaState& m = c.G.Media;
    CreateScreenSurfaces(m);
    CreateStageSurfaces(m);
    BuildPalette(m, c.Cfg.PaletteRGB);
    for (size_t s = 0; s < size_t(kStages); ++s) {
        if (!c.InUse[s]) continue;
        Surface canvas = ComposeStage(c, s);
        if (!c.Tainted("StageLayout", int(s)) && !c.Tainted("StageSpots", int(s)))
            DrawCircles(canvas, render.Fonts, c, s);
        if (!c.Tainted("CheckPoints", int(s))) DrawPoints(canvas, render.Fonts, c, s);
        Label(canvas, render.Fonts, 4, 2, StageName(int(s)), kWhite);
        std::string png, why;
        const std::string name = PictureName(s);
        if (!EncodePng(canvas, png, why)) {
            report.RenderError = "cannot write ";
            report.RenderError.append(dir).append(name).append(": ").append(why);
            return;
        }
        if (!ReplaceFileIn(folder, name, name + ".tmp", png, 0666, error)) {
            report.RenderError = error.Why;
            return;
        }
        report.Rendered.push_back(dir + name);
    }
}

}  // namespace kiv::check
