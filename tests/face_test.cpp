#include "scenes/stage/face.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "stage_test_game.h"

namespace kiv {
namespace {

using namespace stage_test;

uint32_t EyeCel(int set, int c, int x, int y) { return CelPixel(set, c, x - kCelLeft, y - kCelTop); }

// A stage set up, its face not yet animated (mood 0).
struct FaceGame : StageGame {
    FaceGame() { Enter(1); }
    uint32_t LeftEye() { return Window(kEyeL, kEyeT); }
    uint32_t Mouth() { return Window(kMouthL, kMouthT); }
};

TEST(Face, CelsAreDrawnThroughTheCelOffsetAndAMoodSetToItselfGoesOn) {
    FaceGame t;
    Game& g = t.g();
    AnimateFace(g, 1, 2, 2);  // eye row 2 from its first cel, mouth row 2
    EXPECT_EQ(t.LeftEye(), EyeCel(1, 1, kEyeL, kEyeT));
    EXPECT_EQ(t.Window(kEyeR - 1, kEyeB - 1), EyeCel(1, 1, kEyeR - 1, kEyeB - 1));
    EXPECT_EQ(t.Window(kEye2L, kEyeT), EyeCel(1, 1, kEye2L, kEyeT));
    EXPECT_EQ(t.Window(kEyeR, kEyeT), kPictureColour);  // just right of the first eye
    EXPECT_EQ(t.Window(kEyeL, kEyeB), kPictureColour);
    EXPECT_EQ(t.Mouth(), EyeCel(1, 1, kMouthL, kMouthT));
    EXPECT_EQ(t.Window(kMouthR - 1, kMouthB - 1), EyeCel(1, 1, kMouthR - 1, kMouthB - 1));

    AnimateFace(g, 1, 3, 3);  // the same mood with other rows: no restart
    EXPECT_EQ(t.Sc(kEyeRow), 2);
    EXPECT_EQ(t.Sc(kMouthRow), 2);
    EXPECT_EQ(t.LeftEye(), EyeCel(1, 2, kEyeL, kEyeT));
    EXPECT_EQ(t.Mouth(), EyeCel(1, 1, kMouthL, kMouthT));  // row 3 would show cel 2
    AnimateFace(g, 1, 2, 2);
    EXPECT_EQ(t.LeftEye(), EyeCel(1, 3, kEyeL, kEyeT));
    AnimateFace(g, 1, 2, 2);  // eye row 2 has ended: its last cel stays
    EXPECT_EQ(t.Sc(kEyeCel), 0);
    EXPECT_EQ(t.Sc(kLastEyeCel), 3);
    EXPECT_EQ(t.LeftEye(), EyeCel(1, 3, kEyeL, kEyeT));
}

TEST(Face, ANewRowStartingWithTheCelOnScreenShowsItsSecondCelFirst) {
    {
        FaceGame t;
        AnimateFace(t.g(), 1, 2, 2);
        AnimateFace(t.g(), 1, 2, 2);  // cel 2 on screen
        AnimateFace(t.g(), 2, 3, 3);  // row 3 starts from cel 2
        EXPECT_EQ(t.Sc(kEyeIndex), 2);
        EXPECT_EQ(t.LeftEye(), EyeCel(1, 2, kEyeL, kEyeT));
        EXPECT_EQ(t.Sc(kMouthIndex), 1);
        EXPECT_EQ(t.Mouth(), EyeCel(1, 2, kMouthL, kMouthT));  // mouth row 3 starts with cel 2
    }
    {
        FaceGame t;
        AnimateFace(t.g(), 1, 2, 2);  // cel 1 on screen
        AnimateFace(t.g(), 2, 3, 3);
        EXPECT_EQ(t.Sc(kEyeIndex), 1);
        EXPECT_EQ(t.LeftEye(), EyeCel(1, 1, kEyeL, kEyeT));
    }
    for (int onScreen = 1; onScreen <= 3; ++onScreen) {
        FaceGame t;
        AnimateFace(t.g(), 1, 2, 2);
        t.Sc(kLastEyeCel) = static_cast<int16_t>(onScreen);
        AnimateFace(t.g(), 5, 5, 3);  // row 5 starts from 9, which no cel matches
        EXPECT_EQ(t.Sc(kEyeIndex), 1);
    }
}

TEST(Face, MouthRowThreeRunsThroughAllItsPlacesAndEnds) {
    FaceGame t;
    Game& g = t.g();
    int drawn = 0;
    for (int k = 1; k <= 17; ++k) {
        AnimateFace(g, 6, 5, 3);
        drawn += t.Sc(kMouthCel) != 0;
        ASSERT_EQ(t.Mouth(), EyeCel(1, t.Sc(kMouthCel), kMouthL, kMouthT)) << k;
    }
    EXPECT_EQ(drawn, 17);
    EXPECT_EQ(t.Sc(kMouthIndex), 17);
    AnimateFace(g, 6, 5, 3);
    EXPECT_EQ(t.Sc(kMouthIndex), 18);
    EXPECT_EQ(t.Sc(kMouthCel), 0);
    EXPECT_EQ(t.Mouth(), EyeCel(1, 2, kMouthL, kMouthT));  // its last cel stays
}

// Each eye row and mouth row, cel by cel from the frame it starts in, then nothing new.
TEST(Face, EachEyeAndMouthRowShowsItsOwnCelsFrameByFrame) {
    const std::vector<std::vector<int>> eyes = {{1, 2, 1, 2, 3},
                                                {1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3},
                                                {2, 1, 2, 3},
                                                {2, 1, 2, 3, 2, 2, 2, 2, 2},
                                                {1, 2, 1, 1, 1, 1, 1},
                                                {9, 1, 1, 1, 1, 1, 1},
                                                {9, 2, 2, 2, 2, 2, 2, 2, 2, 3, 2, 1, 1, 1, 1, 1, 1, 1}};
    const std::vector<std::vector<int>> mouths = {{0, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                                                  {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                                                  {0, 1, 1, 1, 1, 1, 1, 3},
                                                  {0, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 2, 2, 2}};
    FaceGame t;
    // With cel 1 or 2 on screen, a row that starts from that cel skips its first one.
    for (int onScreen = 1, runs = 0; onScreen <= 2; ++onScreen) {
        for (int row = 0; row < 7; ++row, ++runs) {
            t.Sc(kLastEyeCel) = static_cast<int16_t>(onScreen);
            const auto& eye = eyes[static_cast<size_t>(row)];
            std::vector<int> eyeCels{eye[0]}, mouthCels{0};
            if (eye[0] == onScreen) eyeCels.push_back(eye[1]);
            const size_t m = static_cast<size_t>(row % 4);
            for (int frame = 0; frame < 20; ++frame) {
                // Moods 7 and 8 start no sequence of their own: only the requested rows run.
                AnimateFace(t.g(), static_cast<uint8_t>(7 + runs % 2), static_cast<uint8_t>(row),
                            static_cast<uint8_t>(m));
                if (const int cel = t.Sc(kEyeCel)) {
                    eyeCels.push_back(cel);
                    EXPECT_EQ(t.LeftEye(), EyeCel(1, cel, kEyeL, kEyeT)) << row << " " << frame;
                    EXPECT_EQ(t.Window(kEye2L, kEyeT), EyeCel(1, cel, kEye2L, kEyeT)) << row << " " << frame;
                }
                if (const int cel = t.Sc(kMouthCel)) {
                    mouthCels.push_back(cel);
                    EXPECT_EQ(t.Mouth(), EyeCel(1, cel, kMouthL, kMouthT)) << row << " " << frame;
                }
            }
            EXPECT_EQ(eyeCels, eye) << "eye row " << row << " from cel " << onScreen;
            EXPECT_EQ(mouthCels, mouths[m]) << "mouth row " << m;
        }
    }
}

TEST(Face, TouchedMoodsEscalateOnlyFromCalm) {
    FaceGame t;
    PlayState& p = t.g().Play;
    p.FaceMood = 1;
    EscalateMood(t.g());
    EXPECT_EQ(p.FaceMood, 3);
    EXPECT_EQ(p.FaceEyeRow, 4);
    EXPECT_EQ(p.FaceMouthRow, 1);
    p.FaceMood = 5;
    p.FaceEyeRow = 5;
    EscalateMood(t.g());
    EXPECT_EQ(p.FaceMood, 5);
    EXPECT_EQ(p.FaceEyeRow, 5);
    SetMoodTouched(t.g());
    EXPECT_EQ(p.FaceMood, 3);
}

// How often, per frame of an ended sequence, a mood starts a new one, which rows it takes and
// which reaction lines it starts.
struct MoodRun {
    int eyeIdle = 0, eyeStarts = 0, mouthIdle = 0, mouthStarts = 0, lines = 0;
    std::map<int, int> eyeRows, mouthRows;
    std::set<int> lineNumbers;
};

MoodRun RunMood(int mood, int frames) {
    FaceGame t;
    t.game->platform.GetTrace().Open("/dev/null");
    Game& g = t.g();
    MoodRun r;
    AnimateFace(g, static_cast<uint8_t>(mood), 2, 2);
    for (int i = 0; i < frames; ++i) {
        const bool eyeIdle = t.Sc(kEyeCel) == 0, mouthIdle = t.Sc(kMouthCel) == 0;
        AnimateFace(g, static_cast<uint8_t>(mood), 2, 2);
        if (eyeIdle) {
            ++r.eyeIdle;
            if (t.Sc(kEyeCel) != 0) ++r.eyeStarts, ++r.eyeRows[t.Sc(kEyeRow)];
        }
        if (mouthIdle) {
            ++r.mouthIdle;
            if (t.Sc(kMouthCel) != 0) ++r.mouthStarts, ++r.mouthRows[t.Sc(kMouthRow)];
        }
        if (t.Sc(kSpeechState) == -1) {
            ++r.lines;
            r.lineNumbers.insert(t.Sc(kSpeechLine));
            t.Sc(kSpeechState) = 0;
        }
    }
    return r;
}

void ExpectRate(int starts, int idle, int oneIn, int mood, const char* part) {
    ASSERT_GT(idle, 0) << part << " mood " << mood;
    const double rate = double(starts) / idle, expected = 1.0 / oneIn;
    EXPECT_LT(std::abs(rate - expected), 0.12 * expected) << part << " mood " << mood << ": " << starts << "/" << idle;
}

TEST(Face, EachMoodStartsItsOwnSequencesAtItsOwnRate) {
    struct Expected {
        int mood, eyeOneIn, mouthOneIn;
        std::set<int> eyeRows, mouthRows, lines;
    };
    const Expected table[] = {
        {1, 10, 20, {0, 1}, {0, 1}, {}}, {2, 12, 10, {3}, {0, 1}, {}},   {3, 20, 20, {5}, {1}, {}},
        {4, 30, 14, {6}, {1}, {5, 6}},   {5, 14, 14, {5}, {3}, {9, 10}}, {6, 14, 14, {5}, {3}, {7, 8}},
    };
    std::map<int, MoodRun> runs;
    for (const Expected& e : table) {
        const MoodRun& r = runs[e.mood] = RunMood(e.mood, 20000);
        ExpectRate(r.eyeStarts, r.eyeIdle, e.eyeOneIn, e.mood, "eyes");
        ExpectRate(r.mouthStarts, r.mouthIdle, e.mouthOneIn, e.mood, "mouth");
        std::set<int> eyeRows, mouthRows;
        for (const auto& [row, n] : r.eyeRows) eyeRows.insert(row);
        for (const auto& [row, n] : r.mouthRows) mouthRows.insert(row);
        EXPECT_EQ(eyeRows, e.eyeRows) << e.mood;
        EXPECT_EQ(mouthRows, e.mouthRows) << e.mood;
        EXPECT_EQ(r.lineNumbers, e.lines) << e.mood;
        if (e.mood == 4) {
            EXPECT_EQ(r.lines, r.eyeStarts);
        } else if (e.mood >= 5) {
            EXPECT_EQ(r.lines, r.mouthStarts);
        }
    }
    // Idle and end moods pick their second row one time in three.
    const MoodRun& calm = runs[1];
    EXPECT_NEAR(double(calm.eyeRows.at(1)) / calm.eyeStarts, 1.0 / 3, 0.05);
    EXPECT_NEAR(double(calm.mouthRows.at(1)) / calm.mouthStarts, 1.0 / 3, 0.05);
    const MoodRun& end = runs[2];
    EXPECT_NEAR(double(end.mouthRows.at(0)) / end.mouthStarts, 1.0 / 3, 0.05);
}

TEST(Face, AnUnknownMoodNeverStartsASequenceNorDrawsRandomNumbers) {
    FaceGame t;
    Game& g = t.g();
    for (int i = 0; i < 40; ++i) AnimateFace(g, 7, 2, 2);
    const uint32_t seed = g.Rand.RandSeed;
    for (int i = 0; i < 40; ++i) AnimateFace(g, 7, 2, 2);
    EXPECT_EQ(g.Rand.RandSeed, seed);
    EXPECT_EQ(t.Sc(kEyeCel), 0);
    EXPECT_EQ(t.Sc(kMouthCel), 0);
}

}  // namespace
}  // namespace kiv
