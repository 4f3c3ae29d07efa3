// Copy behaviour the reference images do not show: mirroring, self-copies, the canvas colours,
// monochrome switching, and that no rectangle reaches outside a buffer.

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "media/raster.h"

namespace kiv {
namespace {

// A one-row surface holding the given pixels.
Surface Row(const std::vector<uint32_t>& pixels) {
    Surface s = CreateSurface(int(pixels.size()), 1);
    s.Pixels = pixels;
    return s;
}

TEST(RasterCopy, RopsCombineEachChannelBitwise) {
    const uint32_t d = 0xFF8040, s = 0x0F0F0F;
    const std::pair<Rop, uint32_t> expected[] = {
        {Rop::SRCCOPY, 0x0F0F0F},    {Rop::SRCAND, 0x0F0000},    {Rop::SRCPAINT, 0xFF8F4F},
        {Rop::NOTSRCCOPY, 0xF0F0F0}, {Rop::SRCINVERT, 0xF08F4F}, {Rop::MERGEPAINT, 0xFFF0F0},
    };
    for (auto [rop, want] : expected) {
        // Once at 1:1 and once through the stretching path.
        Surface dst = Row({d, d}), src = Row({s, s});
        StretchCopy(dst, {0, 0, 1, 1}, src, {0, 0, 1, 1}, rop);
        StretchCopy(dst, {1, 0, 2, 1}, src, {0, 0, 2, 1}, rop);
        EXPECT_EQ(dst.Pixels[0], want) << std::hex << uint32_t(rop);
        EXPECT_EQ(dst.Pixels[1], want) << std::hex << uint32_t(rop);
    }
}

TEST(RasterCopy, MirroringAndReversedRectangles) {
    Surface src = Row({1, 2, 3, 4});
    Surface dst = Row({0, 0, 0, 0, 0});
    // A negative extent -4 at x = 3 covers 0..3, walked from 3 down.
    StretchCopy(dst, {3, 0, -1, 1}, src, {0, 0, 4, 1}, Rop::SRCCOPY);
    EXPECT_EQ(dst.Pixels, (std::vector<uint32_t>{4, 3, 2, 1, 0}));
    // Mirrored source instead.
    dst.Pixels.assign(5, 0);
    StretchCopy(dst, {1, 0, 5, 1}, src, {3, 0, -1, 1}, Rop::SRCCOPY);
    EXPECT_EQ(dst.Pixels, (std::vector<uint32_t>{0, 4, 3, 2, 1}));
    // Both reversed: an unmirrored copy of the normalised spans x+w .. x-1.
    dst.Pixels.assign(5, 0);
    StretchCopy(dst, {5, 0, 1, 1}, src, {4, 0, 0, 1}, Rop::SRCCOPY);
    EXPECT_EQ(dst.Pixels, (std::vector<uint32_t>{0, 1, 2, 3, 4}));
    // Zero extents draw nothing.
    dst.Pixels.assign(5, 9);
    StretchCopy(dst, {0, 0, 0, 1}, src, {0, 0, 4, 1}, Rop::SRCCOPY);
    StretchCopy(dst, {0, 0, 4, 1}, src, {0, 0, 4, 0}, Rop::SRCCOPY);
    EXPECT_EQ(dst.Pixels, (std::vector<uint32_t>(5, 9)));
}

TEST(RasterCopy, ClippedSourceLeavesItsDestinationUntouched) {
    Surface src = Row({1, 2, 3});
    Surface dst = Row(std::vector<uint32_t>(16, 9));
    StretchCopy(dst, {10, 0, 15, 1}, src, {-2, 0, 3, 1}, Rop::SRCCOPY);
    EXPECT_EQ(dst.Pixels[10], 9u);
    EXPECT_EQ(dst.Pixels[11], 9u);
    EXPECT_EQ(dst.Pixels[12], 1u);
    EXPECT_EQ(dst.Pixels[14], 3u);
    EXPECT_EQ(dst.Pixels[15], 9u);
}

TEST(RasterCopy, SelfCopyReadsTheWholeSourceFirst) {
    Surface s = Row({1, 2, 3, 4, 5});
    StretchCopy(s, {1, 0, 5, 1}, s, {0, 0, 4, 1}, Rop::SRCCOPY);
    EXPECT_EQ(s.Pixels, (std::vector<uint32_t>{1, 1, 2, 3, 4}));
    StretchCopy(s, {0, 0, 2, 1}, s, {0, 0, 4, 1}, Rop::SRCCOPY);  // shrinking: pairs ANDed
    EXPECT_EQ(s.Pixels, (std::vector<uint32_t>{1 & 1, 2 & 3, 2, 3, 4}));
    Surface mask = CreateMonoSurface(4, 1);
    mask.Pixels = {0, 0xFFFFFF, 0, 0xFFFFFF};
    mask.CopyMode = Rop::NOTSRCCOPY;
    CanvasCopyRect(mask, {0, 0, 4, 1}, mask, {0, 0, 4, 1});
    EXPECT_EQ(mask.Pixels, (std::vector<uint32_t>{0xFFFFFF, 0, 0xFFFFFF, 0}));
}

TEST(RasterCopy, SelfCopyMatchesACopyFromADuplicate) {
    // Mirrored, reversed, stretched, shrunk and partly outside: a copy within one surface gives
    // what the same copy from an untouched duplicate gives.
    const Rect cases[][2] = {
        {{2, 1, 9, 6}, {0, 0, 7, 5}},      {{9, 6, 2, 1}, {0, 0, 7, 5}},    {{2, 1, 9, 6}, {7, 5, 0, 0}},
        {{9, 1, 2, 6}, {7, 5, 0, 0}},      {{0, 0, 11, 7}, {3, 2, 6, 4}},   {{1, 1, 4, 3}, {0, 0, 11, 7}},
        {{-3, -2, 8, 9}, {-5, 4, 20, -3}}, {{5, 5, 2, 2}, {9, -4, -6, 12}}, {{0, 0, 11, 7}, {12, 0, 20, 7}},
        {{4, 2, 6, 5}, {10, 6, 8, 3}},
    };
    for (StretchMode mode : {StretchMode::BlackOnWhite, StretchMode::ColorOnColor}) {
        for (const auto& c : cases) {
            Surface self = CreateSurface(11, 7);
            for (size_t i = 0; i < self.Pixels.size(); ++i) self.Pixels[i] = uint32_t(i * 0x010307 + 0x3F);
            self.Stretch = mode;
            Surface dup = self, want = self;
            StretchCopy(want, c[0], dup, c[1], Rop::SRCINVERT);
            StretchCopy(self, c[0], self, c[1], Rop::SRCINVERT);
            EXPECT_EQ(self.Pixels, want.Pixels) << c[0].Left << "," << c[0].Top << " <- " << c[1].Left << ","
                                                << c[1].Top << "," << c[1].Right << "," << c[1].Bottom;
        }
    }
}

TEST(RasterCopy, CanvasColoursDriveMonoConversion) {
    // Colour -> mono: the source's brush colour is the background; a clear brush reads as black.
    Surface picture = Row({0x000000, 0x123456, 0xFFFFFF});
    Surface mask = CreateMonoSurface(3, 1);
    CanvasCopyRect(mask, {0, 0, 3, 1}, picture, {0, 0, 3, 1});
    EXPECT_EQ(mask.Pixels, (std::vector<uint32_t>{0xFFFFFF, 0, 0}));
    SetBrushColor(picture, MakeColorRef(0x12, 0x34, 0x56));  // COLORREF of pixel 0x123456
    CanvasCopyRect(mask, {0, 0, 3, 1}, picture, {0, 0, 3, 1});
    EXPECT_EQ(mask.Pixels, (std::vector<uint32_t>{0, 0xFFFFFF, 0}));
    SetBrushStyle(picture, BrushStyle::Clear);
    CanvasCopyRect(mask, {0, 0, 3, 1}, picture, {0, 0, 3, 1});
    EXPECT_EQ(mask.Pixels, (std::vector<uint32_t>{0xFFFFFF, 0, 0}));

    // Mono -> colour: 0 takes the font colour, 1 the brush colour; black on black is all black.
    Surface dst = Row({7, 7, 7});
    dst.Font.Color = MakeColorRef(0, 0, 255);
    dst.BrushColor = MakeColorRef(255, 0, 0);
    CanvasCopyRect(dst, {0, 0, 3, 1}, mask, {0, 0, 3, 1});
    EXPECT_EQ(dst.Pixels, (std::vector<uint32_t>{0xFF0000, 0x0000FF, 0x0000FF}));
    dst.Font.Color = 0;
    dst.BrushColor = 0;
    CanvasCopyRect(dst, {0, 0, 3, 1}, mask, {0, 0, 3, 1});
    EXPECT_EQ(dst.Pixels, (std::vector<uint32_t>{0, 0, 0}));
}

TEST(RasterCopy, MaskedDrawThroughTheCanvas) {
    Surface dst = Row({0x111111, 0x222222, 0x333333});
    Surface mask = Row({0xFFFFFF, 0, 0xFFFFFF});
    Surface sprite = Row({0, 0xABCDEF, 0});
    dst.CopyMode = Rop::SRCAND;
    CanvasCopyRect(dst, {0, 0, 3, 1}, mask, {0, 0, 3, 1});
    dst.CopyMode = Rop::SRCPAINT;
    CanvasCopyRect(dst, {0, 0, 3, 1}, sprite, {0, 0, 3, 1});
    EXPECT_EQ(dst.Pixels, (std::vector<uint32_t>{0x111111, 0xABCDEF, 0x333333}));
}

TEST(RasterCopy, SwitchingMonochromeKeepsThePicture) {
    Surface s = Row({0, 0x808080, 0xFFFFFF});
    SetMonochrome(s, true);  // black brush: black pixels become 1
    EXPECT_EQ(s.Pixels, (std::vector<uint32_t>{0xFFFFFF, 0, 0}));
    EXPECT_EQ(GetPixel(s, 0, 0), 0x00FFFFFFu);
    s.Font.Color = MakeColorRef(0, 255, 0);
    s.BrushColor = MakeColorRef(0, 0, 255);
    SetMonochrome(s, false);
    EXPECT_EQ(s.Pixels, (std::vector<uint32_t>{0x0000FF, 0x00FF00, 0x00FF00}));
}

TEST(RasterCopy, SurfaceSizesAreCapped) {
    EXPECT_TRUE(CreateSurface(0, 10).Empty());
    EXPECT_TRUE(CreateSurface(-5, 10).Empty());
    EXPECT_TRUE(CreateSurface(8193, 1).Empty());
    EXPECT_TRUE(CreateMonoSurface(1, INT_MAX).Empty());
    Surface edge = CreateSurface(kMaxSurfaceSide, 1);
    EXPECT_EQ(edge.Pixels.size(), size_t(kMaxSurfaceSide));
}

// Every primitive with rectangles and points far outside, reversed or at the integer limits:
// nothing is written outside the buffers (AddressSanitizer watches) and the frame around a
// small target stays untouched.
TEST(RasterCopy, AbsurdCoordinatesStayInsideTheBuffers) {
    const int big[] = {INT_MIN, INT_MIN + 1, -1000000, -17, -1, 0, 1, 5, 16, 17, 1000000, INT_MAX - 1, INT_MAX};
    Surface src = CreateSurface(16, 12);
    for (size_t i = 0; i < src.Pixels.size(); ++i) src.Pixels[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    Surface mono = CreateMonoSurface(7, 5);
    Surface empty = CreateEmptySurface();
    Surface broken = CreateSurface(4, 4);
    broken.Pixels.resize(3);  // inconsistent size: treated as no pixels
    Surface dst = CreateSurface(9, 7);
    for (int a : big)
        for (int b : big) {
            Rect r1{a, b, b, a}, r2{b, a / -2, a, b / 3 + 1}, r3{a, a, b, b};
            for (Rop rop : {Rop::SRCCOPY, Rop::SRCAND, Rop::MERGEPAINT}) {
                StretchCopy(dst, r1, src, r2, rop);
                StretchCopy(dst, r3, src, r1, rop);
                StretchCopy(dst, r2, mono, r3, rop);
                StretchCopy(mono, r1, src, r3, rop);
                StretchCopy(dst, r1, dst, r2, rop);
            }
            dst.Stretch = StretchMode::ColorOnColor;
            StretchCopy(dst, r2, src, r3, Rop::SRCCOPY);
            dst.Stretch = StretchMode::BlackOnWhite;
            StretchCopy(empty, r1, src, r2, Rop::SRCCOPY);
            StretchCopy(dst, r1, empty, r2, Rop::SRCCOPY);
            StretchCopy(broken, r3, src, r3, Rop::SRCCOPY);
            StretchCopy(dst, r3, broken, r3, Rop::SRCCOPY);
            FillRectangle(dst, r1);
            FillRectangle(dst, r3);
            Rectangle(dst, a, b, b, a);
            Rectangle(mono, a, a, b, b);
            Ellipse(dst, a, b, b / 2, a / 3);
            Ellipse(dst, a / 40000, b / 40000, a / 30000, b / 50000);
            MoveTo(dst, a, b);
            LineTo(dst, b, a);
            LineTo(dst, 3, 3);
            LineTo(mono, a, 2);
            if (a < 0 || a >= 9 || b < 0 || b >= 7) {
                EXPECT_EQ(GetPixel(dst, a, b), kClrInvalid);
            }
            SetPixel(dst, a, b, 0xFFFFFF);
            EXPECT_EQ(GetPixel(empty, a, b), kClrInvalid);
        }
    EXPECT_EQ(dst.Pixels.size(), 63u);
    EXPECT_EQ(mono.Pixels.size(), 35u);
    for (uint32_t p : mono.Pixels) EXPECT_TRUE(p == 0 || p == 0xFFFFFF);
    for (uint32_t p : dst.Pixels) EXPECT_EQ(p & 0xFF000000u, 0u);
}

TEST(RasterCopy, ShapesStayInsideTheirBox) {
    // A frame of sentinels around every shape's box must stay as it was.
    for (int w = 0; w <= 12; ++w)
        for (int h = 0; h <= 12; ++h) {
            Surface s = CreateSurface(20, 20);
            for (uint32_t& p : s.Pixels) p = 0x00777777;
            s.PenColor = 0x00FFFFFF;
            s.BrushColor = 0x000000FF;
            Ellipse(s, 4, 4, 4 + w, 4 + h);
            Rectangle(s, 4 + w, 4 + h, 4, 4);  // reversed corners
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x)
                    if (x < 4 || y < 4 || x >= 4 + w || y >= 4 + h) {
                        ASSERT_EQ(s.Row(y)[x], 0x00777777u) << w << "x" << h << " at " << x << "," << y;
                    }
        }
}

}  // namespace
}  // namespace kiv
