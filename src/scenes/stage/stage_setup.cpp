// The set-up of a stage (step 0) and its leaving (step 99).
#include "scenes/stage/stage.h"

#include <string>

#include "data/strings.h"
#include "game/game_media.h"
#include "game/records_settings.h"
#include "media/raster.h"
#include "scenes/stage/erasing.h"
#include "scenes/stage/stage_access.h"

namespace kiv {

namespace {

const Rect kRefillIconSprite{54, 0, 89, 35};  // 35 x 35 on the parts sheet
constexpr int kCarryKeepsPicture = 1;         // the previous picture's rest stays on top
constexpr int kCarryInvertsMap = 2;           // the map becomes not (old map xor new mask)
constexpr uint8_t kAllPoints = 20;

std::string PictureName(const char* prefix, int number) { return prefix + ZeroPad(2, number); }

// SrcRect and DstRect := FullRect, a copy of src into dst with rop, dst back at SRCCOPY.
void CopyWhole(Game& g, Surface& dst, const Surface& src, Rop rop) {
    g.Media.SrcRect = g.Media.FullRect;
    g.Media.DstRect = g.Media.FullRect;
    dst.CopyMode = rop;
    CopyToSurface(g, dst, src);
    dst.CopyMode = Rop::SRCCOPY;
}

// Stamp, cels, background with its decorations and insert, then the picture and its mask.
void LoadStagePictures(Game& g) {
    MediaState& m = g.Media;
    const auto& p = StageParamsOf(g);
    LoadImage(Pictures(g), PictureName("M", p[6]), m.StampBmp);
    LoadCels(Pictures(g), p[5]);
    m.SrcRect = m.FullRect;
    m.DstRect = m.FullRect;
    LoadImageToPalette(Pictures(g), PictureName("C", p[7]), m.StageBackBmp);
    for (int b = 9; b <= 12; ++b) {
        if (p[static_cast<size_t>(b)] == 0) continue;
        LoadImageToPalette(Pictures(g), PictureName("D", p[static_cast<size_t>(b)]), m.StagePicBmp);
        BuildMask(Pictures(g), m.MaskBmp, m.StagePicBmp, p[static_cast<size_t>(b)]);
        m.SrcRect = m.FullRect;
        m.DstRect = m.FullRect;
        MaskedDraw(g, m.StageBackBmp, m.MaskBmp, m.StagePicBmp);
    }
    if (StageLayoutOf(g)[kInsertBottom] != 0) PlaceStageImage(g, "E", 13, m.StageBackBmp);
    LoadImageToPalette(Pictures(g), PictureName("D", p[8]), m.StagePicBmp);
    BuildMask(Pictures(g), m.MaskBmp, m.StagePicBmp, p[8]);
}

// The erase map of the new picture, possibly inheriting what was erased of the last stage.
void BuildEraseMap(Game& g) {
    MediaState& m = g.Media;
    switch (g.Play.CarryOverMode) {
        case kCarryKeepsPicture:
            CopyWhole(g, m.StagePicBmp, m.EraseMapBmp, Rop::SRCAND);
            CopyWhole(g, m.StagePicBmp, m.WorkBmp, Rop::SRCPAINT);  // the last picture, kept at its end
            CopyWhole(g, m.EraseMapBmp, m.MaskBmp, Rop::SRCAND);
            break;
        case kCarryInvertsMap:
            CopyWhole(g, m.StagePicBmp, m.EraseMapBmp, Rop::SRCAND);
            CopyWhole(g, m.EraseMapBmp, m.MaskBmp, Rop::SRCINVERT);
            CopyWhole(g, m.EraseMapBmp, m.EraseMapBmp, Rop::NOTSRCCOPY);
            break;
        default: CopyWhole(g, m.EraseMapBmp, m.MaskBmp, Rop::SRCCOPY); break;
    }
}

// The tag panel: its geometry, the gauge of the points already open, the timer, the tag itself.
void SetUpTag(Game& g) {
    PlayState& p = g.Play;
    const auto& w = StageLayoutOf(g);
    const int x = w[kSpeechLeft], y = w[kSpeechTop];
    p.TagCloseX = static_cast<int16_t>(x + 60);
    p.TagCloseY = static_cast<int16_t>(y - 19);
    p.PointsUncovered = 0;
    CountCheckPoints(g);
    SetGauge(g, p.PointsUncovered);
    p.BadgeSrcRect = MakeRect(99, 2, 143, 14);
    p.BadgeDstRect = MakeRect(x + 8, y - 23, x + 52, y - 11);
    p.StageTime = p.ChallengeMode ? kStageTimeChallenge : kStageTimeNormal;
    DrawTimerDigits(g.Glyph, g.Media.PartsBmp, p.StageTime);
    DrawTag(g);
}

// The refill icon centred on the refill spot, over the plain background; StrokeRect keeps its
// place for the blinking of the introduction.
void DrawRefillIcon(Game& g) {
    const auto& w = StageLayoutOf(g);
    const int x = w[kRefillX], y = w[kRefillY];
    g.Media.SrcRect = kRefillIconSprite;
    g.Media.DstRect = MakeRect(x - 17, y - 17, x + 18, y + 18);
    ComposeRect(g, g.Media.PartsMaskBmp, g.Media.PartsBmp);
    g.Play.StrokeRect = g.Media.DstRect;
}

// The colour of the speech text: 0 black, 1 white, 2 grey; other values keep the colour.
void SetSpeechColour(Game& g, uint8_t code) {
    FontState& font = g.Media.BackBmp.Font;
    if (code == 0)
        font.Color = MakeColorRef(0, 0, 0);
    else if (code == 1)
        font.Color = MakeColorRef(0xFF, 0xFF, 0xFF);
    else if (code == 2)
        font.Color = MakeColorRef(0x80, 0x80, 0x80);
}

// The menu offers the stages up to the last one entered, at most the eighth. A stage newly
// opened is written to Kiv.ini at once, so it stays open whatever ends the program.
void OpenStagesUpToThis(Game& g) {
    const int scene = g.Shell.SceneNo;
    int8_t& open = g.Records.StagesOpen;
    const int8_t before = open;
    if (scene < 10 && open < scene - 1) open = static_cast<int8_t>(scene - 1);
    if (open > 8) open = 8;
    if (open != before) SaveRecords(g.Records, RecordsSettingsOf(g), g.P);
}

}  // namespace

void PlaceStageImage(Game& g, const std::string& prefix, uint8_t index, Surface& target) {
    const int scene = g.Shell.SceneNo;
    // Stage records belong to scenes 2 and up; outside the table the rectangle is empty.
    const int record = scene - kSceneFirstStage;
    int v[4] = {0, 0, 0, 0};
    const auto& layout = g.Cfg.StageLayout;
    if (record >= 0 && record < int(layout.size()) && index + 4 <= int(layout[0].size()))
        for (int k = 0; k < 4; ++k) v[k] = layout[static_cast<size_t>(record)][size_t{index} + static_cast<size_t>(k)];
    PlaceImage(Pictures(g), prefix + ZeroPad(2, scene - 1), MakeRect(v[0], v[1], v[2], v[3]), target);
}

void SetUpStage(Game& g) {
    PlayState& p = g.Play;
    const auto& params = StageParamsOf(g);
    const int scene = g.Shell.SceneNo;
    CreateStageSurfaces(g.Media);
    PlayMusic(Sounds(g), p.ChallengeMode ? scene + 10 : scene);
    SetFrameInterval(g, kPlayFrameInterval);
    p.StageOutcome = 0;
    LoadStagePictures(g);
    BuildEraseMap(g);
    g.Media.SrcRect = g.Media.FullRect;
    g.Media.DstRect = g.Media.FullRect;
    ComposeRect(g, g.Media.EraseMapBmp, g.Media.StagePicBmp);
    SetUpTag(g);
    DrawRefillIcon(g);
    SetSpeechColour(g, params[1]);
    for (size_t k = 0; k < 3; ++k) g.Cfg.SoundNumbers[k] = params[k + 2];
    LoadStageVoices(Sounds(g), StageNumber(g));
    PresentAll(g);
    SetGameCursor(g, kCursorArrow);
    if (!p.OpenNoStage) OpenStagesUpToThis(g);
    p.OpenNoStage = false;
    SetSceneStep(g, kStepIntroStart);
}

void LeaveStage(Game& g) {
    PlayState& p = g.Play;
    const int stage = StageIndex(g);
    ClearSurface(g, g.Media.BackBmp);
    SetGameCursor(g, kCursorNone);
    uint8_t next;
    if (p.PointsUncovered < kAllPoints) {
        if (p.StageOutcome != 2) p.StageOutcome = 1;
        next = kSceneEnding;
    } else {
        g.Cfg.StageLayout[static_cast<size_t>(stage)][kClearTime] = static_cast<int16_t>(p.StageTime);
        next = static_cast<uint8_t>(g.Cfg.StageParams[static_cast<size_t>(stage)][0] + 1);
    }
    p.CarryOverMode = 0;
    if (next >= kSceneFirstStage && next < kSceneEnding) {
        const int mode = g.Cfg.StageLayout[static_cast<size_t>(next - 2)][kCelsAndCarry] % 10;
        if (mode == kCarryKeepsPicture) {
            p.CarryOverMode = kCarryKeepsPicture;
            CopyWhole(g, g.Media.WorkBmp, g.Media.StagePicBmp, Rop::SRCCOPY);
        } else if (mode == kCarryInvertsMap) {
            p.CarryOverMode = kCarryInvertsMap;
        }
    }
    g.P.TraceEvent("stage", {{"stage", Trace::Num(stage + 1)},
                             {"points", Trace::Num(p.PointsUncovered)},
                             {"outcome", Trace::Num(p.StageOutcome)},
                             {"time", Trace::Num(p.StageTime)},
                             {"next", Trace::Num(next)}});
    ChangeScene(g, next);
    SetFrameInterval(g, kDefaultFrameInterval);
}

}  // namespace kiv
