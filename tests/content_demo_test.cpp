// The bundled demo game, read back from the generated folder: its Kiv.txt through the game's
// own reader against the tables the generator meant, its files and their sizes, and whether
// every check point can really be uncovered.

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../content/demo_tables.h"
#include "data/config_reader.h"
#include "data/sjis.h"
#include "media/midi_length.h"

namespace kiv {
namespace {

using namespace kiv::demo;

const std::string kDir = std::string(KIV_GAME_DIR) + "/";

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& name) { return std::ifstream(kDir + name).good(); }

std::string Two(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", n % 100);
    return b;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> px;  // 0xRRGGBB, top row first; empty for a JPEG (size only)
    uint32_t At(int x, int y) const { return px[size_t(y) * width + x]; }
};

uint32_t Le(const std::string& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | uint8_t(b[at + i]);
    return v;
}

// The uncompressed BMPs the generator writes: 1, 4, 8 or 24 bits, bottom-up.
bool ReadBmp(const std::string& path, Picture& out) {
    std::string b = ReadFile(path);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
    uint32_t offset = Le(b, 10, 4), headerSize = Le(b, 14, 4);
    int w = int(Le(b, 18, 4)), h = int(Le(b, 22, 4)), bits = int(Le(b, 28, 2));
    if (w <= 0 || h <= 0 || w > 4096 || h > 4096 || Le(b, 30, 4) != 0) return false;
    uint32_t colours = Le(b, 46, 4);
    if (bits <= 8 && colours == 0) colours = 1u << bits;
    size_t paletteAt = 14 + headerSize, stride = size_t((w * bits + 31) / 32) * 4;
    if (b.size() < offset + stride * size_t(h)) return false;
    out.width = w;
    out.height = h;
    out.px.assign(size_t(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        size_t row = offset + stride * size_t(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            uint32_t v;
            if (bits == 24) {
                v = Le(b, row + size_t(x) * 3, 3);
            } else {
                size_t bit = size_t(x) * bits;
                uint32_t idx = (uint8_t(b[row + bit / 8]) >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (idx >= colours) return false;
                v = Le(b, paletteAt + size_t{idx} * 4, 3);
            }
            out.px[size_t(y) * w + x] = v & 0xFFFFFF;
        }
    }
    return true;
}

struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

bool ReadJpegSize(const std::string& path, Picture& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    jpeg_decompress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1); };
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(f);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    out.width = int(cinfo.image_width);
    out.height = int(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    return true;
}

// A picture by base name, as the game finds it: the ".jpg" first, else the ".bmp".
bool LoadByBaseName(const std::string& base, Picture& out) {
    if (Exists(base + ".jpg")) return ReadJpegSize(kDir + base + ".jpg", out);
    return ReadBmp(kDir + base + ".bmp", out);
}

void ExpectPicture(const std::string& base, int minW, int minH, bool exact = false) {
    Picture p;
    ASSERT_TRUE(LoadByBaseName(base, p)) << base << " is missing or unreadable";
    if (exact) {
        EXPECT_EQ(p.width, minW) << base;
        EXPECT_EQ(p.height, minH) << base;
    } else {
        EXPECT_GE(p.width, minW) << base;
        EXPECT_GE(p.height, minH) << base;
    }
}

class DemoGame : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cfg_ = new Config();
        std::string bytes = ReadFile(kDir + "Kiv.txt");
        ASSERT_FALSE(bytes.empty()) << "no Kiv.txt in " << kDir;
        ConfigResult r = ParseConfiguration(bytes, kDir, *cfg_);
        ASSERT_TRUE(r.ok) << r.message;
        raw_ = new std::string(bytes);
    }
    static void TearDownTestSuite() {
        delete cfg_;
        delete raw_;
    }
    static Config* cfg_;
    static std::string* raw_;
};
Config* DemoGame::cfg_ = nullptr;
std::string* DemoGame::raw_ = nullptr;

TEST_F(DemoGame, FileIsTheFullPositionalFormat) {
    const std::string& b = *raw_;
    int lines = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        if (b[i] == '\n') {
            ASSERT_TRUE(i > 0 && b[i - 1] == '\r') << "a bare LF at byte " << i;
        }
        if (b[i] == '\r') {
            ASSERT_TRUE(i + 1 < b.size() && b[i + 1] == '\n') << "a bare CR at byte " << i;
            ++lines;
        }
    }
    EXPECT_EQ(lines, 213);
    EXPECT_EQ(b.find('\x1A'), std::string::npos);
}

TEST_F(DemoGame, ReaderGivesTheMeantTables) {
    const Config& c = *cfg_;
    EXPECT_EQ(c.DefaultPlayerName.Str(), Utf8ToSjis(kDefaultPlayerName));
    EXPECT_EQ(c.PresetRankName.View(), "master");  // written as "//du"
    for (int s = 0; s < kStages; ++s) {
        SCOPED_TRACE("stage " + std::to_string(s + 1));
        const StageDesign& d = kStageDesigns[size_t(s)];
        EXPECT_EQ(c.FaceTable[size_t(s)], FaceRow(d.spread));
        EXPECT_EQ(c.StageLayout[size_t(s)], LayoutRow(d));
        EXPECT_EQ(c.StageParams[size_t(s)], ParamsRow(s, d));
        EXPECT_EQ(c.StageSpots[size_t(s)], StageSpotsRow(s));
        for (int k = 0; k < 20; ++k) {
            EXPECT_EQ(c.CheckPoints[size_t(s)][size_t(k)].X, StagePoints(s)[size_t(k)].X);
            EXPECT_EQ(c.CheckPoints[size_t(s)][size_t(k)].Y, StagePoints(s)[size_t(k)].Y);
        }
    }
    EXPECT_EQ(c.FaceTable[7][0], -1);  // written in hexadecimal as $FFFF
    EXPECT_EQ(c.StageLayout[10], kEndingLayout);
    EXPECT_EQ(c.SoundNumbers, kSoundNumbers);
    EXPECT_EQ(c.OpeningScript, kOpeningScript);
    for (size_t i = 0; i < 48; ++i) {
        EXPECT_EQ(c.PaletteRGB[i].R, kPalette[i].R) << i;
        EXPECT_EQ(c.PaletteRGB[i].G, kPalette[i].G) << i;
        EXPECT_EQ(c.PaletteRGB[i].B, kPalette[i].B) << i;
    }
    EXPECT_EQ(c.ResultCodeSeed, kResultCodeSeed);
    auto music = MusicNumbers();
    for (size_t k = 0; k < music.size(); ++k)  // the reader empties a name whose file is missing
        EXPECT_EQ(c.MusicFiles[k].Str(), music[k] ? "Kv" + Two(music[k]) + ".mid" : "") << "music slot " << k;
    for (int s = 0; s < kStages; ++s)
        for (int i = 1; i <= 10; ++i)
            EXPECT_EQ(c.StageTexts[size_t(s)][size_t(i)].Str(), Utf8ToSjis(KivLine(kTexts[size_t(s)][size_t(i - 1)])))
                << "stage " << s + 1 << " line " << i;
    EXPECT_EQ(c.TickerText, Utf8ToSjis(kHelpLine));
}

// Typing takes two bytes a frame: each double-byte character and each "__" or "_/" must start
// a unit, and the line must end with "_/".
TEST_F(DemoGame, EveryTextLineTypesToItsEnd) {
    EXPECT_EQ(cfg_->DefaultPlayerName.Length() % 2, 0) << "an odd name would shift every unit after it";
    for (int s = 0; s < kStages; ++s)
        for (int i = 1; i <= 10; ++i) {
            SCOPED_TRACE("stage " + std::to_string(s + 1) + " line " + std::to_string(i));
            const auto& t = cfg_->StageTexts[size_t(s)][size_t(i)];
            ASSERT_LE(t.Length(), 95);
            std::string named = t.Str();  // the default name must not push the end code out
            const std::string name = Utf8ToSjis(kDefaultPlayerName);
            for (size_t p = 0; (p = named.find("\x82\x66", p)) != std::string::npos; p += name.size())
                named.replace(p, 2, name);
            EXPECT_LE(named.size(), 95u);
            bool ended = false;
            for (int p = 1; p + 1 <= t.Length() && !ended; p += 2) {
                uint8_t a = t.At(p), b = t.At(p + 1);
                if (a == '_' && b == '/')
                    ended = p + 1 == t.Length();
                else if (a == '_' && b == '_')
                    continue;
                else if (IsSjisLeadByte(a))
                    EXPECT_GE(b, 0x40) << "bad trail byte at " << p + 1;
                else
                    EXPECT_FALSE(IsSjisLeadByte(b)) << "a double-byte character splits at " << p + 1;
            }
            EXPECT_TRUE(ended) << "no \"_/\" at a unit boundary at the end";
        }
}

TEST_F(DemoGame, EveryFileTheGameAsksForIsThere) {
    ExpectPicture("Ptit", 265, 108);
    ExpectPicture("Ptitm", 265, 108);
    for (const char* n : {"Pchz", "Pchzd", "Pchzm"}) ExpectPicture(n, 594, 78);
    ExpectPicture("End1", 640, 480, true);
    const auto& end = cfg_->StageLayout[10];
    ExpectPicture("End2", end[0], end[1]);
    ExpectPicture("End3", end[6], end[7]);
    for (int s = 0; s < kStages; ++s) {
        SCOPED_TRACE("stage " + std::to_string(s + 1));
        const auto& p = cfg_->StageParams[size_t(s)];
        const auto& w = cfg_->StageLayout[size_t(s)];
        const auto& f = cfg_->FaceTable[size_t(s)];
        ExpectPicture("M" + Two(p[6]), 120, 40);
        ExpectPicture("C" + Two(p[7]), 640, 480, true);
        ExpectPicture("D" + Two(p[8]), 640, 480, true);
        for (int k = 9; k <= 12; ++k)
            if (p[size_t(k)]) ExpectPicture("D" + Two(p[size_t(k)]), 640, 480, true);
        if (Exists("D" + Two(p[8]) + "mask.bmp")) ExpectPicture("D" + Two(p[8]) + "mask", 640, 480, true);
        // the cels must hold every face rectangle at its offset
        int needW = std::max({f[5], f[9], f[13]}) - f[1], needH = std::max({f[6], f[10], f[14]}) - f[2];
        std::vector<int> sets{p[5]};
        if (w[7] / 10) sets.push_back(w[7] / 10);
        for (int set : sets)
            for (int i = 1; i <= 4; ++i) {
                char name[16];
                std::snprintf(name, sizeof name, "F%03d", set * 10 + i);
                ExpectPicture(name, needW, needH);
            }
        if (w[16]) ExpectPicture("E" + Two(s + 1), w[15] - w[13], w[16] - w[14], true);
        if (w[11]) ExpectPicture("G" + Two(s + 1), w[11] - w[9], w[12] - w[10], true);
        for (int k = 2; k <= 4; ++k) EXPECT_TRUE(Exists("Q" + Two(p[size_t(k)]) + ".wav"));
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(Exists("V" + Two(s + 1) + std::to_string(i) + ".wav"), bool(kVoicedLines & (1u << i)))
                << "voice " << i;
    }
    for (uint8_t n : cfg_->SoundNumbers) EXPECT_TRUE(Exists("Q" + Two(n) + ".wav")) << int(n);
}

// A mono PCM WAV of 8 or 16 bits that lasts between 10 ms and 10 s.
void ExpectShortWav(const std::string& name) {
    std::string b = ReadFile(kDir + name);
    ASSERT_GE(b.size(), 44u) << name;
    EXPECT_EQ(b.substr(0, 4), "RIFF") << name;
    EXPECT_EQ(b.substr(8, 8), "WAVEfmt ") << name;
    EXPECT_EQ(Le(b, 20, 2), 1u) << name << " is not PCM";
    EXPECT_EQ(Le(b, 22, 2), 1u) << name << " is not mono";
    uint32_t rate = Le(b, 24, 4), bytesPerSecond = Le(b, 28, 4);
    EXPECT_TRUE(rate == 11025 || rate == 22050) << name;
    ASSERT_EQ(b.substr(36, 4), "data") << name;
    double seconds = double(Le(b, 40, 4)) / bytesPerSecond;
    EXPECT_GT(seconds, 0.01) << name;
    EXPECT_LT(seconds, 10.0) << name;
    EXPECT_LE(size_t(Le(b, 40, 4)) + 44, b.size()) << name;
}

TEST_F(DemoGame, SoundsAndTunesAreWellFormed) {
    for (int n = 1; n <= kEffectFiles; ++n) ExpectShortWav("Q" + Two(n) + ".wav");
    for (int s = 0; s < kStages; ++s)
        for (int i = 0; i < 10; ++i)
            if (kVoicedLines & (1u << i)) ExpectShortWav("V" + Two(s + 1) + std::to_string(i) + ".wav");
    std::vector<std::string> tunes;
    for (const auto& name : cfg_->MusicFiles) {
        if (name.Empty()) continue;
        std::string bytes = ReadFile(kDir + name.Str());
        int64_t ms = MidiLengthMs(bytes);
        EXPECT_GT(ms, 8000) << name.Str();  // long enough not to nag, and well formed
        EXPECT_LT(ms, 60000) << name.Str();
        if (std::find(tunes.begin(), tunes.end(), bytes) == tunes.end()) tunes.push_back(bytes);
    }
    EXPECT_EQ(int(tunes.size()), kTunes) << "every tune is its own";
}

// True where the stage picture covers the background at the start of the stage.
bool OnPicture(const Picture& picture, const Picture* maskFile, int x, int y) {
    if (maskFile) return (maskFile->At(x, y) & 0xFFFFFF) == 0xFFFFFF;
    return picture.At(x, y) != 0;
}

bool InCircle(int x, int y, int cx, int cy, int r) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r; }

TEST_F(DemoGame, EveryCheckPointCanBeUncovered) {
    for (int s = 0; s < kStages; ++s) {
        SCOPED_TRACE("stage " + std::to_string(s + 1));
        const auto& p = cfg_->StageParams[size_t(s)];
        const auto& w = cfg_->StageLayout[size_t(s)];
        std::string base = "D" + Two(p[8]);
        Picture picture, mask;
        bool hasMask = Exists(base + "mask.bmp");
        if (hasMask)
            ASSERT_TRUE(ReadBmp(kDir + base + "mask.bmp", mask));
        else
            ASSERT_TRUE(ReadBmp(kDir + base + ".bmp", picture)) << "a derived mask needs a BMP picture";
        Picture stamp;
        ASSERT_TRUE(ReadBmp(kDir + "M" + Two(p[6]) + ".bmp", stamp));
        for (const Point16& pt : cfg_->CheckPoints[size_t(s)]) {
            SCOPED_TRACE("point " + std::to_string(pt.X) + "," + std::to_string(pt.Y));
            ASSERT_TRUE(pt.X >= 0 && pt.X < 640 && pt.Y >= 0 && pt.Y < 480);
            EXPECT_TRUE(OnPicture(picture, hasMask ? &mask : nullptr, pt.X, pt.Y)) << "not on the stage picture";
            // A press 8 pixels up and left of the point centres the stamp on it; the press is
            // tested at the mouse position plus (9, 7).
            int hx = pt.X + 1, hy = pt.Y - 1;
            EXPECT_FALSE(InCircle(hx, hy, w[0], w[1], w[2])) << "inside the protected circle";
            EXPECT_FALSE(InCircle(hx, hy, w[3] + 60, w[4] - 19, 90)) << "inside the tag area";
            EXPECT_FALSE(InCircle(hx, hy, w[5], w[6], 35)) << "on the refill spot";
        }
        for (int k = 0; k < 3; ++k) EXPECT_EQ(stamp.At(40 * k + 20, 20), 0u) << "stamp " << k << " leaves its centre";
    }
}

// The speech, the tag and the ink pot are drawn over, and erased back to, the plain background:
// the stage picture must leave their places free, and the face must stay clear of the speech.
TEST_F(DemoGame, SpeechCornerAndInkPotAreFreeOfThePicture) {
    for (int s = 0; s < kStages; ++s) {
        SCOPED_TRACE("stage " + std::to_string(s + 1));
        const auto& p = cfg_->StageParams[size_t(s)];
        const auto& w = cfg_->StageLayout[size_t(s)];
        const auto& f = cfg_->FaceTable[size_t(s)];
        std::string base = "D" + Two(p[8]);
        Picture picture, mask;
        bool hasMask = Exists(base + "mask.bmp");
        ASSERT_TRUE(hasMask ? ReadBmp(kDir + base + "mask.bmp", mask) : ReadBmp(kDir + base + ".bmp", picture));
        int covered = 0;
        for (int y = w[4] - 25; y < kTextBottom; ++y)
            for (int x = w[3]; x < kTextRight; ++x) covered += OnPicture(picture, hasMask ? &mask : nullptr, x, y);
        EXPECT_EQ(covered, 0);
        int underPot = 0;  // the ink pot is drawn over the plain background too
        for (int y = w[6] - 17; y < w[6] + 18; ++y)
            for (int x = w[5] - 17; x < w[5] + 18; ++x) underPot += OnPicture(picture, hasMask ? &mask : nullptr, x, y);
        EXPECT_EQ(underPot, 0);
        for (int r : {3, 7, 11}) {
            EXPECT_TRUE(f[size_t(r)] >= kTextRight || f[size_t(r) + 3] <= w[4] - 25 || f[size_t(r) + 1] >= kTextBottom)
                << "face rectangle at word " << r << " meets the speech corner";
        }
    }
}

// A stage that keeps the previous stage's rubbing in the second way shows the background only
// where the old picture was rubbed away; where the new picture is transparent but the old one
// was never rubbed (the face circle can never be), the screen would stay black.
TEST_F(DemoGame, TakenOverRubbingLeavesNoBlackHoles) {
    auto load = [&](int s, Picture& picture, Picture& mask) {
        std::string base = "D" + Two(cfg_->StageParams[size_t(s)][8]);
        bool hasMask = Exists(base + "mask.bmp");
        EXPECT_TRUE(hasMask ? ReadBmp(kDir + base + "mask.bmp", mask) : ReadBmp(kDir + base + ".bmp", picture));
        return hasMask;
    };
    int checked = 0;
    for (int s = 0; s < kStages; ++s) {
        if (cfg_->StageLayout[size_t(s)][7] % 10 != 2) continue;
        for (int prev = 0; prev < kStages; ++prev) {
            if (cfg_->StageParams[size_t(prev)][0] + 1 != s + 2) continue;
            SCOPED_TRACE("stage " + std::to_string(prev + 1) + " into stage " + std::to_string(s + 1));
            Picture oldPic, oldMask, newPic, newMask;
            bool oldHasMask = load(prev, oldPic, oldMask), newHasMask = load(s, newPic, newMask);
            int holes = 0;
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x)
                    holes += OnPicture(oldPic, oldHasMask ? &oldMask : nullptr, x, y) &&
                             !OnPicture(newPic, newHasMask ? &newMask : nullptr, x, y);
            EXPECT_EQ(holes, 0);
            ++checked;
        }
    }
    EXPECT_GT(checked, 0) << "the demo uses this way of taking over";
}

}  // namespace
}  // namespace kiv
