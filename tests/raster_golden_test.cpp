// Replays the reference drawing sequences and compares with the recorded output, pixel for pixel.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "media/raster.h"
#include "raster_golden_support.h"

namespace kiv::golden {
namespace {

struct GoldenCase {
    std::string name;  // case id of the reference set
    std::string file;  // expected output
    std::function<Surface()> run;
};

std::string CaseName(const ::testing::TestParamInfo<GoldenCase>& info) { return info.param.name; }

// Keeps test listings short: a case prints as its id.
void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

class GoldenImage : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenImage, MatchesReference) {
    const GoldenCase& c = GetParam();
    Surface out = c.run();
    EXPECT_TRUE(SameImage(out, LoadNetpbm(c.file))) << c.name;
}

// ---- Raster operations: StripesV16 under StripesH16 ----

GoldenCase RopCase(const std::string& id, Rop rop) {
    return {id, id + ".ppm", [rop] {
                Surface dst = LoadNetpbm("in_StripesV16.ppm");
                Surface src = LoadNetpbm("in_StripesH16.ppm");
                BitBlt(dst, 0, 0, 16, 16, src, 0, 0, rop);
                return dst;
            }};
}

const std::vector<std::pair<std::string, Rop>> kRops = {
    {"c1_srccopy", Rop::SRCCOPY},       {"c1_srcand", Rop::SRCAND},       {"c1_srcpaint", Rop::SRCPAINT},
    {"c1_notsrccopy", Rop::NOTSRCCOPY}, {"c1_srcinvert", Rop::SRCINVERT}, {"c1_mergepaint", Rop::MERGEPAINT},
};

std::vector<GoldenCase> RopCases() {
    std::vector<GoldenCase> cases;
    cases.reserve(std::size(kRops) + 1);
    for (const auto& [id, rop] : kRops) cases.push_back(RopCase(id, rop));
    cases.push_back({"c1_srccopy_offset", "c1_srccopy_offset.ppm", [] {
                         Surface dst = LoadNetpbm("in_StripesV16.ppm");
                         Surface src = LoadNetpbm("in_Grid16.ppm");
                         BitBlt(dst, 2, 3, 10, 9, src, 5, 1, Rop::SRCCOPY);
                         return dst;
                     }});
    return cases;
}
INSTANTIATE_TEST_SUITE_P(RasterRop, GoldenImage, ::testing::ValuesIn(RopCases()), CaseName);

// The canvas copy with the same rectangles gives the same result for every operation.
TEST(RasterRop, c1_stretch_1to1_CanvasCopyRectMatches) {
    for (const auto& [id, rop] : kRops) {
        Surface dst = LoadNetpbm("in_StripesV16.ppm");
        Surface src = LoadNetpbm("in_StripesH16.ppm");
        dst.CopyMode = rop;
        CanvasCopyRect(dst, Rect{0, 0, 16, 16}, src, Rect{0, 0, 16, 16});
        EXPECT_TRUE(SameImage(dst, LoadNetpbm(id + ".ppm"))) << id;
    }
}

// ---- Stretching ----

GoldenCase StretchCase(const std::string& id, const std::string& input, int dw, int dh, bool colorOnColor) {
    return {id, id + ".ppm", [=] {
                Surface src = LoadNetpbm(input);
                Surface dst = NewSurface(dw, dh);
                FillRect(dst, 0, 0, dw, dh, RGB(128, 128, 128));
                if (colorOnColor) dst.Stretch = StretchMode::ColorOnColor;
                StretchBlt(dst, 0, 0, dw, dh, src, 0, 0, src.Width, src.Height, Rop::SRCCOPY);
                return dst;
            }};
}

GoldenCase ClipCase(const std::string& id, Rect d, Rect s) {
    return {id, id + ".ppm", [=] {
                Surface src = LoadNetpbm("in_Grid16.ppm");
                Surface dst = NewSurface(32, 32);
                FillRect(dst, 0, 0, 32, 32, RGB(128, 128, 128));
                StretchCopy(dst, d, src, s, Rop::SRCCOPY);
                return dst;
            }};
}

std::vector<GoldenCase> StretchCases() {
    std::vector<GoldenCase> cases;
    for (int h : {6, 10, 14, 26})
        for (bool coc : {false, true}) {
            std::string id = "c2_rows_32x" + std::to_string(h) + (coc ? "_coloroncolor" : "_default");
            cases.push_back(StretchCase(id, "in_Rows32x26.ppm", 32, h, coc));
        }
    for (bool coc : {false, true}) {
        cases.push_back(StretchCase(std::string("c2_grow_35x35_") + (coc ? "coloroncolor" : "default"), "in_Grid5.ppm",
                                    35, 35, coc));
        cases.push_back(StretchCase(std::string("c2_grow_68x35_") + (coc ? "coloroncolor" : "default"), "in_Grid5.ppm",
                                    68, 35, coc));
        cases.push_back(StretchCase(std::string("c2_cols_11x4_") + (coc ? "coloroncolor" : "default"),
                                    "in_Cols40x4.ppm", 11, 4, coc));
    }
    cases.push_back(StretchCase("c2_grow_13x12_default", "in_Grid5.ppm", 13, 12, false));
    // Rectangles as (left, top, right, bottom).
    cases.push_back(ClipCase("c2_clip_bitblt_srcout", {4, 4, 20, 20}, {-4, -2, 12, 14}));
    cases.push_back(ClipCase("c2_clip_stretch_srcout_1to1", {4, 4, 20, 20}, {-4, -2, 12, 14}));
    cases.push_back(ClipCase("c2_clip_stretch_srcout_grow", {0, 0, 32, 32}, {-4, -4, 12, 12}));
    cases.push_back(ClipCase("c2_clip_stretch_srcout_shrink", {4, 4, 12, 12}, {8, 8, 24, 24}));
    cases.push_back(ClipCase("c2_clip_stretch_dstout_grow_tl", {-6, -4, 26, 28}, {0, 0, 16, 16}));
    cases.push_back(ClipCase("c2_clip_stretch_dstout_grow_br", {20, 22, 52, 54}, {0, 0, 16, 16}));
    cases.push_back(ClipCase("c2_clip_stretch_dstout_shrink", {-3, -5, 5, 3}, {0, 0, 16, 16}));
    return cases;
}
INSTANTIATE_TEST_SUITE_P(RasterStretch, GoldenImage, ::testing::ValuesIn(StretchCases()), CaseName);

// Which source lines feed each destination line, probed one black line at a time on surfaces
// one pixel thick, as the reference map was made.
std::set<int> ParseLineSet(const std::string& text) {
    std::set<int> lines;
    size_t dash = text.find('-');
    int a = std::stoi(text.substr(0, dash));
    int b = dash == std::string::npos ? a : std::stoi(text.substr(dash + 1));
    for (int k = a; k <= b; ++k) lines.insert(k);
    return lines;
}

TEST(RasterStretch, c2_map_EveryProbedLineMapMatches) {
    std::istringstream in(ReadAll(GoldenPath("stretch_map.txt")));
    std::string lineText;
    int checked = 0;
    while (std::getline(in, lineText)) {
        if (lineText.empty() || lineText[0] == '#') continue;
        std::istringstream words(lineText);
        std::string axis, sizes, mode;
        words >> axis >> sizes >> mode;
        mode.pop_back();  // the ':'
        const bool rows = axis == "rows";
        const int S = std::stoi(sizes.substr(0, sizes.find('-')));
        const int D = std::stoi(sizes.substr(sizes.find('>') + 1));
        std::map<int, std::set<int>> expected;
        std::string entry;
        while (words >> entry) {
            size_t colon = entry.find(':');
            expected[std::stoi(entry.substr(0, colon))] = ParseLineSet(entry.substr(colon + 1));
        }
        std::map<int, std::set<int>> actual;
        for (int k = 0; k < S; ++k) {
            Surface src = rows ? NewSurface(1, S) : NewSurface(S, 1);
            Surface dst = rows ? NewSurface(1, D) : NewSurface(D, 1);
            FillRect(src, 0, 0, src.Width, src.Height, RGB(255, 255, 255));
            SetPixel(src, rows ? 0 : k, rows ? k : 0, RGB(0, 0, 0));
            FillRect(dst, 0, 0, dst.Width, dst.Height, RGB(255, 255, 255));
            if (mode == "coloroncolor") dst.Stretch = StretchMode::ColorOnColor;
            StretchCopy(dst, Rect{0, 0, dst.Width, dst.Height}, src, Rect{0, 0, src.Width, src.Height}, Rop::SRCCOPY);
            for (int d = 0; d < D; ++d)
                if (GetPixel(dst, rows ? 0 : d, rows ? d : 0) == 0) actual[d].insert(k);
        }
        EXPECT_EQ(actual, expected) << lineText;
        ++checked;
    }
    EXPECT_EQ(checked, 56);
}

// ---- Colour to monochrome and back ----

Surface SpriteMask() {
    Surface sprite = LoadNetpbm("in_Sprite16.ppm");
    Surface mask = CreateMonoSurface(16, 16);
    sprite.BkColor = RGB(0, 0, 0);
    BitBlt(mask, 0, 0, 16, 16, sprite, 0, 0, Rop::SRCCOPY);
    return mask;
}

GoldenCase ColorToMonoCase(const std::string& id, ColorRef bk) {
    return {id, id + ".pbm", [bk] {
                Surface src = LoadNetpbm("in_Blocks16.ppm");
                Surface mono = CreateMonoSurface(16, 16);
                src.BkColor = bk;
                BitBlt(mono, 0, 0, 16, 16, src, 0, 0, Rop::SRCCOPY);
                return mono;
            }};
}

GoldenCase MaskOntoStripesCase(const std::string& id, Rop rop) {
    return {id, id + ".ppm", [rop] {
                Surface mask = SpriteMask();
                Surface dst = LoadNetpbm("in_StripesV16.ppm");
                BitBlt(dst, 0, 0, 16, 16, mask, 0, 0, rop);
                return dst;
            }};
}

GoldenCase CheckOntoStripesCase(const std::string& id, Rop rop, ColorRef text, ColorRef bk) {
    return {id, id + ".ppm", [=] {
                Surface mono = LoadNetpbm("in_MonoCheck16.pbm");
                Surface dst = LoadNetpbm("in_StripesV16.ppm");
                dst.TextColor = text;
                dst.BkColor = bk;
                BitBlt(dst, 0, 0, 16, 16, mono, 0, 0, rop);
                return dst;
            }};
}

std::vector<GoldenCase> MonoCases() {
    const ColorRef black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    return {
        ColorToMonoCase("c3_c2m_bkblack", black),
        ColorToMonoCase("c3_c2m_bkwhite", white),
        ColorToMonoCase("c3_c2m_bkred", RGB(255, 0, 0)),
        {"c3_sprite_mask", "c3_sprite_mask.pbm", SpriteMask},
        MaskOntoStripesCase("c3_mask_srccopy", Rop::SRCCOPY),
        MaskOntoStripesCase("c3_mask_srcand", Rop::SRCAND),
        MaskOntoStripesCase("c3_mask_notsrccopy", Rop::NOTSRCCOPY),
        {"c3_masked_draw", "c3_masked_draw.ppm",
         [] {
             Surface mask = SpriteMask();
             Surface sprite = LoadNetpbm("in_Sprite16.ppm");
             Surface dst = LoadNetpbm("in_StripesV16.ppm");
             BitBlt(dst, 0, 0, 16, 16, mask, 0, 0, Rop::SRCAND);
             BitBlt(dst, 0, 0, 16, 16, sprite, 0, 0, Rop::SRCPAINT);
             return dst;
         }},
        CheckOntoStripesCase("c3_m2c_check_srccopy", Rop::SRCCOPY, black, white),
        CheckOntoStripesCase("c3_m2c_check_srcand", Rop::SRCAND, black, white),
        CheckOntoStripesCase("c3_m2c_check_notsrccopy", Rop::NOTSRCCOPY, black, white),
        CheckOntoStripesCase("c3_m2c_check_textblue_bkred", Rop::SRCCOPY, RGB(0, 0, 255), RGB(255, 0, 0)),
        CheckOntoStripesCase("c3_m2c_check_bkblack_srcand", Rop::SRCAND, black, black),
    };
}
INSTANTIATE_TEST_SUITE_P(RasterMono, GoldenImage, ::testing::ValuesIn(MonoCases()), CaseName);

// ---- Shapes ----

enum class Paint { Solid, Hollow, RedPenBlueBrush };

Surface ShapeCanvas(Paint paint, int w = 64, int h = 48, ColorRef ground = RGB(255, 255, 255)) {
    Surface dst = NewSurface(w, h);
    FillRect(dst, 0, 0, w, h, ground);
    if (paint == Paint::Hollow) dst.Brush = BrushStyle::Clear;
    if (paint == Paint::RedPenBlueBrush) {
        dst.PenColor = RGB(255, 0, 0);
        dst.BrushColor = RGB(0, 0, 255);
    }
    return dst;
}

const char* PaintSuffix(Paint p) {
    return p == Paint::Solid ? "solid" : p == Paint::Hollow ? "hollow" : "redpen_bluebrush";
}

std::vector<GoldenCase> ShapeCases() {
    std::vector<GoldenCase> cases;
    for (Paint p : {Paint::Solid, Paint::Hollow, Paint::RedPenBlueBrush}) {
        std::string id = std::string("c4_rect_") + PaintSuffix(p);
        cases.push_back({id, id + ".ppm", [p] {
                             Surface dst = ShapeCanvas(p);
                             Rectangle(dst, 2, 3, 9, 8);
                             Rectangle(dst, 12, 3, 13, 4);
                             Rectangle(dst, 16, 3, 18, 5);
                             Rectangle(dst, 22, 3, 25, 6);
                             Rectangle(dst, 30, 3, 30, 10);
                             Rectangle(dst, 34, 3, 40, 3);
                             Rectangle(dst, 50, 12, 42, 3);
                             Rectangle(dst, -3, 20, 5, 28);
                             Rectangle(dst, 56, 40, 70, 52);
                             Rectangle(dst, 10, 20, 30, 40);
                             Rectangle(dst, 36, 20, 37, 35);
                             Rectangle(dst, 40, 20, 55, 21);
                             return dst;
                         }});
    }
    for (Paint p : {Paint::Solid, Paint::Hollow, Paint::RedPenBlueBrush})
        for (int r : {0, 1, 2, 3, 4, 5, 10, 20}) {
            std::string id = std::string("c4_circle_") + PaintSuffix(p) + "_r" + std::to_string(r);
            cases.push_back({id, id + ".ppm", [p, r] {
                                 Surface dst = ShapeCanvas(p);
                                 Ellipse(dst, 31 - r, 23 - r, 32 + r, 24 + r);
                                 return dst;
                             }});
        }
    for (Paint p : {Paint::Solid, Paint::Hollow, Paint::RedPenBlueBrush}) {
        std::string id = std::string("c4_ellipse_small_") + PaintSuffix(p);
        cases.push_back({id, id + ".ppm", [p] {
                             Surface dst = ShapeCanvas(p);
                             Ellipse(dst, 2, 3, 9, 8);
                             Ellipse(dst, 18, 17, 25, 23);
                             Ellipse(dst, 30, 3, 36, 9);
                             Ellipse(dst, 40, 3, 44, 6);
                             Ellipse(dst, 48, 3, 50, 5);
                             Ellipse(dst, 54, 3, 55, 4);
                             Ellipse(dst, 58, 3, 60, 13);
                             Ellipse(dst, 2, 30, 14, 33);
                             Ellipse(dst, 30, 20, 38, 28);
                             Ellipse(dst, 42, 20, 51, 29);
                             return dst;
                         }});
    }
    for (Paint p : {Paint::Solid, Paint::Hollow}) {
        std::string id = std::string("c4_ellipse_outside_") + PaintSuffix(p);
        cases.push_back({id, id + ".ppm", [p] {
                             Surface dst = ShapeCanvas(p);
                             Ellipse(dst, -10, -8, 20, 15);
                             Ellipse(dst, 50, 30, 80, 60);
                             return dst;
                         }});
    }
    cases.push_back({"c4_circle_white_on_black", "c4_circle_white_on_black.ppm", [] {
                         Surface dst = ShapeCanvas(Paint::Solid, 64, 48, RGB(0, 0, 0));
                         dst.PenColor = RGB(255, 255, 255);
                         dst.BrushColor = RGB(255, 255, 255);
                         Ellipse(dst, 2, 2, 23, 23);
                         Ellipse(dst, 31, 7, 42, 18);
                         Ellipse(dst, 49, 9, 56, 16);
                         Ellipse(dst, 10, 34, 15, 39);
                         Ellipse(dst, 23, 35, 26, 38);
                         Ellipse(dst, 36, 36, 37, 37);
                         return dst;
                     }});
    cases.push_back({"c4_lines", "c4_lines.ppm", [] {
                         Surface dst = ShapeCanvas(Paint::Solid);
                         const int segments[][4] = {
                             {2, 2, 20, 2},    {20, 5, 2, 5},  {24, 2, 24, 20},  {27, 20, 27, 2},  {2, 8, 12, 18},
                             {22, 8, 12, 18},  {30, 2, 60, 9}, {30, 12, 34, 14}, {44, 14, 40, 12}, {50, 12, 52, 16},
                             {58, 16, 56, 12}, {5, 25, 5, 25}, {8, 25, 9, 25},
                         };
                         for (const auto& s : segments) {
                             MoveTo(dst, s[0], s[1]);
                             LineTo(dst, s[2], s[3]);
                         }
                         MoveTo(dst, 12, 24);
                         LineTo(dst, 20, 24);
                         LineTo(dst, 20, 30);
                         LineTo(dst, 12, 34);
                         MoveTo(dst, -10, 44);
                         LineTo(dst, 20, 38);
                         MoveTo(dst, 40, 30);
                         LineTo(dst, 70, 50);
                         MoveTo(dst, 28, 22);
                         LineTo(dst, 33, 46);
                         return dst;
                     }});
    cases.push_back({"c4_lines_octants", "c4_lines_octants.ppm", [] {
                         Surface dst = ShapeCanvas(Paint::Solid);
                         const int segments[][4] = {
                             {34, 24, 44, 29}, {33, 26, 38, 36}, {31, 26, 26, 36}, {30, 24, 20, 29},
                             {30, 22, 20, 17}, {31, 20, 26, 10}, {33, 20, 38, 10}, {34, 22, 44, 17},
                         };
                         for (const auto& s : segments) {
                             MoveTo(dst, s[0], s[1]);
                             LineTo(dst, s[2], s[3]);
                         }
                         return dst;
                     }});
    // Full-size circles.
    cases.push_back({"c6_outline_r65_r30", "c6_outline_r65_r30.ppm", [] {
                         Surface dst = ShapeCanvas(Paint::Hollow, 640, 480, RGB(0, 0, 0));
                         dst.PenColor = RGB(255, 255, 255);
                         Ellipse(dst, 251, 176, 382, 307);
                         Ellipse(dst, 286, 211, 347, 272);
                         return dst;
                     }});
    cases.push_back({"c6_disc_r70", "c6_disc_r70.ppm", [] {
                         Surface dst = ShapeCanvas(Paint::Solid, 640, 480);
                         Ellipse(dst, 246, 171, 387, 312);
                         return dst;
                     }});
    return cases;
}
INSTANTIATE_TEST_SUITE_P(RasterShapes, GoldenImage, ::testing::ValuesIn(ShapeCases()), CaseName);

// ---- GetPixel ----

TEST(RasterGetPixel, c5_colour_and_c5_mono_MatchRecordedValues) {
    Surface colour = LoadNetpbm("in_StripesV16.ppm");
    SetPixel(colour, 15, 15, RGB(0x12, 0x34, 0x56));
    Surface mono = LoadNetpbm("in_MonoCheck16.pbm");
    std::istringstream in(ReadAll(GoldenPath("expected.txt")));
    std::string line;
    int checked = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string id, value;
        int x = 0, y = 0;
        words >> id >> x >> y >> value;
        const Surface& s = id == "c5_mono" ? mono : colour;
        EXPECT_EQ(GetPixel(s, x, y), ColorRef(std::stoul(value, nullptr, 16))) << line;
        ++checked;
    }
    EXPECT_EQ(checked, 31);
}

}  // namespace
}  // namespace kiv::golden
