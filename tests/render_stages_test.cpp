// kiv --check --render DIR: the pictures of the stages' data, decoded again with libpng and
// held to what the check itself found of every check point.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "check/game_check.h"
#include "check_demo_copy.h"
#include "data/config_reader.h"
#include "media/images.h"
#include "test_support.h"

namespace kiv {
namespace {

struct Picture {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Rgb;
    uint32_t At(int x, int y) const {
        const size_t i = (size_t(y) * size_t(Width) + size_t(x)) * 3;
        return uint32_t(Rgb[i]) << 16 | uint32_t(Rgb[i + 1]) << 8 | Rgb[i + 2];
    }
};

bool DecodePng(const std::string& bytes, Picture& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
    image.format = PNG_FORMAT_RGB;
    out.Width = int(image.width);
    out.Height = int(image.height);
    out.Rgb.resize(PNG_IMAGE_SIZE(image));
    const bool ok = png_image_finish_read(&image, nullptr, out.Rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Render(const std::string& data, const std::string& out, std::string* err = nullptr) {
    TempDir io;
    const std::string cmd = std::string(KIV_BINARY) + " --check --render " + out + " --data " + data + " >" +
                            io.File("out.txt") + " 2>" + io.File("err.txt");
    const int raw = std::system(cmd.c_str());
    if (err) *err = io.Read("out.txt") + io.Read("err.txt");
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

constexpr uint32_t kGreen = 0x00E600, kOrange = 0xFFA000, kRed = 0xFF0000;

uint32_t MarkOf(PointCheck state) {
    return state == PointCheck::Rubbable ? kGreen : state == PointCheck::OpenFromStart ? kOrange : kRed;
}

// Every check point of every stage of dir is marked in its picture as the check found it.
void ExpectMarksAsChecked(const std::string& dir, const std::string& out, const CheckReport& report) {
    for (int s = 0; s < 10; ++s) {
        const std::string name = "stage-" + std::string(s < 9 ? "0" : "") + std::to_string(s + 1) + ".png";
        Picture pic;
        ASSERT_TRUE(DecodePng(ReadAll(std::string(out).append("/").append(name)), pic)) << name;
        ASSERT_EQ(pic.Width, 640);
        ASSERT_EQ(pic.Height, 480);
        Config cfg;
        ParseConfiguration(ReadAll(dir + "Kiv.txt"), dir, cfg);
        for (size_t i = 0; i < 20; ++i) {
            const Point16 p = cfg.CheckPoints[size_t(s)][i];
            const PointCheck state = report.Points[size_t(s)][i];
            ASSERT_NE(state, PointCheck::NotChecked) << name << " point " << i + 1;
            EXPECT_EQ(pic.At(p.X, p.Y), MarkOf(state)) << name << " point " << i + 1 << " at " << p.X << "," << p.Y;
        }
    }
}

TEST(RenderStages, TheDemosPicturesMarkEveryPointAsTheCheckFoundIt) {
    DemoCopy demo;
    TempDir out;
    const std::string into = out.Path() + "made/on/demand";
    std::string said;
    ASSERT_EQ(Render(demo.dir.Path(), into, &said), 0) << said;
    EXPECT_NE(said.find(demo.dir.Path() + ": 0 errors, 0 warnings\n"), std::string::npos) << said;
    EXPECT_NE(said.find("wrote 10 pictures"), std::string::npos) << said;
    const CheckReport report = CheckGameFolder(demo.dir.Path(), nullptr);
    for (const auto& stage : report.Points)
        for (PointCheck p : stage) EXPECT_EQ(p, PointCheck::Rubbable);
    ExpectMarksAsChecked(demo.dir.Path(), into, report);

    // Where the stage picture is transparent the background shows, as the stage starts.
    Picture pic, background;
    ASSERT_TRUE(DecodePng(ReadAll(into + "/stage-01.png"), pic));
    Surface c01, d01;
    std::string why;
    ASSERT_TRUE(ReadPictureFile(demo.dir.Path(), PictureFileName(demo.dir.Path(), "C01"), c01, why)) << why;
    ASSERT_TRUE(ReadPictureFile(demo.dir.Path(), PictureFileName(demo.dir.Path(), "D01"), d01, why)) << why;
    int transparent = 0, showsBackground = 0, opaque = 0, showsPicture = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const bool clear = d01.Pixels[size_t(y) * 640 + size_t(x)] == 0;
            (clear ? transparent : opaque)++;
            const bool background = pic.At(x, y) == c01.Pixels[size_t(y) * 640 + size_t(x)];
            if (clear && background) ++showsBackground;
            if (!clear && !background) ++showsPicture;
        }
    EXPECT_GT(showsBackground, transparent * 8 / 10);
    EXPECT_GT(showsPicture, opaque * 9 / 10);
}

TEST(RenderStages, APointNoPressCanUncoverIsMarkedRedAndOneOpenFromTheStartOrange) {
    DemoCopy demo;
    // Point 1 of the finale (stage 10) into its protected circle, which the curtain covers;
    // point 6 of stage 1 into the open sky of the top-right corner, where the stage picture is
    // transparent.
    const int cx = 420, cy = 130;
    demo.SetFirstPoint(85, cx, cy);
    demo.SetFirstPoint(50, 600, 20);
    const CheckReport report = demo.Check();
    ASSERT_EQ(report.Points[9][0], PointCheck::Never);
    ASSERT_EQ(report.Points[0][5], PointCheck::OpenFromStart);
    TempDir out;
    std::string said;
    EXPECT_EQ(Render(demo.dir.Path(), out.Path(), &said), 1) << said;  // the check's error stands
    EXPECT_NE(said.find("Kiv.txt:85: CheckPoints of stage 10: point 1"), std::string::npos) << said;
    ExpectMarksAsChecked(demo.dir.Path(), out.Path(), report);
    Picture pic;
    ASSERT_TRUE(DecodePng(out.Read("stage-10.png"), pic));
    // The cross through the point that is never uncovered, clear of its dot.
    EXPECT_EQ(pic.At(cx + 7, cy + 7), kRed);
    EXPECT_EQ(pic.At(cx - 7, cy + 7), kRed);
}

TEST(RenderStages, WritesOnlyIntoTheFolderAndNeverThroughALinkThere) {
    DemoCopy demo;
    TempDir out, elsewhere;
    elsewhere.Write("victim.txt", "keep me");
    ASSERT_EQ(::symlink(elsewhere.File("victim.txt").c_str(), out.File("stage-01.png").c_str()), 0);
    ASSERT_EQ(::symlink(elsewhere.File("planted").c_str(), out.File("stage-02.png.tmp").c_str()), 0);
    std::string said;
    ASSERT_EQ(Render(demo.dir.Path(), out.Path(), &said), 0) << said;
    EXPECT_EQ(elsewhere.Read("victim.txt"), "keep me");
    EXPECT_FALSE(elsewhere.Exists("planted"));
    struct stat st {};
    ASSERT_EQ(::lstat(out.File("stage-01.png").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    Picture pic;
    EXPECT_TRUE(DecodePng(out.Read("stage-01.png"), pic));
    EXPECT_FALSE(out.Exists("stage-02.png.tmp"));

    // A render folder that cannot be made: a clear message and status 1, the check printed.
    out.Write("file", "x");
    EXPECT_EQ(Render(demo.dir.Path(), out.File("file/sub"), &said), 1);
    EXPECT_NE(said.find("cannot create"), std::string::npos) << said;
    EXPECT_NE(said.find("0 errors, 0 warnings"), std::string::npos) << said;
}

}  // namespace
}  // namespace kiv
