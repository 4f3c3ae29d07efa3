#include "scenes/stage/face.h"

#include "game/game_media.h"
#include "scenes/stage/speech.h"
#include "scenes/stage/stage_access.h"

namespace kiv {

namespace {

// Index 0 of an eye row is the cel the sequence starts from (never drawn); the cels follow
// frame by frame until a 0. The start value 9 matches no cel.
constexpr uint8_t kEyeSequences[7][19] = {
    {1, 2, 1, 2, 3, 0},
    {1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 0},
    {2, 1, 2, 3, 0},
    {2, 1, 2, 3, 2, 2, 2, 2, 2, 0},
    {1, 2, 1, 1, 1, 1, 1, 0},
    {9, 1, 1, 1, 1, 1, 1, 0},
    {9, 2, 2, 2, 2, 2, 2, 2, 2, 3, 2, 1, 1, 1, 1, 1, 1, 1, 0},
};

// Index 0 of a mouth row is not used. Row 3 fills all 18 places: its end is index 18.
constexpr uint8_t kMouthSequences[4][18] = {
    {0, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 0},
    {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0},
    {0, 1, 1, 1, 1, 1, 1, 3, 0},
    {0, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 2, 2, 2},
};

// A place past the end of a row (or a row that does not exist) reads as the end of the sequence.
template <size_t Rows, size_t Cols>
uint8_t SequenceCel(const uint8_t (&table)[Rows][Cols], int row, int index) {
    if (row < 0 || row >= int(Rows) || index < 0 || index >= int(Cols)) return 0;
    return table[row][index];
}

// Odds of a new sequence per frame while the last one has ended, by mood (0: never).
constexpr uint8_t kEyeChance[7] = {0, 10, 12, 20, 30, 14, 14};
constexpr uint8_t kMouthChance[7] = {0, 20, 10, 20, 14, 14, 14};

bool Chance(Game& g, int mood, const uint8_t (&odds)[7]) {
    if (mood < 1 || mood > 6) return false;
    return Random(g.Rand, odds[mood]) == 0;
}

// The eye row of a new sequence; mood 4 may also start its reaction line.
int NewEyeRow(Game& g, int mood) {
    switch (mood) {
        case 1: return Random(g.Rand, 3) == 0 ? 1 : 0;
        case 2: return 3;
        case 3: return 5;
        case 4: StartReactionLine(g, 5, kToggleBody); return 6;
        default: return 5;
    }
}

// The mouth row of a new sequence; moods 5 and 6 also start their reaction lines.
int NewMouthRow(Game& g, int mood) {
    switch (mood) {
        case 1: return Random(g.Rand, 3) == 0 ? 1 : 0;
        case 2: return Random(g.Rand, 3) == 0 ? 0 : 1;
        case 5: StartReactionLine(g, 9, kToggleHand); return 3;
        case 6: StartReactionLine(g, 7, kToggleFeet); return 3;
        default: return 1;
    }
}

void RestartSequences(Game& g, uint8_t mood, uint8_t eyeRow, uint8_t mouthRow) {
    Sc(g, kMood) = mood;
    Sc(g, kEyeIndex) = 0;
    Sc(g, kEyeCel) = 1;
    Sc(g, kEyeRow) = eyeRow;
    Sc(g, kMouthIndex) = 0;
    Sc(g, kMouthCel) = 1;
    Sc(g, kMouthRow) = mouthRow;
    // The first cel is already on screen: the sequence goes on from the second.
    if (SequenceCel(kEyeSequences, eyeRow, 0) == Sc(g, kLastEyeCel)) Sc(g, kEyeIndex) = 1;
}

void StepEyes(Game& g) {
    const int mood = Sc(g, kMood);
    if (Sc(g, kEyeCel) != 0) {
        ++Sc(g, kEyeIndex);
    } else if (Chance(g, mood, kEyeChance)) {
        Sc(g, kEyeRow) = static_cast<int16_t>(NewEyeRow(g, mood));
        Sc(g, kEyeIndex) = 1;
    }
}

void StepMouth(Game& g) {
    const int mood = Sc(g, kMood);
    if (Sc(g, kMouthCel) != 0) {
        ++Sc(g, kMouthIndex);
    } else if (Chance(g, mood, kMouthChance)) {
        Sc(g, kMouthRow) = static_cast<int16_t>(NewMouthRow(g, mood));
        Sc(g, kMouthIndex) = 1;
    }
}

}  // namespace

void AnimateFace(Game& g, uint8_t mood, uint8_t eyeRow, uint8_t mouthRow) {
    if (mood != Sc(g, kMood)) RestartSequences(g, mood, eyeRow, mouthRow);
    StepEyes(g);
    StepMouth(g);
    Sc(g, kEyeCel) = SequenceCel(kEyeSequences, Sc(g, kEyeRow), Sc(g, kEyeIndex));
    Sc(g, kMouthCel) = SequenceCel(kMouthSequences, Sc(g, kMouthRow), Sc(g, kMouthIndex));
    if (Sc(g, kEyeCel) != 0) {
        DrawFacePart(g, 3, kEyeCel);  // both eyes from the same cel
        DrawFacePart(g, 7, kEyeCel);
        Sc(g, kLastEyeCel) = Sc(g, kEyeCel);
    }
    if (Sc(g, kMouthCel) != 0) DrawFacePart(g, 11, kMouthCel);
}

void DrawFacePart(Game& g, int a, StageCounter k) {
    const auto& f = FaceTableOf(g);
    const int cel = Sc(g, k);
    if (a < 3 || a > 11 || cel < 1 || cel > 4) return;
    const auto w = [&f, a](int i) { return int(f[static_cast<size_t>(a) + static_cast<size_t>(i)]); };
    // The cels are placed with their origin at (f1, f2) of the screen.
    g.Media.SrcRect = MakeRect(w(0) - f[1], w(1) - f[2], w(2) - f[1], w(3) - f[2]);
    g.Media.DstRect = MakeRect(w(0), w(1), w(2), w(3));
    Surface& back = g.Media.BackBmp;
    back.CopyMode = Rop::SRCCOPY;
    CopyToSurface(g, back, g.Media.CelBmps[static_cast<size_t>(cel - 1)]);
    PresentRect(g, back);
}

void SetMoodTouched(Game& g) {
    g.Play.FaceMood = 3;
    g.Play.FaceEyeRow = 4;
    g.Play.FaceMouthRow = 1;
}

void EscalateMood(Game& g) {
    if (g.Play.FaceMood < 3) SetMoodTouched(g);
}

}  // namespace kiv
