// How the window's picture is enlarged and placed, and how the mouse finds its game pixel.
#include "platform/view_layout.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

struct Probe {
    int wx, wy;
    bool inside;
    int gx, gy;
};

void ExpectMapping(const ViewLayout& v, std::initializer_list<Probe> probes) {
    for (const Probe& p : probes) {
        int gx = -99, gy = -99;
        EXPECT_EQ(v.ToGame(p.wx, p.wy, gx, gy), p.inside) << "window " << p.wx << "," << p.wy;
        EXPECT_EQ(gx, p.gx) << "window " << p.wx << "," << p.wy;
        EXPECT_EQ(gy, p.gy) << "window " << p.wx << "," << p.wy;
    }
}

TEST(ViewLayout, WholeScalesMapEveryWindowPixelBackToItsGamePixel) {
    const ViewLayout one = FitPicture(640, 480, 640, 480);
    EXPECT_EQ(one.Scale, 1);
    ExpectMapping(one, {{0, 0, true, 0, 0}, {639, 479, true, 639, 479}, {640, 10, false, 640, 10}});

    const ViewLayout two = FitPicture(1280, 960, 640, 480);
    EXPECT_EQ(two.Scale, 2);
    EXPECT_EQ(two.OffsetX, 0);
    ExpectMapping(two, {{0, 0, true, 0, 0}, {1, 1, true, 0, 0}, {2, 3, true, 1, 1}, {1279, 959, true, 639, 479}});

    const ViewLayout three = FitPicture(1920, 1440, 640, 480);
    EXPECT_EQ(three.Scale, 3);
    ExpectMapping(three,
                  {{2, 2, true, 0, 0}, {3, 5, true, 1, 1}, {960, 720, true, 320, 240}, {1919, 1439, true, 639, 479}});
}

TEST(ViewLayout, FullScreenCentresTheLargestWholeScaleAndTheBorderIsNoGamePixel) {
    const ViewLayout v = FitPicture(2048, 1536, 640, 480);
    EXPECT_EQ(v.Scale, 3);
    EXPECT_EQ(v.OffsetX, 64);
    EXPECT_EQ(v.OffsetY, 48);
    ExpectMapping(v, {{64, 48, true, 0, 0},
                      {63, 48, false, -1, 0},  // the black border, left of the picture
                      {64, 47, false, 0, -1},
                      {0, 0, false, -22, -16},
                      {64 + 1919, 48 + 1439, true, 639, 479},
                      {64 + 1920, 48 + 1439, false, 640, 479},
                      {2047, 1535, false, 661, 495}});

    // A wide screen: the height decides; the 580 x 380 picture scales the same way.
    const ViewLayout wide = FitPicture(1920, 1080, 640, 480);
    EXPECT_EQ(wide.Scale, 2);
    EXPECT_EQ(wide.OffsetX, 320);
    EXPECT_EQ(wide.OffsetY, 60);
    const ViewLayout small = FitPicture(1920, 1080, 580, 380);
    EXPECT_EQ(small.Scale, 2);
    EXPECT_EQ(small.OffsetX, 380);
    EXPECT_EQ(small.OffsetY, 160);
    ExpectMapping(
        small, {{380, 160, true, 0, 0}, {380 + 1159, 160 + 759, true, 579, 379}, {380 + 1160, 500, false, 580, 170}});
}

TEST(ViewLayout, AWindowResizedByOthersKeepsTheMouseOnThePicture) {
    // A window manager made the 2x window a little larger: still 2x, centred.
    const ViewLayout v = FitPicture(1300, 1000, 640, 480);
    EXPECT_EQ(v.Scale, 2);
    EXPECT_EQ(v.OffsetX, 10);
    EXPECT_EQ(v.OffsetY, 20);
    ExpectMapping(v, {{10, 20, true, 0, 0}, {9, 20, false, -1, 0}, {11, 21, true, 0, 0}});
    // Smaller than the picture: one to one, the upper-left part shows.
    const ViewLayout cut = FitPicture(600, 400, 640, 480);
    EXPECT_EQ(cut.Scale, 1);
    EXPECT_EQ(cut.OffsetX, 0);
    EXPECT_EQ(cut.OffsetY, 0);
    ExpectMapping(cut, {{599, 399, true, 599, 399}});
}

TEST(ViewLayout, PresentedRectanglesAreClippedToThePictureAndEnlarged) {
    const ViewLayout v = FitPicture(2048, 1536, 580, 380);
    ASSERT_EQ(v.Scale, 3);
    EXPECT_EQ(v.ToWindow(Rect{10, 20, 30, 40}),
              (Rect{v.OffsetX + 30, v.OffsetY + 60, v.OffsetX + 90, v.OffsetY + 120}));
    // Beyond the 580 x 380 picture nothing shows.
    EXPECT_EQ(v.ToWindow(Rect{570, 370, 640, 480}),
              (Rect{v.OffsetX + 1710, v.OffsetY + 1110, v.OffsetX + 1740, v.OffsetY + 1140}));
    const Rect gone = v.ToWindow(Rect{600, 0, 640, 10});
    EXPECT_EQ(gone.Width(), 0);
}

}  // namespace
}  // namespace kiv
