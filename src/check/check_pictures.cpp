// Every picture the game loads: present, readable, and of a size that holds what the scenes
// take from it.
#include <algorithm>
#include <string>
#include <vector>

#include "check/check_context.h"
#include "game/game_media.h"

namespace kiv::check {

namespace {

constexpr int kScreenW = 640, kScreenH = 480;

// A rectangle that a scene copies out of a sheet: left, top, right, bottom.
struct SheetPiece {
    const char* What;
    int Left, Top, Right, Bottom;
};

// What the opening, the menu, stage play and the glyph text take from the parts sheet.
constexpr SheetPiece kPartsPieces[] = {
    {"the menu markers", 0, 0, 52, 25},       {"the ink pot", 54, 0, 89, 35},
    {"the tag panel", 91, 0, 159, 25},        {"the opening logo", 167, 0, 265, 90},
    {"the digit glyphs", 0, 35, 89, 43},      {"the letter glyphs", 0, 42, 167, 50},
    {"the title panel", 0, 49, 152, 78},      {"the challenge button", 114, 78, 152, 107},
    {"the black patch", 0, 90, 5, 95},        {"the help and end buttons", 0, 94, 110, 108},
    {"the gauge strips", 185, 104, 265, 108},
};
// The shapes the menu and stage play take from the mask sheet.
constexpr SheetPiece kPartsMaskPieces[] = {
    {"the menu markers", 0, 0, 52, 25}, {"the ink pot", 54, 0, 89, 35}, {"the tag panel", 91, 0, 159, 25}};
// The eight slices of the menu's emblem.
constexpr SheetPiece kEmblemPieces[] = {{"the eight emblem slices", 0, 0, 594, 78}};

std::string Size(const PictureProbe& p) { return std::to_string(p.Width) + "x" + std::to_string(p.Height); }

std::string RectText(int l, int t, int r, int b) {
    std::string s(1, '(');  // not "(" + ...: GCC 12 warns falsely on a literal + string temporary
    s += std::to_string(l) + ", " + std::to_string(t) + ", " + std::to_string(r) + ", " + std::to_string(b);
    return s + ")";
}

// The probe when the picture can be read; otherwise its absence or damage is reported once,
// naming the first thing that needs it, and null.
const PictureProbe* Require(CheckContext& c, const std::string& base, const std::string& role, int line) {
    const PictureProbe& p = c.Probe(base);
    if (p.Readable) return &p;
    if (!c.Once("picture:" + base)) return nullptr;
    if (!p.Found)
        c.Error(p.File, 0, "missing, and no " + base + ".jpg either: " + At(role, line) + " needs it");
    else
        c.Error(p.File, 0, "cannot be read (" + p.Why + "): " + At(role, line) + " needs it");
    return nullptr;
}

// Stage pictures, backgrounds, masks and the ending picture cover the screen exactly.
void ExpectScreenSize(CheckContext& c, const PictureProbe* p, const char* kind) {
    if (!p || (p->Width == kScreenW && p->Height == kScreenH)) return;
    if (c.Once(std::string("screen:") + p->File)) c.Error(p->File, 0, Size(*p) + ", " + kind + " must be 640x480");
}

// A picture that a rectangle of (0, 0, w, h) is taken from.
void ExpectAtLeast(CheckContext& c, const PictureProbe* p, int w, int h, const std::string& what) {
    if (!p || (p->Width >= w && p->Height >= h)) return;
    if (c.Once("least:" + p->File + ":" + std::to_string(w) + "x" + std::to_string(h)))
        c.Error(p->File, 0, Size(*p) + ", " + what + " needs at least " + std::to_string(w) + "x" + std::to_string(h));
}

template <size_t N>
void CheckSheet(CheckContext& c, const char* base, const char* role, const SheetPiece (&pieces)[N]) {
    const PictureProbe* p = Require(c, base, role, 0);
    if (!p) return;
    std::string missing;
    int needW = 0, needH = 0;
    for (const SheetPiece& piece : pieces) {
        needW = std::max(needW, piece.Right);
        needH = std::max(needH, piece.Bottom);
        if (piece.Right <= p->Width && piece.Bottom <= p->Height) continue;
        missing += (missing.empty() ? "" : ", ") + std::string(piece.What) + " " +
                   RectText(piece.Left, piece.Top, piece.Right, piece.Bottom);
    }
    if (!missing.empty())
        c.Error(p->File, 0,
                Size(*p) + " does not hold " + missing + ": " + role + " must be at least " + std::to_string(needW) +
                    "x" + std::to_string(needH));
}

void CheckStartupSheets(CheckContext& c) {
    CheckSheet(c, "Ptit", "the parts sheet", kPartsPieces);
    CheckSheet(c, "Ptitm", "the mask of the parts sheet", kPartsMaskPieces);
    CheckSheet(c, "Pchzm", "the mask of the emblem sheets", kEmblemPieces);
    CheckSheet(c, "Pchz", "the emblem sheet of open stages", kEmblemPieces);
    CheckSheet(c, "Pchzd", "the emblem sheet of closed stages", kEmblemPieces);
}

// A stage picture or decoration "D" + NN with its mask file, if it has one.
void CheckLayerPicture(CheckContext& c, uint8_t number, const std::string& role, int line) {
    ExpectScreenSize(c, Require(c, Numbered("D", 2, number), role, line), "stage pictures");
    const std::string maskFile = MaskFileName(c.Dir, number);
    if (maskFile.empty()) return;
    ExpectScreenSize(c, Require(c, maskFile.substr(0, maskFile.size() - 4), "the mask of " + role, line), "masks");
}

// The eyes and the mouth are copied out of the cels: each rectangle, moved by the cel offset,
// must lie inside every cel that can show in it (eyes use cels 1 to 3, the mouth all four).
void CheckCels(CheckContext& c, size_t s, int set, const std::string& role, int line) {
    const auto& f = c.Cfg.FaceTable[s];
    const bool faceKnown = !c.Tainted("FaceTable", int(s));
    struct Part {
        const char* What;
        int Word;
        int Cels;
    };
    constexpr Part kParts[] = {{"the first eye", 3, 3}, {"the second eye", 7, 3}, {"the mouth", 11, 4}};
    for (int i = 1; i <= 4; ++i) {
        const PictureProbe* p = Require(c, Numbered("F", 3, set * 10 + i), role, line);
        if (!p || !faceKnown) continue;
        std::string notHeld;
        for (const Part& part : kParts) {
            const int l = f[size_t(part.Word)] - f[1], t = f[size_t(part.Word) + 1] - f[2];
            const int r = f[size_t(part.Word) + 2] - f[1], b = f[size_t(part.Word) + 3] - f[2];
            if (r <= l || b <= t || i > part.Cels) continue;  // an empty rectangle shows nothing
            if (l < 0 || t < 0) {
                if (c.Once("celoffset:" + std::to_string(s) + part.What))
                    c.Error("Kiv.txt", c.Notes.FaceTableLine[s],
                            "FaceTable of " + StageName(int(s)) + ": " + part.What +
                                " lies left of or above the cels: " + RectText(l, t, r, b) + " in cel coordinates");
            } else if (r > p->Width || b > p->Height) {
                notHeld += (notHeld.empty() ? "" : ", ") + std::string(part.What) + " " + RectText(l, t, r, b);
            }
        }
        if (!notHeld.empty() && c.Once("cel:" + p->File + notHeld))
            c.Error(p->File, 0,
                    Size(*p) + " does not hold " + notHeld + " that " +
                        At(StageName(int(s)) + " takes from its cels (FaceTable)", c.Notes.FaceTableLine[s]));
    }
}

// An insert or bonus picture, taken from (0, 0) in the size of its rectangle.
void CheckPlacedPicture(CheckContext& c, size_t s, const char* prefix, int word, const char* what) {
    const auto& w = c.Cfg.StageLayout[s];
    const int l = w[size_t(word)], t = w[size_t(word) + 1], r = w[size_t(word) + 2], b = w[size_t(word) + 3];
    const int line = c.Notes.StageLayoutLine[s];
    const std::string role = std::string(what) + " of " + StageName(int(s));
    if (r <= l || b <= t) {
        c.Error("Kiv.txt", line,
                "StageLayout of " + StageName(int(s)) + ": the rectangle of " + what + " " + RectText(l, t, r, b) +
                    " is empty or upside down");
        return;
    }
    ExpectAtLeast(c, Require(c, Numbered(prefix, 2, int(s) + 1), role, line), r - l, b - t,
                  role + " in " + RectText(l, t, r, b));
}

void CheckStage(CheckContext& c, size_t s) {
    const auto& p = c.Cfg.StageParams[s];
    const auto& w = c.Cfg.StageLayout[s];
    const int line = c.Notes.StageParamsLine[s];
    const std::string stage = StageName(int(s));
    if (!c.Tainted("StageLayout", int(s))) {
        if (w[16] != 0) CheckPlacedPicture(c, s, "E", 13, "the insert picture");
        if (w[11] != 0) {
            CheckPlacedPicture(c, s, "G", 9, "the bonus picture");
            if (w[7] / 10 != 0)
                CheckCels(c, s, w[7] / 10, "the bonus picture's cels of " + stage, c.Notes.StageLayoutLine[s]);
        }
    }
    if (c.Tainted("StageParams", int(s))) return;
    ExpectAtLeast(c, Require(c, Numbered("M", 2, p[6]), "the stamp sheet of " + stage, line), 120, 40,
                  "a stamp sheet of three 40x40 stamps");
    CheckCels(c, s, p[5], "the cels of " + stage, line);
    ExpectScreenSize(c, Require(c, Numbered("C", 2, p[7]), "the background of " + stage, line), "backgrounds");
    for (int k = 9; k <= 12; ++k)
        if (p[size_t(k)] != 0)
            CheckLayerPicture(c, p[size_t(k)], "decoration " + std::to_string(k - 8) + " of " + stage, line);
    CheckLayerPicture(c, p[8], "the stage picture of " + stage, line);
}

void CheckEnding(CheckContext& c) {
    const auto& e = c.Cfg.StageLayout[10];
    const int line = c.Notes.StageLayoutLine[10];
    ExpectScreenSize(c, Require(c, "End1", "the ending", line), "the ending picture");
    const bool known = !c.Tainted("StageLayout", 10);
    const PictureProbe* wink = Require(c, "End2", "the ending", line);
    if (known && e[0] > 0 && e[1] > 0) ExpectAtLeast(c, wink, e[0], e[1], "the ending's first inset");
    const PictureProbe* twinkle = Require(c, "End3", "the ending", line);
    if (known && e[6] > 0 && e[7] > 0) ExpectAtLeast(c, twinkle, e[6], e[7], "the ending's second inset");
}

}  // namespace

void CheckPictures(CheckContext& c) {
    CheckStartupSheets(c);
    if (!c.ConfigRead) return;
    for (size_t s = 0; s < size_t(kStages); ++s)
        if (c.Reachable[s]) CheckStage(c, s);
    CheckEnding(c);
}

}  // namespace kiv::check
