// The bundled demo's lines as the game types them, in the game's own font: one letter a unit,
// and every unit inside the speech corner.
#include <gtest/gtest.h>

#include <string>

#include "../../content/demo_tables.h"
#include "game/scene_control.h"
#include "platform/sdl/ttf_font.h"
#include "scenes/stage/speech.h"
#include "scenes/stage/stage_counters.h"
#include "test_game.h"

namespace kiv {
namespace {

// Every line of every stage, typed by the game with the default name put in: each unit is one
// full-width letter, one double-byte character or a pair of blanks, so the letters stand evenly,
// and each unit is drawn inside the speech corner (left of the face, above the child).
TEST(DemoSpeech, EveryLineIsTypedEvenlyInsideTheSpeechCorner) {
    TempDir game;
    if (!CopyDemoGame(game)) GTEST_SKIP() << "the bundled game has not been generated";
    if (!TtfFonts().Available()) GTEST_SKIP() << "no font: the widths would not be the game's";
    HeadlessGame h(game.Path(), "", &TtfFonts());
    ASSERT_TRUE(h.created);
    Game& g = h.game;
    int units = 0;
    for (int stage = 1; stage <= 10; ++stage) {
        ChangeScene(g, static_cast<uint8_t>(stage + 1));
        h.Frames(1);  // the set-up
        const auto& w = g.Cfg.StageLayout[static_cast<size_t>(stage - 1)];
        for (int n = 1; n <= 10; ++n) {
            SCOPED_TRACE("stage " + std::to_string(stage) + " line " + std::to_string(n));
            const auto& line = g.Cfg.StageTexts[static_cast<size_t>(stage - 1)][static_cast<size_t>(n)];
            for (int p = 1; p + 1 <= line.Length(); p += 2) {
                const uint8_t a = line.At(p), b = line.At(p + 1);
                if (a < 0x80 && b < 0x80) {
                    EXPECT_TRUE((a == ' ' && b == ' ') || a == '_') << "two letters in one unit at byte " << p;
                }
            }
            auto& sc = g.Shell.SceneCounters;
            sc[kSpeechState] = 0;
            sc[kSubFrame] = 0;
            int drawn = 0;
            bool ended = false;
            for (int i = 0; i < 60 && !ended; ++i) {
                ended = TypeSpeechStep(g, n);
                if (ended) break;  // the end code
                ++drawn;
                EXPECT_GE(g.Play.SpeechX, w[3]);
                EXPECT_LE(g.Play.SpeechX, kiv::demo::kTextRight) << "unit " << sc[kSubFrame] << " runs past the corner";
                EXPECT_LE(g.Play.SpeechY + 14, kiv::demo::kTextBottom) << "unit " << sc[kSubFrame] << " is too low";
            }
            EXPECT_TRUE(ended) << "the line never ended";
            EXPECT_GT(drawn, 0);
            units += drawn;
        }
    }
    EXPECT_GT(units, 800);
}

}  // namespace
}  // namespace kiv
