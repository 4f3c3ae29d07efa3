// Loading pictures by base name: the readers on good and bad files, the ".jpg" before ".bmp"
// rule, masks, cels and stage pictures.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/game_media.h"
#include "media/image_bmp.h"
#include "media/image_jpeg.h"
#include "media/raster.h"
#include "media_test_files.h"
#include "platform/headless/headless_platform.h"
#include "scenes/stage/stage.h"
#include "test_support.h"

namespace kiv {
namespace {

using media_test::BmpOptions;
using media_test::WriteBmp;
using media_test::WriteJpeg;

// A picture with a different colour in each pixel, to catch swapped rows, columns or channels.
uint32_t Pattern(int x, int y) {
    return uint32_t(0x100000 * (x * 7 % 16) + 0x1000 * (y * 5 % 16) + 0x10 * ((x + y) % 16));
}

// An 8-bit run-length bitmap of w x h in colour index 1: runs of up to 255 pixels and an
// end-of-line code a row, as a paint program writes them.
std::string WriteRle8(int w, int h) {
    std::string bmp = WriteBmp(1, 1, {8, false, {0x000000, 0x336699}}, [](int, int) { return 0u; });
    bmp.resize(14 + 40 + 2 * 4);
    std::string rle;
    for (int y = 0; y < h; ++y) {
        for (int left = w; left > 0; left -= 255) rle += {char(std::min(left, 255)), char(1)};
        rle += std::string("\0\0", 2);
    }
    rle += std::string("\0\1", 2);
    bmp += rle;
    media_test::Put32(bmp, 2, uint32_t(bmp.size()));
    media_test::Put32(bmp, 18, uint32_t(w));
    media_test::Put32(bmp, 22, uint32_t(h));
    media_test::Put32(bmp, 30, 1);
    media_test::Put32(bmp, 34, uint32_t(rle.size()));
    return bmp;
}

// A flat black grey-level JPEG coded as tightly as libjpeg can: optimised Huffman tables and,
// when progressive, one DC scan and one AC scan (no successive approximation).
std::string WriteTightJpeg(int w, int h, bool progressive) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    c.optimize_coding = TRUE;
    static const jpeg_scan_info kScans[2] = {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 63, 0, 0}};
    if (progressive) {
        c.scan_info = kScans;
        c.num_scans = 2;
    }
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(size_t(w), 0);
    while (c.next_scanline < c.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return out;
}

class MediaImages : public ::testing::Test {
protected:
    void SetUp() override {
        g.Cfg.AppDir = dir.Path();
        platform.SetVisible(true);
    }
    bool Halted() const { return g.Shell.HaltRequested && g.Shell.CloseRequested; }
    // Every pixel of s, row by row.
    static std::vector<uint32_t> Expect(int w, int h, const std::function<uint32_t(int, int)>& f) {
        std::vector<uint32_t> v;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) v.push_back(f(x, y));
        return v;
    }
    // Loads a bitmap file written by the test and expects it to read back as `want`.
    void ExpectBmp(const std::string& bytes, int w, int h, const std::vector<uint32_t>& want, const char* what) {
        dir.Write("Pic.bmp", bytes);
        Surface s;
        LoadBmpImage(Pictures(g), "Pic", s);
        EXPECT_FALSE(Halted()) << what;
        EXPECT_EQ(s.Width, w) << what;
        EXPECT_EQ(s.Height, h) << what;
        EXPECT_FALSE(s.Monochrome) << what;
        EXPECT_EQ(s.Pixels, want) << what;
    }
    // Expects the file to take the halt path with the given message.
    void ExpectRefused(const std::string& file, const std::string& bytes, const char* what) {
        dir.Write(file, bytes);
        g.Shell.HaltRequested = g.Shell.CloseRequested = false;
        platform.SetVisible(true);
        const size_t before = platform.Messages().size();
        Surface s = CreateSurface(4, 4);
        LoadImage(Pictures(g), file.substr(0, file.size() - 4), s);
        EXPECT_TRUE(Halted()) << what;
        EXPECT_FALSE(platform.Visible()) << what;
        EXPECT_TRUE(s.Empty()) << what;
        EXPECT_TRUE(s.Pixels.empty()) << what;
        ASSERT_EQ(platform.Messages().size(), before + 1) << what;
        EXPECT_EQ(platform.Messages().back(), "cannot read  " + file) << what;
    }

    TempDir dir;
    HeadlessPlatform platform;
    Game g{platform};
};

TEST_F(MediaImages, BitmapsOfEveryDepthReadInTheirOwnColours) {
    const int w = 5, h = 3;  // rows that need padding at every depth
    const std::vector<uint32_t> two = {0xFF0000, 0x0000FF};
    std::vector<uint32_t> sixteen, many;
    for (uint32_t i = 0; i < 16; ++i) sixteen.push_back(0x110000 * i + 0x000F * i);
    for (uint32_t i = 0; i < 200; ++i) many.push_back(0x010203 * i);
    auto index1 = [](int x, int y) { return uint32_t((x + y) & 1); };
    auto index4 = [](int x, int y) { return uint32_t((x * 3 + y * 5) % 16); };
    auto index8 = [](int x, int y) { return uint32_t((x * 37 + y * 11) % 200); };

    for (bool topDown : {false, true}) {
        ExpectBmp(WriteBmp(w, h, {1, topDown, two}, index1), w, h,
                  Expect(w, h, [&](int x, int y) { return two[index1(x, y)]; }), "1 bit");
        ExpectBmp(WriteBmp(w, h, {4, topDown, sixteen}, index4), w, h,
                  Expect(w, h, [&](int x, int y) { return sixteen[index4(x, y)]; }), "4 bits");
        ExpectBmp(WriteBmp(w, h, {8, topDown, many}, index8), w, h,
                  Expect(w, h, [&](int x, int y) { return many[index8(x, y)]; }), "8 bits");
        ExpectBmp(WriteBmp(w, h, {24, topDown}, Pattern), w, h, Expect(w, h, Pattern), "24 bits");
        ExpectBmp(WriteBmp(w, h, {32, topDown}, Pattern), w, h, Expect(w, h, Pattern), "32 bits");
    }
    // 16 bits: five bits a channel widen to eight as (v << 3) | (v >> 2), 0x1F giving 0xFF.
    auto c16 = [](int x, int y) { return uint32_t(x == 0 ? 0xFFFFFF : (x == 1 ? 0x000000 : 0x8040F8 + y * 0x080000)); };
    auto widen5 = [](uint32_t v8) {
        uint32_t v = v8 >> 3;
        return (v << 3) | (v >> 2);
    };
    auto widen6 = [](uint32_t v8) {
        uint32_t v = v8 >> 2;
        return (v << 2) | (v >> 4);
    };
    ExpectBmp(WriteBmp(w, h, {16}, c16), w, h,
              Expect(w, h,
                     [&](int x, int y) {
                         uint32_t v = c16(x, y);
                         return widen5(v >> 16) << 16 | widen5((v >> 8) & 0xFF) << 8 | widen5(v & 0xFF);
                     }),
              "16 bits 5-5-5");
    BmpOptions o565;
    o565.bits = 16;
    o565.rgb565 = true;
    ExpectBmp(WriteBmp(w, h, o565, c16), w, h,
              Expect(w, h,
                     [&](int x, int y) {
                         uint32_t v = c16(x, y);
                         return widen5(v >> 16) << 16 | widen6((v >> 8) & 0xFF) << 8 | widen5(v & 0xFF);
                     }),
              "16 bits 5-6-5");
    EXPECT_EQ(g.Media.LastImageExt, ".bmp");
}

TEST_F(MediaImages, RunLengthBitmapsDecode) {
    // 8-bit RLE, 4 x 2: the bottom row a run of four index 1; the top row three literal pixels
    // 2, 3, 1 (padded to a word), then a run of one index 0.
    std::vector<uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    std::string bmp = WriteBmp(4, 2, {8, false, pal}, [](int, int) { return 0u; });
    const size_t data = 14 + 40 + pal.size() * 4;
    std::string rle = std::string("\x04\x01\x00\x00", 4) + std::string("\x00\x03\x02\x03\x01\x00\x01\x00\x00\x01", 10);
    bmp.resize(data);
    bmp += rle;
    media_test::Put32(bmp, 2, uint32_t(bmp.size()));
    media_test::Put32(bmp, 30, 1);
    media_test::Put32(bmp, 34, uint32_t(rle.size()));
    ExpectBmp(bmp, 4, 2, {0x00FF00, 0x0000FF, 0xFF0000, 0x000000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000}, "RLE8");
}

TEST_F(MediaImages, RunLengthBitmapsTooShortForTheirSizeAreRefused) {
    // A real run-length file of a flat picture still loads.
    std::string flat = WriteRle8(1000, 300);
    ExpectBmp(flat, 1000, 300, std::vector<uint32_t>(size_t{1000} * 300, 0x336699), "flat RLE8");

    // About a kilobyte claiming 4096 x 4096 (the most pixels allowed): refused from the
    // header, nothing allocated.
    std::string tiny = WriteRle8(300, 3);
    media_test::Put32(tiny, 18, 4096);
    media_test::Put32(tiny, 22, 4096);
    BmpPixels pixels;
    std::string why;
    EXPECT_FALSE(DecodeBmp(reinterpret_cast<const uint8_t*>(tiny.data()), tiny.size(), kMaxSurfaceSide,
                           kMaxSurfacePixels, pixels, why));
    EXPECT_NE(why.find("too short"), std::string::npos) << why;
    EXPECT_TRUE(pixels.Pixels.empty());
    ExpectRefused("Tiny8.bmp", tiny, "RLE8 claiming 4096 x 4096");

    std::string tiny4 = tiny;  // the same as a 4-bit run-length file
    media_test::Put16(tiny4, 28, 4);
    media_test::Put32(tiny4, 30, 2);
    ExpectRefused("Tiny4.bmp", tiny4, "RLE4 claiming 4096 x 4096");
}

TEST_F(MediaImages, DamagedOrAbsurdBitmapsTakeTheHaltPath) {
    const std::string good = WriteBmp(8, 8, {24}, Pattern);
    ExpectRefused("Cut.bmp", good.substr(0, good.size() - 10), "pixel data cut short");
    ExpectRefused("Head.bmp", good.substr(0, 30), "header cut short");
    ExpectRefused("Empty.bmp", "", "empty file");
    ExpectRefused("Text.bmp", "this is not a picture at all, only words", "not a bitmap");

    std::string lying = good;  // claims 8 x 800 over the data of 8 x 8
    media_test::Put32(lying, 22, 800);
    ExpectRefused("Lying.bmp", lying, "height larger than the data");

    std::string zero = good;
    media_test::Put32(zero, 18, 0);
    media_test::Put32(zero, 22, 0);
    ExpectRefused("Zero.bmp", zero, "0 x 0");

    std::string huge = good;  // would be 40 GB if believed
    media_test::Put32(huge, 18, 100000);
    media_test::Put32(huge, 22, 100000);
    ExpectRefused("Huge.bmp", huge, "100000 x 100000");

    std::string wide = good;  // within 32 bits, over 8192 on one side
    media_test::Put32(wide, 18, 8193);
    media_test::Put32(wide, 22, 1);
    ExpectRefused("Wide.bmp", wide, "8193 wide");

    std::string negative = good;
    media_test::Put32(negative, 18, uint32_t(-8));
    ExpectRefused("Neg.bmp", negative, "negative width");

    std::string depth = good;
    media_test::Put16(depth, 28, 7);
    ExpectRefused("Depth.bmp", depth, "7 bits a pixel");

    // An index past the end of the colour table.
    std::string pal = WriteBmp(4, 1, {8, false, {0xFFFFFF, 0x000000}}, [](int x, int) { return uint32_t(x * 60); });
    ExpectRefused("Pal.bmp", pal, "index outside the palette");
}

TEST_F(MediaImages, JpegPicturesDecodeAtTheirOwnSize) {
    // Flat 16 x 16 blocks survive compression at full quality almost exactly.
    auto blocks = [](int x, int y) {
        static const uint32_t c[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};
        return c[(x / 16 + 2 * (y / 16)) % 6];
    };
    auto close = [](uint32_t a, uint32_t b) {
        for (int sh : {0, 8, 16})
            if (std::abs(int((a >> sh) & 0xFF) - int((b >> sh) & 0xFF)) > 6) return false;
        return true;
    };
    for (bool progressive : {false, true}) {
        dir.Write("Pic.jpg", WriteJpeg(48, 32, blocks, 100, false, progressive));
        Surface s;
        LoadJpegImage(Pictures(g), "Pic", s);
        ASSERT_FALSE(Halted());
        ASSERT_EQ(s.Width, 48);
        ASSERT_EQ(s.Height, 32);
        EXPECT_EQ(g.Media.LastImageExt, ".jpg");
        int bad = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 48; ++x) {
                EXPECT_EQ(s.Row(y)[x] & 0xFF000000, 0u);
                bad += !close(s.Row(y)[x], blocks(x, y));
            }
        EXPECT_EQ(bad, 0) << "progressive " << progressive;
    }
    // A grey picture comes out as grey colours, not as a grey-only surface.
    dir.Write("Grey.jpg", WriteJpeg(
                              16, 8, [](int x, int) { return x < 8 ? 40u : 200u; }, 100, true));
    Surface grey;
    LoadJpegImage(Pictures(g), "Grey", grey);
    ASSERT_EQ(grey.Width, 16);
    EXPECT_TRUE(close(grey.Row(3)[2], 0x282828));
    EXPECT_TRUE(close(grey.Row(3)[13], 0xC8C8C8));

    // CMYK pictures from print programs come out in screen colours: full magenta and yellow
    // ink is red, half black ink halves it.
    dir.Write("Print.jpg", media_test::WriteCmykJpeg(16, 16, 0, 255, 255, 128));
    Surface print;
    LoadJpegImage(Pictures(g), "Print", print);
    ASSERT_EQ(print.Width, 16);
    EXPECT_TRUE(close(print.Row(8)[8], 0x7F0000)) << std::hex << print.Row(8)[8];
    EXPECT_FALSE(Halted());
}

TEST_F(MediaImages, PicturesOfMoreThanSixteenMillionPixelsAreRefused) {
    // Small 1-bit files, well formed: only their pixel count differs.
    const BmpOptions mono{1, false, {0x000000, 0xFFFFFF}};
    auto zero = [](int, int) { return 0u; };
    dir.Write("Most.bmp", WriteBmp(4096, 4096, mono, zero));
    Surface s;
    LoadBmpImage(Pictures(g), "Most", s);
    EXPECT_FALSE(Halted());
    EXPECT_EQ(s.Width, 4096);
    s = Surface{};
    ExpectRefused("More.bmp", WriteBmp(4096, 4097, mono, zero), "4096 x 4097 pixels");

    // The same for a JPEG whose header claims one row more than the most allowed.
    std::string jpeg = WriteJpeg(16, 16, Pattern, 90);
    const size_t sof = jpeg.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    jpeg[sof + 5] = char(0x10);
    jpeg[sof + 6] = char(0x01);
    jpeg[sof + 7] = char(0x10);
    jpeg[sof + 8] = 0;
    Surface out;
    std::string why;
    EXPECT_FALSE(DecodeJpeg(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size(), out, why));
    EXPECT_NE(why.find("too large"), std::string::npos) << why;
}

TEST_F(MediaImages, AJpegOfEndlessScansIsRefused) {
    // A progressive file whose DC refinement scan (one raw bit a block, no codes to go wrong)
    // is repeated: the decoder only warns about the odd progression, so a few repeats still
    // decode; hundreds are refused at once.
    const std::string good = WriteJpeg(32, 32, Pattern, 90, false, true);
    size_t scan = 0, scanEnd = 0;
    for (size_t at = good.find("\xFF\xDA"); at != std::string::npos; at = good.find("\xFF\xDA", at + 2)) {
        const size_t header = at + 2;
        const size_t ns = static_cast<uint8_t>(good[header + 2]);
        const size_t ss = header + 3 + 2 * ns;
        if (good[ss] == 0 && (static_cast<uint8_t>(good[ss + 2]) >> 4) != 0) {
            scan = at;
            // The scan's data runs to the next marker (0xFF not followed by 0 or a restart).
            scanEnd = ss + 3;
            while (!(static_cast<uint8_t>(good[scanEnd]) == 0xFF && good[scanEnd + 1] != 0 &&
                     (static_cast<uint8_t>(good[scanEnd + 1]) & 0xF8) != 0xD0))
                ++scanEnd;
            break;
        }
    }
    ASSERT_NE(scan, 0u) << "a DC refinement scan";
    auto repeated = [&](int times) {
        std::string f = good.substr(0, scanEnd);
        for (int i = 0; i < times; ++i) f += good.substr(scan, scanEnd - scan);
        return f + good.substr(scanEnd);
    };
    Surface s;
    std::string why;
    const std::string few = repeated(20);
    EXPECT_TRUE(DecodeJpeg(reinterpret_cast<const uint8_t*>(few.data()), few.size(), s, why)) << why;
    const std::string endless = repeated(400);
    EXPECT_FALSE(DecodeJpeg(reinterpret_cast<const uint8_t*>(endless.data()), endless.size(), s, why));
    EXPECT_NE(why.find("scans"), std::string::npos) << why;
    ExpectRefused("Scans.jpg", endless, "400 repeated scans");
}

TEST_F(MediaImages, DamagedOrAbsurdJpegsTakeTheHaltPath) {
    const std::string good = WriteJpeg(64, 64, Pattern, 90);
    ExpectRefused("Cut.jpg", good.substr(0, good.size() * 2 / 3), "cut mid-scan");
    ExpectRefused("Head.jpg", good.substr(0, 40), "header cut short");
    ExpectRefused("Empty.jpg", "", "empty file");
    ExpectRefused("Text.jpg", "GIF89a and then nothing like a JPEG", "not a JPEG");

    // The frame header's height and width (after the marker, length and precision) set to
    // 60000 x 60000: refused from the header, nothing allocated.
    std::string huge = good;
    size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge[sof + 5] = char(0xEA);
    huge[sof + 6] = char(0x60);
    huge[sof + 7] = char(0xEA);
    huge[sof + 8] = char(0x60);
    ExpectRefused("Huge.jpg", huge, "60000 x 60000");

    std::string zero = good;
    zero[sof + 5] = zero[sof + 6] = 0;
    ExpectRefused("Zero.jpg", zero, "height 0");
}

TEST_F(MediaImages, JpegWarningsThatLoseNoPixelsAreHarmless) {
    // An unknown JFIF revision (major version 3) only draws a warning.
    std::string jfif = WriteJpeg(32, 16, Pattern, 90);
    ASSERT_EQ(jfif.compare(6, 5, std::string("JFIF\0", 5)), 0);
    jfif[11] = 3;
    dir.Write("Rev.jpg", jfif);
    Surface s;
    LoadJpegImage(Pictures(g), "Rev", s);
    EXPECT_FALSE(Halted());
    EXPECT_EQ(s.Width, 32);
    EXPECT_EQ(s.Height, 16);

    // So does an unknown Adobe transform code.
    std::string adobe = media_test::WriteCmykJpeg(16, 16, 0, 255, 255, 128);
    const size_t at = adobe.find("Adobe");
    ASSERT_NE(at, std::string::npos);
    adobe[at + 11] = 7;
    dir.Write("Xform.jpg", adobe);
    LoadJpegImage(Pictures(g), "Xform", s);
    EXPECT_FALSE(Halted());
    EXPECT_EQ(s.Width, 16);
    EXPECT_TRUE(platform.Messages().empty());
}

TEST_F(MediaImages, JpegsTooShortForTheirSizeAreRefusedFromTheHeader) {
    // Flat pictures coded as tightly as they can be still load: baseline needs two bits an
    // 8 x 8 block, progressive one.
    for (bool progressive : {false, true}) {
        const std::string tight = WriteTightJpeg(1024, 1024, progressive);
        ASSERT_LT(tight.size(), size_t(1024 * 1024 / (progressive ? 256 : 128))) << "the file is as short as it can be";
        Surface s;
        std::string why;
        EXPECT_TRUE(DecodeJpeg(reinterpret_cast<const uint8_t*>(tight.data()), tight.size(), s, why)) << why;
        EXPECT_EQ(s.Width, 1024);
    }

    // A small file whose frame header claims 4096 x 4096 (the most pixels allowed).
    std::string tiny = WriteJpeg(16, 16, Pattern, 90);
    const size_t sof = tiny.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    tiny[sof + 5] = tiny[sof + 7] = char(0x10);
    tiny[sof + 6] = tiny[sof + 8] = 0;
    Surface s;
    std::string why;
    EXPECT_FALSE(DecodeJpeg(reinterpret_cast<const uint8_t*>(tiny.data()), tiny.size(), s, why));
    EXPECT_NE(why.find("too short"), std::string::npos) << why;
    EXPECT_TRUE(s.Pixels.empty());
    ExpectRefused("Tiny.jpg", tiny, "4096 x 4096 in a few hundred bytes");

    std::string tinyProgressive = WriteJpeg(16, 16, Pattern, 90, false, true);
    const size_t sof2 = tinyProgressive.find("\xFF\xC2");
    ASSERT_NE(sof2, std::string::npos);
    tinyProgressive[sof2 + 5] = tinyProgressive[sof2 + 7] = char(0x10);
    tinyProgressive[sof2 + 6] = tinyProgressive[sof2 + 8] = 0;
    ExpectRefused("TinyP.jpg", tinyProgressive, "progressive 4096 x 4096");
}

TEST_F(MediaImages, JpgIsPreferredAndAMissingPictureIsReportedAsBmp) {
    dir.Write("Ptit.bmp", WriteBmp(4, 4, {24}, [](int, int) { return 0x0000FFu; }));
    dir.Write("Ptit.jpg", WriteJpeg(8, 8, [](int, int) { return 0xFF0000u; }));
    Surface s;
    LoadImage(Pictures(g), "Ptit", s);
    EXPECT_EQ(s.Width, 8);
    EXPECT_EQ(g.Media.LastImageExt, ".jpg");
    EXPECT_GT((s.Row(0)[0] >> 16) & 0xFF, 0xF0u);

    // File names match whatever their letter case.
    dir.Write("pchz.BMP", WriteBmp(3, 2, {24}, Pattern));
    LoadImage(Pictures(g), "Pchz", s);
    EXPECT_EQ(s.Width, 3);
    EXPECT_EQ(g.Media.LastImageExt, ".bmp");
    EXPECT_FALSE(Halted());

    LoadImage(Pictures(g), "Nothing", s);
    EXPECT_TRUE(Halted());
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(g.Media.LastImageExt, ".bmp");
    EXPECT_EQ(platform.Messages(), std::vector<std::string>{"not find  Nothing.bmp"});
    EXPECT_FALSE(platform.Visible());

    // The extension is set before the read, so a failed ".jpg" read leaves ".jpg".
    g.Shell.HaltRequested = g.Shell.CloseRequested = false;
    dir.Write("Bad.jpg", "not a jpeg");
    LoadImage(Pictures(g), "Bad", s);
    EXPECT_TRUE(Halted());
    EXPECT_EQ(g.Media.LastImageExt, ".jpg");
    EXPECT_EQ(platform.Messages().back(), "cannot read  Bad.jpg");
}

TEST_F(MediaImages, LoadImageToPaletteGivesANewSurfaceWithTheSamePixels) {
    dir.Write("C01.bmp",
              WriteBmp(6, 5, {8, false, {0x102030, 0xA0B0C0}}, [](int x, int y) { return uint32_t((x + y) % 2); }));
    Surface s = CreateSurface(640, 480);
    LoadImageToPalette(Pictures(g), "C01", s);
    ASSERT_EQ(s.Width, 6);
    ASSERT_EQ(s.Height, 5);
    EXPECT_EQ(s.Row(0)[0], 0x102030u);
    EXPECT_EQ(s.Row(4)[3], 0xA0B0C0u);
    EXPECT_EQ(s.CopyMode, Rop::SRCCOPY);

    LoadImageToPalette(Pictures(g), "C02", s);
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(platform.Messages().back(), "not find  C02.bmp");
}

TEST_F(MediaImages, CleanWithMaskBlackensOnlyJpegSprites) {
    // Mask: left half white (background), right half black (sprite).
    Surface mask = CreateSurface(16, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) mask.Row(y)[x] = 0xFFFFFF;
    auto sprite = [](int, int) { return 0x6080A0u; };

    dir.Write("S.bmp", WriteBmp(16, 8, {24}, sprite));
    Surface s;
    LoadImage(Pictures(g), "S", s);
    g.Media.DstRect = MakeRect(1, 2, 3, 4);
    CleanWithMask(g.Media, s, mask);
    EXPECT_EQ(s.Pixels, std::vector<uint32_t>(size_t{16} * 8, 0x6080A0u));
    EXPECT_EQ(g.Media.DstRect, MakeRect(1, 2, 3, 4));

    dir.Write("S.jpg", WriteJpeg(16, 8, sprite));
    LoadImage(Pictures(g), "S", s);
    const uint32_t right = s.Row(4)[12];
    CleanWithMask(g.Media, s, mask);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(s.Row(y)[x], 0u) << x << "," << y;
    EXPECT_EQ(s.Row(4)[12], right);
    EXPECT_EQ(s.CopyMode, Rop::SRCCOPY);
    EXPECT_EQ(g.Media.DstRect, MakeRect(0, 0, 16, 8));
}

TEST_F(MediaImages, BuildMaskDerivesTheMaskFromPureBlack) {
    CreateScreenSurfaces(g.Media);
    CreateStageSurfaces(g.Media);
    // A number-0 mask file must never be looked at.
    dir.Write("D00mask.bmp", WriteBmp(640, 480, {24}, [](int, int) { return 0x000000u; }));
    Surface& pic = g.Media.StagePicBmp;
    pic = CreateSurface(640, 480);
    pic.BrushColor = 0xFFFFFF;  // whatever the canvas had, pure black is what counts
    pic.Row(0)[0] = 0x000000;
    pic.Row(0)[1] = 0x010000;  // nearly black stays opaque
    pic.Row(0)[2] = 0x000001;
    pic.Row(479)[639] = 0x123456;
    for (int x = 3; x < 640; ++x) pic.Row(0)[x] = 0xFFFFFF;
    g.Media.DstRect = MakeRect(5, 5, 6, 6);
    BuildMask(Pictures(g), g.Media.MaskBmp, pic, 0);
    const Surface& mask = g.Media.MaskBmp;
    ASSERT_EQ(mask.Width, 640);
    ASSERT_EQ(mask.Height, 480);
    EXPECT_FALSE(mask.Monochrome);  // reads back black and white, as a one-bit picture does
    EXPECT_EQ(mask.Row(0)[0], 0xFFFFFFu);
    EXPECT_EQ(mask.Row(0)[1], 0u);
    EXPECT_EQ(mask.Row(0)[2], 0u);
    EXPECT_EQ(mask.Row(0)[3], 0u);
    EXPECT_EQ(mask.Row(1)[0], 0xFFFFFFu);  // the rest of the picture is pure black
    EXPECT_EQ(mask.Row(479)[639], 0u);
    EXPECT_EQ(pic.Row(0)[1], 0x010000u);  // the picture itself is not cut
    EXPECT_EQ(g.Media.DstRect, g.Media.FullRect);
    EXPECT_TRUE(platform.Messages().empty());

    // A missing mask file is no error either.
    BuildMask(Pictures(g), g.Media.MaskBmp, pic, 7);
    EXPECT_EQ(g.Media.MaskBmp.Row(0)[0], 0xFFFFFFu);
    EXPECT_FALSE(Halted());
    EXPECT_TRUE(platform.Messages().empty());

    // A masked draw puts the picture over a background exactly where it is not pure black.
    Surface& back = g.Media.BackBmp;
    std::fill(back.Pixels.begin(), back.Pixels.end(), 0x3366CCu);
    g.Media.SrcRect = g.Media.DstRect = g.Media.FullRect;
    MaskedDraw(g, back, g.Media.MaskBmp, pic);
    EXPECT_EQ(back.Row(0)[0], 0x3366CCu);
    EXPECT_EQ(back.Row(0)[1], 0x010000u);
    EXPECT_EQ(back.Row(0)[5], 0xFFFFFFu);
    EXPECT_EQ(back.Row(479)[639], 0x123456u);
}

TEST_F(MediaImages, BuildMaskWithAMaskFileCutsThePicture) {
    CreateScreenSurfaces(g.Media);
    CreateStageSurfaces(g.Media);
    // The mask file is white where the picture shows (left half) and black elsewhere.
    dir.Write("D12mask.bmp",
              WriteBmp(640, 480, {1, false, {0x000000, 0xFFFFFF}}, [](int x, int) { return x < 320 ? 1u : 0u; }));
    Surface& pic = g.Media.StagePicBmp;
    std::fill(pic.Pixels.begin(), pic.Pixels.end(), 0x8899AAu);
    BuildMask(Pictures(g), g.Media.MaskBmp, pic, 12);
    EXPECT_EQ(g.Media.LastImageExt, ".bmp");
    EXPECT_EQ(pic.Row(100)[10], 0x8899AAu);
    EXPECT_EQ(pic.Row(100)[400], 0u);
    EXPECT_EQ(g.Media.MaskBmp.Row(100)[10], 0u);
    EXPECT_EQ(g.Media.MaskBmp.Row(100)[400], 0xFFFFFFu);
    EXPECT_EQ(pic.CopyMode, Rop::SRCCOPY);
    EXPECT_EQ(g.Media.MaskBmp.CopyMode, Rop::SRCCOPY);

    // A ".jpg" mask is taken before a ".bmp" one.
    dir.Write("D12mask.jpg", WriteJpeg(640, 480, [](int, int) { return 0xFFFFFFu; }));
    BuildMask(Pictures(g), g.Media.MaskBmp, pic, 12);
    EXPECT_EQ(g.Media.LastImageExt, ".jpg");
    EXPECT_LT(g.Media.MaskBmp.Row(100)[400] & 0xFF, 0x08u);
    EXPECT_FALSE(Halted());
}

TEST_F(MediaImages, CelsAndStagePictures) {
    for (int i = 1; i <= 4; ++i)
        dir.Write("F02" + std::to_string(i) + ".bmp", WriteBmp(i, 1, {24}, [](int, int) { return 0x0F0F0Fu; }));
    LoadCels(Pictures(g), 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(g.Media.CelBmps[size_t(i)].Width, i + 1);
    EXPECT_FALSE(Halted());

    CreateScreenSurfaces(g.Media);
    CreateStageSurfaces(g.Media);
    // Stage 2 (scene 3) places "G02" into its rectangle from position 9: (100, 50, 104, 53).
    g.Shell.SceneNo = 3;
    auto& rec = g.Cfg.StageLayout[1];
    rec[9] = 100, rec[10] = 50, rec[11] = 104, rec[12] = 53;
    dir.Write("G02.bmp", WriteBmp(8, 8, {24}, Pattern));
    Surface& target = g.Media.StageBackBmp;
    std::fill(target.Pixels.begin(), target.Pixels.end(), 0u);
    g.Media.SrcRect = g.Media.DstRect = MakeRect(1, 1, 2, 2);
    PlaceStageImage(g, "G", 9, target);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(target.Row(50 + y)[100 + x], Pattern(x, y));
    EXPECT_EQ(target.Row(53)[100], 0u);
    EXPECT_EQ(target.Row(50)[104], 0u);
    EXPECT_EQ(g.Media.SrcRect, g.Media.FullRect);
    EXPECT_EQ(g.Media.DstRect, g.Media.FullRect);

    // A rectangle from the data that reaches outside the surfaces only copies what is inside.
    rec[13] = -30000, rec[14] = -30000, rec[15] = 30000, rec[16] = 30000;
    dir.Write("E02.bmp", WriteBmp(2, 2, {24}, Pattern));
    PlaceStageImage(g, "E", 13, target);
    EXPECT_FALSE(Halted());
}

TEST_F(MediaImages, PartsSheetTouchUp) {
    g.Media.PartsBmp = CreateSurface(200, 120);
    Surface& p = g.Media.PartsBmp;
    std::fill(p.Pixels.begin(), p.Pixels.end(), 0xFFFFFFu);
    p.BrushColor = 0xFFFFFF;
    TouchUpPartsSheet(g.Media.PartsBmp);
    auto black = [&](int x, int y) { return p.Row(y)[x] == 0u; };
    EXPECT_TRUE(black(0, 35) && black(166, 35) && black(166, 42) && black(166, 49));
    EXPECT_FALSE(black(167, 35));  // lines stop before their end point
    EXPECT_TRUE(black(164, 46));   // the 28th letter cell
    EXPECT_FALSE(black(161, 46));
    EXPECT_TRUE(black(109, 94) && black(0, 107) && black(114, 78) && black(151, 106));
    EXPECT_FALSE(black(114, 107));
    EXPECT_TRUE(black(4, 94) && black(0, 90));  // the blanking patch
    EXPECT_TRUE(black(60, 85) && black(120, 92));
    EXPECT_FALSE(black(121, 85));
    EXPECT_FALSE(black(50, 60));
}

}  // namespace
}  // namespace kiv
