// The game maker's tools: the files a scene uses, watching them, and reading them again.
#include "maker/maker_tools.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <utility>

#include "check/game_check.h"
#include "data/configuration.h"
#include "data/data_files.h"
#include "data/strings.h"
#include "game/game.h"
#include "game/game_media.h"
#include "game/player_name.h"
#include "game/scene_control.h"
#include "media/images.h"
#include "media/screen.h"
#include "scenes/menu/menu.h"
#include "scenes/stage/stage_access.h"

namespace kiv {

namespace {

constexpr int64_t kLookEveryMs = 1000;
constexpr int kOpeningMusic = 1;

int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool IsStageScene(int scene) { return scene >= kSceneFirstStage && scene <= kSceneLastStage; }

std::string Numbered(const char* prefix, int digits, int number) {
    std::string name(prefix);
    name += ZeroPad(digits, number);
    return name;
}

// The pictures a scene loads, by base name (the loaders add .jpg or .bmp), and the numbers of
// the stage pictures whose mask files it reads.
struct ScenePictures {
    std::vector<std::string> Bases;
    std::vector<int> MaskNumbers;
};

ScenePictures PicturesOfScene(const Config& cfg, int scene) {
    ScenePictures p;
    // The sheets read at start-up are drawn from in every scene.
    for (const char* sheet : {"Ptit", "Ptitm", "Pchzm", "Pchz", "Pchzd"}) p.Bases.emplace_back(sheet);
    auto cels = [&p](int group) {
        for (int i = 1; i <= 4; ++i) p.Bases.push_back(Numbered("F", 3, group * 10 + i));
    };
    if (scene == kSceneEnding) {
        for (int i = 1; i <= 3; ++i) p.Bases.push_back(Numbered("End", 1, i));
    } else if (IsStageScene(scene)) {
        const size_t s = static_cast<size_t>(scene - kSceneFirstStage);
        const auto& params = cfg.StageParams[s];
        const auto& w = cfg.StageLayout[s];
        const int stage = scene - 1;
        p.Bases.push_back(Numbered("M", 2, params[6]));
        cels(params[5]);
        p.Bases.push_back(Numbered("C", 2, params[7]));
        for (size_t b = 9; b <= 12; ++b) {
            if (params[b] == 0) continue;
            p.Bases.push_back(Numbered("D", 2, params[b]));
            p.MaskNumbers.push_back(params[b]);
        }
        if (w[kInsertBottom] != 0) p.Bases.push_back(Numbered("E", 2, stage));
        p.Bases.push_back(Numbered("D", 2, params[8]));
        p.MaskNumbers.push_back(params[8]);
        // The bonus picture and its cels are read later in the stage, but a broken one would
        // end the game there just the same.
        if (w[kBonusRight] != 0) {
            p.Bases.push_back(Numbered("G", 2, stage));
            if (w[kCelsAndCarry] / 10 != 0) cels(w[kCelsAndCarry] / 10);
        }
    }
    return p;
}

// The effect numbers as the scene plays them: a stage puts three of its own in slots 0..2.
std::array<uint8_t, 9> EffectNumbers(const Config& cfg, int scene) {
    std::array<uint8_t, 9> numbers = cfg.SoundNumbers;
    if (IsStageScene(scene))
        for (size_t k = 0; k < 3; ++k) numbers[k] = cfg.StageParams[static_cast<size_t>(scene - 2)][k + 2];
    return numbers;
}

std::vector<std::string> FilesOf(const Config& cfg, int scene, const std::string& music) {
    std::vector<std::string> files{"Kiv.txt"};
    const ScenePictures pictures = PicturesOfScene(cfg, scene);
    for (const std::string& base : pictures.Bases) {
        files.push_back(base + ".jpg");
        files.push_back(base + ".bmp");
    }
    for (int n : pictures.MaskNumbers) {
        files.push_back(Numbered("D", 2, n) + "mask.jpg");
        files.push_back(Numbered("D", 2, n) + "mask.bmp");
    }
    for (uint8_t n : EffectNumbers(cfg, scene)) files.push_back(Numbered("Q", 2, n) + ".wav");
    if (IsStageScene(scene))
        for (int n = 0; n < 10; ++n) files.push_back(Numbered("V", 2, scene - 1) + std::to_string(n) + ".wav");
    if (!music.empty()) files.push_back(music);
    return files;
}

FileStamp StampInFolder(const std::string& dir, const std::string& name) {
    const std::string path = FindDataFile(dir, name);
    return path.empty() ? FileStamp{} : StampOf(path);
}

// The errors a restart of the scene with cfg would meet: the pictures it reads that are
// missing or cannot be read (the game would stop over them). The check words them when it
// finds them too.
std::vector<std::string> UnusablePictures(const Config& cfg, int scene, const std::string& dir) {
    std::vector<std::pair<std::string, std::string>> bad;  // file, why
    const ScenePictures pictures = PicturesOfScene(cfg, scene);
    auto probe = [&](const std::string& file) {
        Surface picture;
        std::string why;
        if (!ReadPictureFile(dir, file, picture, why)) bad.emplace_back(file, why);
    };
    for (const std::string& base : pictures.Bases) probe(PictureFileName(dir, base));
    for (int n : pictures.MaskNumbers)
        if (const std::string mask = MaskFileName(dir, static_cast<uint8_t>(n)); !mask.empty()) probe(mask);
    std::vector<std::string> errors;
    if (bad.empty()) return errors;
    const CheckReport report = CheckGameFolder(dir, nullptr);
    for (const auto& [file, why] : bad) {
        std::string said;
        for (const CheckFinding& f : report.Findings)
            if (f.Error && f.File == file && said.empty()) said = FormatFinding(f);
        if (said.empty()) {
            said = file;
            if (why.empty()) {
                said += ": missing";
            } else {
                said += ": cannot be read (";
                said += why;
                said += ")";
            }
        }
        errors.push_back(said);
    }
    return errors;
}

// Why Kiv.txt cannot be read, as the check says it, else as the reader does.
std::vector<std::string> KivTextErrors(const std::string& dir, ConfigLoad load, const std::string& readerError) {
    std::vector<std::string> errors;
    const CheckReport report = CheckGameFolder(dir, nullptr);
    for (const CheckFinding& f : report.Findings)
        if (f.Error && f.File == "Kiv.txt") errors.push_back(FormatFinding(f));
    if (errors.empty()) errors.push_back(load == ConfigLoad::Missing ? "Kiv.txt: missing" : "Kiv.txt: " + readerError);
    return errors;
}

std::string SceneName(int scene) {
    if (IsStageScene(scene)) return "stage " + std::to_string(scene - 1);
    switch (scene) {
        case kSceneOpening: return "the opening";
        case kSceneMenu: return "the title menu";
        case kSceneEnding: return "the ending";
        case kSceneResults: return "the results";
        default: return "scene " + std::to_string(scene);
    }
}

}  // namespace

FileStamp StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return FileStamp{};
    return FileStamp{true, int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec, int64_t{st.st_size}};
}

std::vector<std::string> SceneFiles(const Game& g) {
    const int scene = g.Shell.SceneNo;
    // A stage's own tune, even before its set-up has started it; elsewhere the one that plays.
    std::string music = g.Sound.CurMusicName.Str();
    if (IsStageScene(scene))
        music = g.Cfg.MusicFiles[static_cast<size_t>(g.Play.ChallengeMode ? scene + 10 : scene)].Str();
    return FilesOf(g.Cfg, scene, music);
}

MakerTools::MakerTools(Game& g, bool makerMode, std::function<int64_t()> nowMs)
    : g_(g), makerMode_(makerMode), nowMs_(nowMs ? std::move(nowMs) : std::function<int64_t()>(SteadyMs)) {
    lastLook_ = nowMs_();
}

void MakerTools::TakeStamps() {
    stamps_.clear();
    for (const std::string& name : SceneFiles(g_)) stamps_.emplace_back(name, StampInFolder(g_.Cfg.AppDir, name));
    watchedScene_ = g_.Shell.SceneNo;
}

void MakerTools::LookAtFiles() {
    std::string changed;
    for (auto& [name, stamp] : stamps_) {
        const FileStamp now = StampInFolder(g_.Cfg.AppDir, name);
        if (now == stamp) continue;
        // Kept before the file is read: a save still under way when it is read is seen again.
        stamp = now;
        if (!changed.empty()) changed += ", ";
        changed += name;
    }
    if (!changed.empty()) Reload(changed + " changed");
}

void MakerTools::AfterFrame() {
    if (makerMode_) {
        if (g_.Shell.SceneNo != watchedScene_) TakeStamps();
        const int64_t now = nowMs_();
        if (now - lastLook_ >= kLookEveryMs) {
            lastLook_ = now;
            LookAtFiles();
        }
    }
    if (g_.P.OverlayShown()) {
        MeasureUncovered();
        UpdateOverlay();
    }
}

bool MakerTools::Reload(const std::string& why) {
    const std::string dir = g_.Cfg.AppDir;
    const int scene = g_.Shell.SceneNo;
    // What the files were before they are read, so that a change made while reading is not lost.
    std::vector<std::pair<std::string, FileStamp>> before;
    for (const std::string& name : SceneFiles(g_)) before.emplace_back(name, StampInFolder(dir, name));

    Config fresh;
    std::string readerError;
    const ConfigLoad load = LoadConfiguration(dir, fresh, readerError);
    std::vector<std::string> errors =
        load == ConfigLoad::Read ? UnusablePictures(fresh, scene, dir) : KivTextErrors(dir, load, readerError);
    if (!errors.empty()) {
        errors_ = errors;
        std::fprintf(stderr, "kiv: %s, but %s cannot be played with it; the game goes on as before:\n", why.c_str(),
                     SceneName(scene).c_str());
        for (const std::string& e : errors) std::fprintf(stderr, "kiv:   %s\n", e.c_str());
    } else {
        // The times the stages were cleared in are this run's results, not the file's.
        for (size_t s = 0; s < fresh.StageLayout.size(); ++s)
            fresh.StageLayout[s][kClearTime] = g_.Cfg.StageLayout[s][kClearTime];
        g_.Cfg = std::move(fresh);
        PutPlayerNameInTexts(g_);
        BuildPalette(g_.Media, g_.Cfg.PaletteRGB);
        LoadStartupSheets(Pictures(g_));
        errors_.clear();
        ++reloads_;
        std::fprintf(stderr, "kiv: %s: read Kiv.txt and the files of %s again, and started it again\n", why.c_str(),
                     SceneName(scene).c_str());
        RestartScene();
    }
    stamps_.clear();
    for (const std::string& name : SceneFiles(g_)) {
        FileStamp stamp = StampInFolder(dir, name);
        for (const auto& [old, was] : before)
            if (old == name) stamp = was;
        stamps_.emplace_back(name, stamp);
    }
    watchedScene_ = g_.Shell.SceneNo;
    if (g_.P.OverlayShown()) UpdateOverlay();
    return errors_.empty();
}

void MakerTools::RestartScene() {
    const uint8_t scene = g_.Shell.SceneNo;
    // A tune whose file changed is played again from its start.
    g_.Sound.CurMusicName = "";
    if (IsStageScene(scene)) {
        // Started afresh, as from the menu: nothing carried over from the stage before.
        ResetPlayFlags(g_);
        g_.Play.CarryOverMode = 0;
        g_.Play.OpenNoStage = true;
        StartStage(g_, scene, g_.Play.ChallengeMode);
        return;
    }
    ClearSurface(g_, g_.Media.BackBmp);
    ChangeScene(g_, scene);
    // The opening and the menu play the tune the start-up began; the other scenes start theirs.
    if (scene == kSceneOpening || scene == kSceneMenu) PlayMusic(Sounds(g_), kOpeningMusic);
}

}  // namespace kiv
