// The game maker's tools on a running demo game: the overlay of the stage's data (only over
// the window's picture), and reading the files again when they are saved.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "check_demo_copy.h"
#include "game/scene_control.h"
#include "maker/maker_tools.h"
#include "media/raster.h"
#include "scenes/menu/menu.h"
#include "test_game.h"

namespace kiv {
namespace {

constexpr int kPointLine = 57;   // the first five check points of stage 3
constexpr int kIntroLine = 132;  // the introduction of stage 3
constexpr int kStepIntroWait = 4, kStepPlay = 50;
constexpr uint32_t kUncovered = 0xFF40FF40, kCovered = 0xFFFF4040;

uint32_t At(const std::vector<uint32_t>& image, int x, int y) { return image[size_t(y) * kImageWidth + size_t(x)]; }

// The rows of the overlay's panel in the top right corner.
int PanelRows(const Platform& p) {
    int rows = 0;
    while (rows < kImageHeight && (At(p.OverlayImage(), kImageWidth - 1, rows) >> 24) != 0) ++rows;
    return rows;
}

// A copy of the demo, played at stage 3 with the maker's tools on a clock of the test's own.
class MakerGame : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(std::string(KIV_GAME_DIR) + "/Kiv.txt"))
            GTEST_SKIP() << "the demo game has not been generated";
        Start(true);
    }

    void Start(bool makerMode, int stage = 3) {
        demo.dir.Write("Kiv.txt", demo.Joined());
        run = std::make_unique<HeadlessGame>(demo.dir.Path());
        ASSERT_TRUE(run->created);
        ASSERT_TRUE(run->platform.GetTrace().Open(demo.dir.File("trace.jsonl")));
        maker = std::make_unique<MakerTools>(run->game, makerMode, [this] { return clock; });
        run->form.SetMakerTools(maker.get());
        if (stage == 0) return;
        StartStageDirectly(run->game, stage);
        UntilStep(kStepIntroWait);
    }

    Game& G() { return run->game; }
    int Step() { return SceneStep(G()); }
    void UntilStep(int step) {
        for (int i = 0; i < 3000 && Step() != step; ++i) run->Frames(1);
        ASSERT_EQ(Step(), step);
    }

    // Writes a file of the game and makes sure its time differs from before, however fast the
    // test runs.
    void Save(const std::string& name, const std::string& bytes) {
        namespace fs = std::filesystem;
        const fs::path path = demo.dir.File(name);
        const auto before = fs::exists(path) ? fs::last_write_time(path) : fs::file_time_type::clock::now();
        demo.dir.Write(name, bytes);
        fs::last_write_time(path, before + std::chrono::seconds(2));
    }
    void SaveKivText() { Save("Kiv.txt", demo.Joined()); }
    // A second on the real clock, and a frame after which the files are looked at.
    void ASecondLater() {
        clock += 1000;
        run->Frames(1);
    }

    DemoCopy demo;
    std::unique_ptr<HeadlessGame> run;
    std::unique_ptr<MakerTools> maker;
    int64_t clock = 0;
};

TEST_F(MakerGame, SavedCheckPointMovesInTheOverlayAndTheStageStartsAgain) {
    maker->ShowOverlay(true);
    EXPECT_EQ(At(G().P.OverlayImage(), 395 + 3, 222), kCovered) << "point 1 is marked where Kiv.txt puts it";
    demo.SetFirstPoint(kPointLine, 300, 100);
    SaveKivText();
    testing::internal::CaptureStderr();
    ASecondLater();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Kiv.txt changed: read Kiv.txt and the files of stage 3 again, and started it again"),
              std::string::npos)
        << said;
    EXPECT_EQ(G().Shell.SceneNo, 4);
    EXPECT_EQ(Step(), 0) << "the stage starts again";
    EXPECT_EQ(G().Cfg.CheckPoints[2][0].X, 300);
    UntilStep(kStepIntroWait);
    // Off the character, on the background: uncovered from the start.
    EXPECT_EQ(At(G().P.OverlayImage(), 300, 100), kUncovered);
    EXPECT_EQ(At(G().P.OverlayImage(), 395 + 3, 222) >> 24, 0u) << "the old place is clear";
    // Nothing changed since: no second reload.
    ASecondLater();
    EXPECT_NE(Step(), 0);
}

TEST_F(MakerGame, ReloadTakesANewTextAndANewPictureAsAFreshStartWould) {
    demo.Line(kIntroLine) = "Hi there__new word_/";
    SaveKivText();
    // A background of one colour instead of the garden (a .bmp, so the .jpg goes).
    demo.Remove("C03.jpg");
    Save("C03.bmp", MakeBmp(640, 480, [](int, int) { return 0x0000FFu; }));
    run->form.ReloadGameFiles();  // the script's "reload"
    UntilStep(kStepIntroWait);
    const std::string trace = demo.dir.Read("trace.jsonl");
    EXPECT_NE(trace.find("\"ev\":\"speech\",\"line\":1,\"text\":\"Hi there__new word_/\""), std::string::npos);
    EXPECT_EQ(At(G().P.WindowImage(), 620, 10), 0x0000FFu) << "the new background shows";

    // A game started on the edited files shows the same.
    HeadlessGame fresh(demo.dir.Path());
    StartStageDirectly(fresh.game, 3);
    for (int i = 0; i < 3000 && SceneStep(fresh.game) != kStepIntroWait; ++i) fresh.Frames(1);
    EXPECT_EQ(At(fresh.platform.WindowImage(), 620, 10), 0x0000FFu);
}

TEST_F(MakerGame, BrokenEditKeepsTheLastGoodConfigurationPlaying) {
    maker->ShowOverlay(true);
    const int panel = PanelRows(G().P);
    const std::string good = demo.Line(kPointLine);
    demo.Line(kPointLine) = "395 222   4x0 227   445 222   390 252   420 257";
    SaveKivText();
    const CheckReport check = CheckGameFolder(demo.dir.Path(), nullptr);
    std::vector<std::string> checkSays;
    for (const CheckFinding& f : check.Findings)
        if (f.Error) checkSays.push_back(FormatFinding(f));
    ASSERT_EQ(checkSays.size(), 1u);
    EXPECT_EQ(checkSays[0].rfind("Kiv.txt:57: ", 0), 0u) << checkSays[0];

    testing::internal::CaptureStderr();
    ASecondLater();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(maker->Errors(), checkSays);
    EXPECT_NE(said.find(checkSays[0]), std::string::npos) << said;
    EXPECT_NE(said.find("the game goes on as before"), std::string::npos) << said;
    EXPECT_GT(PanelRows(G().P), panel) << "the error shows in the overlay";
    // The stage plays on with the points it had.
    EXPECT_EQ(Step(), kStepIntroWait);
    EXPECT_FALSE(G().Shell.HaltRequested);
    run->form.MouseDown(MouseButton::Left, false, 320, 240);
    UntilStep(kStepPlay);
    EXPECT_EQ(G().Cfg.CheckPoints[2][1].X, 420);

    // Mended: taken, and the error goes.
    demo.Line(kPointLine) = good;
    SaveKivText();
    ASecondLater();
    EXPECT_TRUE(maker->Errors().empty());
    EXPECT_EQ(Step(), 0);
    UntilStep(kStepIntroWait);
    EXPECT_EQ(PanelRows(G().P), panel);
}

TEST_F(MakerGame, BrokenPictureIsRefusedWithoutEndingTheGame) {
    const std::string picture = demo.dir.Read("D03.bmp");
    Save("D03.bmp", picture.substr(0, 100));
    const CheckReport check = CheckGameFolder(demo.dir.Path(), nullptr);
    std::string checkSays;
    for (const CheckFinding& f : check.Findings)
        if (f.Error && f.File == "D03.bmp") checkSays = FormatFinding(f);
    ASSERT_FALSE(checkSays.empty());
    testing::internal::CaptureStderr();
    ASecondLater();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(maker->Errors().size(), 1u);
    EXPECT_EQ(maker->Errors()[0], checkSays);
    EXPECT_FALSE(G().Shell.HaltRequested);
    EXPECT_TRUE(G().P.Visible());
    EXPECT_TRUE(run->platform.Messages().empty());
    EXPECT_EQ(Step(), kStepIntroWait);
    // Saved whole again: the stage starts again with it.
    Save("D03.bmp", picture);
    testing::internal::CaptureStderr();
    ASecondLater();
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(maker->Errors().empty());
    EXPECT_EQ(Step(), 0);
}

TEST_F(MakerGame, LooksOnceASecondAndOnlyAtTheFilesOfTheScene) {
    // Another stage's picture: stage 3 goes on.
    Save("D07.jpg", demo.dir.Read("D07.jpg"));
    ASecondLater();
    EXPECT_EQ(Step(), kStepIntroWait);
    // Kiv.txt saved: not seen until a second has passed since the last look.
    SaveKivText();
    clock += 500;
    run->Frames(1);
    EXPECT_EQ(Step(), kStepIntroWait);
    testing::internal::CaptureStderr();
    ASecondLater();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Kiv.txt changed"), std::string::npos);
    EXPECT_EQ(Step(), 0);
    // A voice of the stage, and a new .jpg beside the .bmp of its picture, count as its files.
    UntilStep(kStepIntroWait);
    Save("V031.wav", demo.dir.Read("V031.wav"));
    testing::internal::CaptureStderr();
    ASecondLater();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("V031.wav changed"), std::string::npos);
    UntilStep(kStepIntroWait);
    Save("D03.jpg", demo.dir.Read("C03.jpg"));
    testing::internal::CaptureStderr();
    ASecondLater();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("D03.jpg changed"), std::string::npos);
    // The stage's tune, from the first look after the stage was entered.
    UntilStep(kStepIntroWait);
    Save("Kv02.mid", demo.dir.Read("Kv02.mid"));
    testing::internal::CaptureStderr();
    ASecondLater();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Kv02.mid changed"), std::string::npos);
}

TEST_F(MakerGame, WithoutMakerModeNothingIsWatchedAndF9DoesNothing) {
    Start(false);
    run->form.KeyUp(vk::F9, false);
    EXPECT_FALSE(G().P.OverlayShown());
    SaveKivText();
    ASecondLater();
    ASecondLater();
    EXPECT_EQ(Step(), kStepIntroWait);
    // The script's commands still work.
    run->form.ShowMakerOverlay(true);
    EXPECT_TRUE(G().P.OverlayShown());
}

TEST_F(MakerGame, F9ShowsAndHidesTheOverlayWhichNeverReachesTheGamesPicture) {
    HeadlessGame twin(demo.dir.Path());
    StartStageDirectly(twin.game, 3);
    for (int i = 0; i < 3000 && SceneStep(twin.game) != kStepIntroWait; ++i) twin.Frames(1);
    ASSERT_EQ(G().P.WindowImage(), twin.platform.WindowImage());

    run->form.KeyUp(vk::F9, false);
    EXPECT_TRUE(G().P.OverlayShown());
    // Into play: the pot, then a press on check point 5 (the hit point lies 9 right, 7 down).
    for (HeadlessGame* h : {run.get(), &twin}) {
        h->form.MouseDown(MouseButton::Left, false, 320, 240);
        for (int i = 0; i < 50 && SceneStep(h->game) != kStepPlay; ++i) h->Frames(1);
        const auto& w = G().Cfg.StageLayout[2];  // w5, w6: the ink pot
        h->form.MouseDown(MouseButton::Left, false, w[5] - 9, w[6] - 7);
        h->form.MouseUp(MouseButton::Left, false, w[5] - 9, w[6] - 7);
        h->form.MouseDown(MouseButton::Left, false, 420 - 9, 257 - 7);
        h->form.MouseUp(MouseButton::Left, false, 420 - 9, 257 - 7);
        h->Frames(3);
    }
    ASSERT_NE(GetPixel(G().Media.EraseMapBmp, 420, 257), 0u) << "the press uncovered point 5";
    const auto& overlay = G().P.OverlayImage();
    EXPECT_EQ(At(overlay, 420, 257), kUncovered);
    EXPECT_EQ(At(overlay, 395, 222) >> 24, 0u) << "point 1, still covered, is a ring";
    EXPECT_EQ(At(overlay, 395 + 3, 222), kCovered);
    // The game's own picture is the twin's, which never had an overlay.
    EXPECT_EQ(G().P.WindowImage(), twin.platform.WindowImage());
    run->form.KeyUp(vk::F9, false);
    EXPECT_FALSE(G().P.OverlayShown());
}

TEST_F(MakerGame, ReloadKeepsTheTimesTheStagesWereClearedIn) {
    // Stage 3 cleared by a press on the pot and on each check point, then left.
    auto press = [this](int x, int y) {
        run->form.MouseDown(MouseButton::Left, false, x - 9, y - 7);
        run->form.MouseUp(MouseButton::Left, false, x - 9, y - 7);
        run->Frames(1);
    };
    run->form.MouseDown(MouseButton::Left, false, 320, 240);
    UntilStep(kStepPlay);
    press(G().Cfg.StageLayout[2][5], G().Cfg.StageLayout[2][6]);
    for (const Point16& p : G().Cfg.CheckPoints[2]) press(p.X, p.Y);
    ASSERT_EQ(G().Play.PointsUncovered, 20);
    run->form.MouseDown(MouseButton::Right, false, 320, 240);
    UntilStep(84);
    run->form.MouseDown(MouseButton::Left, false, 320, 240);
    UntilStep(98);
    run->form.MouseDown(MouseButton::Left, false, 320, 240);
    run->Frames(2);
    ASSERT_EQ(G().Shell.SceneNo, 5) << "stage 4 follows";
    const int16_t kept = G().Cfg.StageLayout[2][8];
    ASSERT_GT(kept, 0);
    testing::internal::CaptureStderr();
    run->form.ReloadGameFiles();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(G().Shell.SceneNo, 5);
    EXPECT_EQ(G().Cfg.StageLayout[2][8], kept);
}

TEST_F(MakerGame, OutsideStagePlayTheSceneStartsAgain) {
    Start(true, 0);
    run->Frames(3);
    ASSERT_EQ(G().Shell.SceneNo, kSceneOpening);
    const int16_t openingStep = G().Shell.SceneCounters[2];
    ASSERT_GT(openingStep + G().Shell.SceneCounters[0], 0);
    run->form.ReloadGameFiles();
    EXPECT_EQ(G().Shell.SceneNo, kSceneOpening);
    EXPECT_EQ(G().Shell.SceneCounters, (std::array<int16_t, 20>{}));
    EXPECT_TRUE(maker->Errors().empty());
}

}  // namespace
}  // namespace kiv
