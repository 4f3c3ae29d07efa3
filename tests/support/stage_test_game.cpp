#include "stage_test_game.h"
#include "game/scene_control.h"

#include "data/strings.h"
#include "media/raster.h"
#include "shell/form.h"
#include "sound_midi.h"

namespace kiv::stage_test {

namespace {

bool In(int x, int y, int l, int t, int r, int b) { return x >= l && x < r && y >= t && y < b; }

// The parts sheet: tag with its badge, refill icon, digit cells and the gauge strips.
uint32_t PartsPixel(int x, int y) {
    if (In(x, y, 99, 2, 143, 14)) return kBadgeColour;
    if (In(x, y, 91, 0, 159, 25)) return kTagColour;
    if (In(x, y, 54, 0, 89, 35)) return kIconColour;
    if (y >= 36 && y < 42 && x < 90 && x % 6 < 5) return 0x300000u + 0x10u * static_cast<uint32_t>(x / 6);
    if (y >= 104 && y < 108 && x >= 185 && x < 265) return (y < 106 ? 0x900000u : 0x800000u) | static_cast<uint32_t>(x);
    return 0x404040;
}

uint32_t PartsMaskPixel(int x, int y) { return In(x, y, 91, 0, 159, 25) || In(x, y, 54, 0, 89, 35) ? 0 : 0xFFFFFF; }

std::string Numbers(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += (s.empty() ? "" : " ") + std::to_string(v);
    return s;
}

std::string PointsLine(int stage, int j, int open) {
    std::string s;
    for (int k = 5 * j; k < 5 * j + 5; ++k)
        s +=
            (s.empty() ? "" : " ") + std::to_string(PointX(k, stage == 0 ? open : 0)) + " " + std::to_string(PointY(k));
    return s;
}

}  // namespace

int PointX(int k, int open) { return k < open ? 20 + 8 * k : 260 + 4 * k; }

void WriteStageFolder(const TempDir& dir, const StageFolderOptions& o) {
    KivTextLines text;
    text.lines[0] = o.playerName;
    const std::string face = Numbers({0, kCelLeft, kCelTop, kEyeL, kEyeT, kEyeR, kEyeB, kEye2L, kEyeT, kEye2R, kEyeB,
                                      kMouthL, kMouthT, kMouthR, kMouthB});
    for (int s = 0; s < 10; ++s) {
        const bool second = s == 1;
        text.lines[static_cast<size_t>(s) + 1] = face;
        text.lines[static_cast<size_t>(s) + 12] =
            second ? Numbers({500, 400, 10, kTextX, kTextY, kRefillX, kRefillY, o.carryIntoStage2, 0, 0, 0, 0, 0, 0, 0,
                              0, 0})
                   : Numbers({500, 400, 10, kTextX, kTextY, kRefillX, kRefillY, o.bonusCels * 10, 0, 100, 100,
                              o.bonusRight, 200, 0, 0, 0, 0});
        text.lines[static_cast<size_t>(s) + 24] =
            second ? Numbers({11, o.speechColour, 4, 5, 6, 1, 1, 1, 2, 0, 0, 0, 0})
                   : Numbers({s + 2, o.speechColour, 5, 6, 7, 1, 1, 1, 1, s == 0 ? o.decoration : 0, 0, 0, 0});
    }
    text.lines[35] = Numbers({1, 2, 3, 4, 5, 6, 7, 8, 9});
    for (int s = 0; s < 10; ++s)
        for (int j = 0; j < 4; ++j)
            text.lines[4 * static_cast<size_t>(s) + static_cast<size_t>(j) + 48] = PointsLine(s, j, o.openPoints);
    text.lines[109] = Numbers({0, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 12, 13, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    for (int i = 1; i <= 10; ++i) {
        text.lines[static_cast<size_t>(i) + 110] = o.stage1Texts[static_cast<size_t>(i - 1)];
        text.lines[static_cast<size_t>(i) + 120] = "S2_/";
    }
    WriteMinimalGame(dir, text);

    dir.Write("Ptit.bmp", MakeBmp(640, 480, PartsPixel));
    dir.Write("Ptitm.bmp", MakeBmp(640, 480, PartsMaskPixel));
    dir.Write("M01.bmp", MakeBmp(120, 40, [](int, int) { return 0u; }));
    dir.Write("C01.bmp", MakeBmp(640, 480, [](int, int) { return kBackColour; }));
    dir.Write("D01.bmp", MakeBmp(640, 480, [](int x, int) { return x < kPictureLeft ? 0u : kPictureColour; }));
    dir.Write("D02.bmp", MakeBmp(640, 480, [](int, int y) { return y < 240 ? 0u : kSecondPicture; }));
    dir.Write("D03.bmp", MakeBmp(640, 480, [](int x, int y) {
                  return x >= 100 && x < 150 && y >= 300 && y < 350 ? kDecorColour : 0u;
              }));
    dir.Write("G01.bmp", MakeBmp(200, 100, [](int, int) { return kBonusColour; }));
    for (int set = 1; set <= 2; ++set)
        for (int c = 1; c <= 4; ++c)
            dir.Write("F0" + std::to_string(set) + std::to_string(c) + ".bmp",
                      MakeBmp(64, 56, [set, c](int x, int y) { return CelPixel(set, c, x, y); }));
    for (int n = 0; n <= 9; ++n) {
        for (int stage = 1; stage <= 10; ++stage)
            dir.Write("V" + ZeroPad(2, stage) + std::to_string(n) + ".wav", "RIFF");
        dir.Write("Q0" + std::to_string(n) + ".wav", "RIFF");
    }
    for (const char* tune : {"Kv01.mid", "Kv02.mid", "Kv03.mid", "Kv12.mid", "Kv13.mid"})
        dir.Write(tune, midi::TuneOfMs(60000));
}

StageGame::StageGame(const StageFolderOptions& o) {
    WriteStageFolder(dir, o);
    game = std::make_unique<HeadlessGame>(dir.Path(), "", o.fonts);
    game->platform.GetTrace().Open(dir.File("trace0.jsonl"));
}

void StageGame::Enter(int stage, bool challenge) {
    g().Play.ChallengeMode = challenge;
    g().Shell.SceneNo = static_cast<uint8_t>(stage + 1);
    ResetSceneCounters(g());
    Frames(1);
}

bool StageGame::RunToStep(int step, int max) {
    for (int i = 0; i < max; ++i) {
        if (Step() == step) return true;
        Frames(1);
    }
    return Step() == step;
}

void StageGame::Click(MouseButton b, bool shift, int x, int y) {
    game->form.MouseDown(b, shift, x, y);
    game->form.MouseUp(b, shift, x, y);
}

void StageGame::ToPlay() {
    if (g().Shell.SceneNo < 2 || g().Shell.SceneNo > 11) Enter(1);
    RunToStep(kStepWaitIntroClick);
    Click();
    Frames(1);
}

void StageGame::OpenPoint(int k) {
    const Point16 p = g().Cfg.CheckPoints[static_cast<size_t>(g().Shell.SceneNo - 2)][static_cast<size_t>(k)];
    SetPixel(g().Media.EraseMapBmp, p.X, p.Y, 0xFFFFFF);
}

std::string StageGame::TraceText() {
    // Opening the next file closes (and so flushes) the one written so far.
    ++traceRound;
    game->platform.GetTrace().Open(dir.File("trace" + std::to_string(traceRound) + ".jsonl"));
    std::string all;
    for (int r = 0; r < traceRound; ++r) all += dir.Read("trace" + std::to_string(r) + ".jsonl");
    return all;
}

std::vector<std::string> StageGame::Events(const std::string& ev) {
    std::vector<std::string> out;
    const std::string text = TraceText();
    const std::string key = "\"ev\":\"" + ev + "\"";
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (line.find(key) != std::string::npos) out.push_back(line);
        at = end + 1;
    }
    return out;
}

}  // namespace kiv::stage_test
