#include "scenes/results/results.h"

#include <string>

#include "data/strings.h"
#include "game/game.h"
#include "game/game_media.h"
#include "game/records_settings.h"
#include "game/scene_control.h"
#include "media/raster.h"
#include "scenes/rank_rows.h"
#include "scenes/stage/erasing.h"
#include "scenes/typewriter.h"

namespace kiv {

using namespace results;

namespace {

constexpr uint8_t kLinesInterval = 30;  // ms a frame while the results are written
constexpr int kTitleMusic = 1;
constexpr int kLineSound = 3;
constexpr int kAddSound = 7;
constexpr int kEraseSound = 8;
constexpr int kCountedStages = 8;  // the kept times of stages 1..8 make the total
constexpr size_t kKeptTimeField = 8;

// The stage lines stand at x 270, stage n at y 14n + 152; the total 28 below the last.
constexpr int kLinesX = 270;
constexpr int kTotalBelowLastLine = 28;
// Ranking rows: row k at (9, 12k + 51).
constexpr int kRowX = 9;
int RowY(int rank) { return 12 * rank + 51; }

// The alphabet: letter j (0..26) at x 167 (even j) or 193 (odd j), y 14j + 52, doubled.
constexpr int kAlphabetLetters = 27;
constexpr int kAlphabetLeftX = 167;
constexpr int kAlphabetRightX = 193;
constexpr ColorRef kWhite = 0xFFFFFF;

void Start(Game& g) {
    SetGauge(g, 6);
    DrawTimerDigits(g.Glyph, g.Media.PartsBmp, 0);
    PlayMusic(Sounds(g), kTitleMusic);
    SetFrameInterval(g, kDefaultFrameInterval);
    // Only a challenge run that cleared its last stage is ranked.
    const bool ranked = g.Play.StageOutcome == 0 && g.Play.ChallengeMode;
    SetSceneStep(g, ranked ? kStepSetup : kStepLeave);
}

// Each letter twice its size inside a white circle, in two staggered columns.
void DrawAlphabet(Game& g) {
    Surface& back = g.Media.BackBmp;
    GlyphTextState& t = g.Glyph;
    SetBrushStyle(back, BrushStyle::Clear);
    back.PenColor = kWhite;
    for (int j = 0; j < kAlphabetLetters; ++j) {
        SetTextPos(g.Glyph, j % 2 ? kAlphabetRightX : kAlphabetLeftX, 14 * j + 52);
        // The six inner rows of the letter's cell.
        g.Media.SrcRect = MakeRect(6 * j, 43, 6 * j + 5, 49);
        g.Media.DstRect = MakeRect(t.TextX, t.TextY, t.TextX + 10, t.TextY + 12);
        CopyToSurface(g, back, g.Media.PartsBmp);
        Ellipse(back, t.TextX - 6, t.TextY - 5, t.TextX + 16, t.TextY + 17);
    }
    SetBrushStyle(back, BrushStyle::Solid);
    SetBrushColor(back, 0);
    back.PenColor = 0;
}

// The total of the kept times goes into the ranking (placeholder name); every other row, the
// alphabet, and all of it shown.
void Setup(Game& g) {
    int16_t& total = Sc(g, kTotal);
    for (int s = 0; s < kCountedStages; ++s)
        total = static_cast<int16_t>(total + g.Cfg.StageLayout[static_cast<size_t>(s)][kKeptTimeField]);
    const int rank = InsertResult(g.Records, ResultCodeInputsOf(g), total);
    Sc(g, kRank) = static_cast<int16_t>(rank);
    for (int k = 1; k <= 30; ++k)
        if (k != rank) DrawRankRow(g, k, kRowX, RowY(k));
    DrawAlphabet(g);
    PresentAll(g);
    SetFrameInterval(g, kLinesInterval);
}

// "stage 0n clear time ddd:dd", one line a frame.
void StageLine(Game& g, int n) {
    const int16_t kept = g.Cfg.StageLayout[static_cast<size_t>(n - 1)][kKeptTimeField];
    g.Glyph.MessageText = "stage 0" + std::to_string(n) + " clear time " + FormatTime(kept);
    SetTextPos(g.Glyph, kLinesX, 14 * n + 152);
    DrawText(Glyphs(g), g.Glyph.MessageText.View());
    PresentTextRun(Glyphs(g));
    PlaySoundEffect(Sounds(g), kLineSound);
}

// The total is typed below the stage lines; the run start stays on the line of stage 8.
void TotalLine(Game& g) {
    GlyphTextState& t = g.Glyph;
    t.MessageText = "          all total " + FormatTime(Sc(g, kTotal));
    t.TextX = t.TextStartX;
    t.TextY = static_cast<int16_t>(t.TextStartY + kTotalBelowLastLine);
    SetGameCursor(g, kCursorArrow);
}

// The new row is typed into the gap left at its rank; not ranked, a press leads on.
void RankRow(Game& g) {
    const int rank = Sc(g, kRank);
    if (rank == 0) {
        SetSceneStep(g, kStepWaitNotRanked);
        return;
    }
    g.Glyph.MessageText =
        ZeroPad(2, rank) + RankSuffixLetter(static_cast<uint8_t>(rank)) + " " + FormatTime(Sc(g, kTotal)) + " ";
    SetTextPos(g.Glyph, kRowX, RowY(rank));
    SetSceneStep(g, kStepTypeRankRow);
}

// The cursor blinks, two frames on and two off, until a press moves on.
void BlinkUntilPress(Game& g) {
    BlinkCursor(g);
    if (Sc(g, kSubFrame) > 3) Sc(g, kSubFrame) = 0;
}

// The named entry replaces the placeholder, and the records are written at once so that a
// name entered is not lost if the program does not end through its window.
void StoreName(Game& g) {
    NameResult(g.Records, ResultCodeInputsOf(g), Sc(g, kRank), Sc(g, kTotal), g.Closing.EnteredName.Str());
    Sc(g, kSubFrame) = 0;
    SaveRecords(g.Records, RecordsSettingsOf(g), g.P);
}

void Leave(Game& g) {
    SetGameCursor(g, kCursorArrow);
    ChangeScene(g, kSceneOpening);
}

// A press during name entry: a left press adds a letter (none on the seventh, which stores the
// entry), another button removes the last one. The name is redrawn with two blanks after it,
// which wipe a removed letter and the old cursor.
void NameEntryPress(Game& g, MouseButton button, int x, int y) {
    GlyphTextState& t = g.Glyph;
    ShortString<6>& name = g.Closing.EnteredName;
    int16_t& step = Sc(g, kStep);
    SetTextPos(t, t.TextStartX, t.TextY);
    if (button != MouseButton::Left) {
        if (step > kStepNameEntry) {
            name = name.Copy(1, step - kStepNameEntry - 1);
            --step;
        }
        PlaySoundEffect(Sounds(g), kEraseSound);
    } else {
        if (step != kStepNameFull) name = name.Str() + LetterUnderPointer(x, y);
        ++step;
        PlaySoundEffect(Sounds(g), kAddSound);
    }
    DrawText(Glyphs(g), name.Str() + "  ");
    PresentTextRun(Glyphs(g));
    t.TextX = static_cast<int16_t>(t.TextX - 16);
}

}  // namespace

void ResultsScene(Game& g) {
    const int16_t step = SceneStep(g);
    if (step >= kStepFirstStageLine && step <= kStepLastStageLine) {
        StageLine(g, step - kStepSetup);
        SetSceneStep(g, static_cast<int16_t>(step + 1));
        return;
    }
    if (step >= kStepNameEntry && step <= kStepNameFull) {
        BlinkUntilPress(g);
        return;
    }
    switch (step) {
        case kStepStart: Start(g); break;
        case kStepSetup:
            Setup(g);
            SetSceneStep(g, kStepFirstStageLine);
            break;
        case kStepTotalLine:
            TotalLine(g);
            SetSceneStep(g, kStepTypeTotal);
            break;
        case kStepTypeTotal:
            if (TypeMessageStep(g)) SetSceneStep(g, kStepRankRow);
            break;
        case kStepTypeRankRow:
            if (TypeMessageStep(g)) SetSceneStep(g, kStepNameStart);
            break;
        case kStepRankRow: RankRow(g); break;
        case kStepNameStart:
            g.Closing.EnteredName = "";
            g.Glyph.TextStartX = g.Glyph.TextX;  // the name follows the typed row
            SetSceneStep(g, kStepNameEntry);
            break;
        case kStepStoreName:
            StoreName(g);
            SetSceneStep(g, kStepClear);
            break;
        case kStepWaitNotRanked: BlinkUntilPress(g); break;
        case kStepClear:
            ClearSurface(g, g.Media.BackBmp);
            SetFrameInterval(g, kDefaultFrameInterval);
            SetSceneStep(g, kStepLeave);
            break;
        case kStepLeave: Leave(g); break;
        default: break;
    }
}

void ResultsClick(Game& g, MouseButton button, bool, int x, int y) {
    const int16_t step = SceneStep(g);
    if (step >= kStepNameEntry && step <= kStepNameFull) {
        NameEntryPress(g, button, x, y);
    } else if (step == kStepWaitNotRanked) {
        SetSceneStep(g, kStepClear);
        PlaySoundEffect(Sounds(g), kAddSound);
    }
}

char LetterUnderPointer(int x, int y) {
    // Division truncates toward zero, so a little above the first row still counts as it.
    int d = x >= 177 ? 2 * ((y - 50) / 28) + 2 : 2 * ((y - 36) / 28) + 1;
    if (d < 1) d = 1;
    if (d > 27) d = 27;
    return kLetterGlyphs[static_cast<size_t>(d - 1)];
}

}  // namespace kiv
