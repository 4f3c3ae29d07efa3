#include "shell/launch.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "check/game_check.h"
#include "data/configuration.h"
#include "data/data_files.h"
#include "data/random.h"
#include "game/game.h"
#include "game/scene_control.h"
#include "maker/maker_tools.h"
#include "platform/headless/headless_platform.h"
#include "scenes/menu/menu.h"
#include "shell/form.h"
#include "shell/new_game.h"
#include "shell/recorder.h"
#include "shell/version.h"

namespace kiv {

std::string UsageText() {
    return "usage: kiv [wideflower] [--data DIR] [--seed N] [--headless] [--script FILE] [--trace FILE]\n"
           "           [--scale N] [--fullscreen]\n"
           "           [--stage N] [--maker]\n"
           "           [--record FILE]\n"
           "       kiv --check [--data DIR]\n"
           "       kiv --check --render DIR [--data DIR]\n"
           "       kiv --new DIR\n"
           "       kiv --help | --version\n"
           "\n"
           "Plays the game in the game folder.\n"
           "\n"
           "  wideflower     as the first argument only: a 580 x 380 window instead of 640 x 480\n"
           "  --data DIR     the game folder is DIR: take Kiv.txt, the pictures and sounds from there\n"
           "  --seed N       seed the random generator with N (decimal or 0x hex) instead of the clock\n"
           "  --headless     no window and no sound device; a virtual clock (for scripts and tests)\n"
           "  --script FILE  input for a headless run (needs --headless)\n"
           "  --trace FILE   write what a player would see and hear, one JSON object a line\n"
           "  --scale N      show each game pixel as N x N screen pixels (1 to 8)\n"
           "  --fullscreen   full screen, at the largest whole scale that fits (Alt+Enter switches)\n"
           "  --stage N      start straight in stage N (1 to 10), as choosing it in the title menu does\n"
           "  --maker        for game makers: F9 shows the stage's data over the picture, and a saved\n"
           "                 change to Kiv.txt or to a file of the scene starts the scene again\n"
           "  --record FILE  in the window: write the player's input into FILE as a script, as it\n"
           "                 happens; kiv --headless --script FILE plays the run again\n"
           "  --check        check the game folder without playing it: every problem on a line of its\n"
           "                 own (errors stop or break the game, warnings only sound or look amiss)\n"
           "  --render DIR   with --check: also draw every stage into DIR/stage-NN.png, its check\n"
           "                 points numbered and marked, its zones and spots outlined\n"
           "  --new DIR      write a copy of the demo game into DIR (a new or an empty folder) as the\n"
           "                 start of a game of your own, and end\n"
           "  --help         show this help and end\n"
           "  --version      show the version and end\n"
           "\n"
           "Files: the game folder holds Kiv.txt, the pictures (.jpg or .bmp), the sounds (.wav) and\n"
           "the music (.mid). It is DIR of --data, else the folder of the kiv program itself; an\n"
           "installed kiv with no Kiv.txt beside it plays the demo installed with it, in\n"
           "PREFIX/share/kiv/demo for PREFIX/bin/kiv, in /usr/share/games/kiv/demo for /usr/games/kiv.\n"
           "Kiv.ini keeps the open stages, the ranking and the player's name: in the game folder when\n"
           "the player may write there, else (and for the installed demo) in\n"
           "$XDG_DATA_HOME/kiv/<game folder>/ (by default ~/.local/share/kiv/...).\n"
           "\n"
           "Exit status:\n"
           "  0  the window was closed normally; --check found no errors (warnings allowed)\n"
           "  1  a required file was missing, unreadable or malformed, no window could be opened,\n"
           "     or an unexpected error ended the game; --check found errors\n"
           "  2  a bad command line or script\n"
           "  3  a script's until-scene or until-step gave up\n"
           "\n"
           "More: the manual page kiv(6), docs/headless.md (scripts and traces) and\n"
           "docs/game-makers.md (making a game).\n";
}

std::string VersionText() { return std::string("kiv ") + kKivVersion + "\n"; }

bool ParseCommandLine(int argc, const char* const* argv, LaunchOptions& opt, std::string& error) {
    opt = LaunchOptions{};
    if (argc > 1) opt.firstArg = argv[1];
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                error = a + " needs a value";
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (a == "--headless") {
            opt.headless = true;
        } else if (a == "--help") {
            opt.help = true;
        } else if (a == "--version") {
            opt.version = true;
        } else if (a == "--check") {
            opt.check = true;
        } else if (a == "--data") {
            if (!value(opt.dataDir)) return false;
        } else if (a == "--script") {
            if (!value(opt.scriptFile)) return false;
        } else if (a == "--trace") {
            if (!value(opt.traceFile)) return false;
        } else if (a == "--seed") {
            std::string s;
            if (!value(s)) return false;
            const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
            char* end = nullptr;
            errno = 0;
            long long v = std::strtoll(s.c_str(), &end, hex ? 16 : 10);
            if (s.empty() || *end != '\0' || errno != 0 || v < INT32_MIN || v > UINT32_MAX) {
                error = "--seed needs a whole number, not '" + s + "'";
                return false;
            }
            opt.seedGiven = true;
            opt.seed = static_cast<uint32_t>(v);
        } else if (a == "--scale") {
            std::string s;
            if (!value(s)) return false;
            char* end = nullptr;
            long v = std::strtol(s.c_str(), &end, 10);
            if (s.empty() || *end != '\0' || v < 1 || v > kMaxScale) {
                // Built piece by piece: GCC 12 warns falsely about "literal" + string temporaries.
                error = "--scale needs a whole number from 1 to ";
                error += std::to_string(kMaxScale);
                error += ", not '";
                error += s;
                error += "'";
                return false;
            }
            opt.scale = static_cast<int>(v);
        } else if (a == "--fullscreen") {
            opt.fullscreen = true;
        } else if (a == "--stage") {
            std::string s;
            if (!value(s)) return false;
            char* end = nullptr;
            long v = std::strtol(s.c_str(), &end, 10);
            if (s.empty() || *end != '\0' || v < 1 || v > kLastStage) {
                error = "--stage needs a stage number from 1 to ";
                error += std::to_string(kLastStage);
                error += ", not '";
                error += s;
                error += "'";
                return false;
            }
            opt.stage = static_cast<int>(v);
        } else if (a == "--maker") {
            opt.maker = true;
        } else if (a == "--render") {
            if (!value(opt.renderDir)) return false;
            if (opt.renderDir.empty()) {
                error = a + " needs a value";
                return false;
            }
        } else if (a == "--new") {
            if (!value(opt.newDir)) return false;
            if (opt.newDir.empty()) {
                error = a + " needs a value";
                return false;
            }
        } else if (a == "--record") {
            if (!value(opt.recordFile)) return false;
            if (opt.recordFile.empty()) {
                error = a + " needs a value";
                return false;
            }
        } else if (a.rfind("--", 0) == 0) {
            error = "unknown option " + a;
            return false;
        }
        // Any other word is ignored, as the first one is except for "wideflower".
    }
    if (!opt.scriptFile.empty() && !opt.headless) {
        error = "--script works only with --headless";
        return false;
    }
    if (!opt.renderDir.empty() && !opt.check) {
        error = "--render works only with --check";
        return false;
    }
    if (!opt.newDir.empty() && opt.check) {
        error = "--new makes a game and ends: check it afterwards with --check --data DIR";
        return false;
    }
    if (!opt.recordFile.empty() && opt.headless) {
        error = "--record works only in a window, not with --headless";
        return false;
    }
    return true;
}

std::unique_ptr<Platform> MakePlatform(const LaunchOptions& opt, const Backend& backend, std::string& error,
                                       int& failStatus) {
    failStatus = kExitBadUsage;
    std::unique_ptr<Platform> platform;
    if (opt.headless) {
        auto headless = std::make_unique<HeadlessPlatform>();
        headless->SetFonts(backend.Fonts);
        if (!opt.scriptFile.empty()) {
            std::string text;
            std::vector<ScriptCommand> script;
            if (!ReadWholeFile(opt.scriptFile, text)) {
                error = "cannot read script " + opt.scriptFile;
                return nullptr;
            }
            if (!ParseScript(text, script, error)) return nullptr;
            headless->SetScript(std::move(script));
        }
        platform = std::move(headless);
    } else {
        platform = backend.MakeWindowed ? backend.MakeWindowed() : nullptr;
        if (!platform) {
            error = "cannot open a window (try --headless)";
            failStatus = kExitHalted;
            return nullptr;
        }
        platform->SetView(ViewOptions{opt.scale, opt.fullscreen});
    }
    if (!opt.traceFile.empty() && !platform->GetTrace().Open(opt.traceFile)) {
        error = "cannot write trace " + opt.traceFile;
        return nullptr;
    }
    return platform;
}

namespace {

// The second line of a record: how to replay it.
std::string RecordComment(const LaunchOptions& opt, const std::string& exePath) {
    bool shared = false;
    const std::string folder = FindGameFolder(opt.dataDir, exePath, shared);
    return std::string("recorded in a window by ") + "kiv " + kKivVersion + "; replay it with: kiv " +
           (opt.firstArg == "wideflower" ? "wideflower " : "") + "--headless --data " + folder +
           " --script THIS_FILE (from the records the run started with)";
}

}  // namespace

int RunGame(Platform& platform, const LaunchOptions& opt, const std::string& exePath) {
    auto game = std::make_unique<Game>(platform);
    Game& g = *game;
    g.ExePath = exePath;
    g.DataDirOverride = opt.dataDir;
    g.FirstArg = opt.firstArg;
    if (opt.seedGiven) {
        g.Rand.RandSeed = opt.seed;
        g.SeedGiven = true;
    }
    auto* headless = dynamic_cast<HeadlessPlatform*>(&platform);
    if (headless) {
        headless->SetProbes([&g] { return static_cast<int>(g.Shell.SceneNo); },
                            [&g] { return static_cast<int>(SceneStep(g)); });
        // A script that starts with a seed replays a recorded run: its seed is the run's.
        if (uint32_t seed = 0; headless->Seed(seed)) {
            g.Rand.RandSeed = seed;
            g.SeedGiven = true;
        }
    }

    TFM1 form(g);
    MakerTools maker(g, opt.maker);
    form.SetMakerTools(&maker);
    std::unique_ptr<InputRecorder> recorder;
    if (!opt.recordFile.empty()) {
        // The seed is drawn here, so that the script can say it before the game starts.
        if (!g.SeedGiven) {
            Randomize(g.Rand);
            g.SeedGiven = true;
        }
        recorder = std::make_unique<InputRecorder>(
            form, [&g] { return g.Shell.FramesRun; }, [&platform] { return platform.Closed(); });
        std::string error;
        if (!recorder->Open(opt.recordFile, g.Rand.RandSeed, RecordComment(opt, exePath), error)) {
            std::fprintf(stderr, "kiv: %s\n", error.c_str());
            return kExitBadUsage;
        }
    }
    FormEvents& events = recorder ? static_cast<FormEvents&>(*recorder) : form;
    int status = kExitOk;
    if (form.FormCreate()) {
        if (opt.stage > 0 && !g.Shell.HaltRequested) StartStageDirectly(g, opt.stage);
        // Whatever ends the loop, the pointer comes back and the records are saved.
        bool failed = false;
        try {
            platform.Run(events);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "kiv: unexpected error: %s\n", e.what());
            failed = true;
        } catch (...) {
            std::fprintf(stderr, "kiv: unexpected error\n");
            failed = true;
        }
        platform.SetCursor(kCursorDefault);
        form.FormDestroy();
        if (g.Shell.CloseRequested || failed) status = kExitHalted;
    } else {
        status = kExitHalted;
    }
    if (recorder && !recorder->Finish()) std::fprintf(stderr, "kiv: %s\n", recorder->Error().c_str());
    if (headless && headless->GaveUp()) {
        std::fprintf(stderr, "kiv: %s\n", headless->GaveUpMessage().c_str());
        status = kExitGaveUp;
    }
    platform.TraceEvent("exit", {{"status", Trace::Num(status)}});
    return status;
}

static std::string ExecutablePath(const char* argv0) {
    char buf[PATH_MAX + 1];
    ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
    if (n > 0) return std::string(buf, static_cast<size_t>(n));
    char* real = argv0 ? ::realpath(argv0, nullptr) : nullptr;
    std::string path = real ? real : (argv0 ? argv0 : "");
    std::free(real);
    return path;
}

int KivMain(int argc, const char* const* argv, const Backend& backend) {
    LaunchOptions opt;
    std::string error;
    if (!ParseCommandLine(argc, argv, opt, error)) {
        std::fprintf(stderr, "kiv: %s\nTry 'kiv --help' for the usage.\n", error.c_str());
        return kExitBadUsage;
    }
    if (opt.help) {
        std::fputs(UsageText().c_str(), stdout);
        return kExitOk;
    }
    if (opt.version) {
        std::fputs(VersionText().c_str(), stdout);
        return kExitOk;
    }
    if (opt.check) {
        bool shared = false;
        const std::string dir = FindGameFolder(opt.dataDir, ExecutablePath(argc > 0 ? argv[0] : nullptr), shared);
        if (!opt.renderDir.empty())
            return RunCheck(dir, stdout, backend.CanPlayWave, StageRender{opt.renderDir, backend.Fonts});
        return RunCheck(dir, stdout, backend.CanPlayWave);
    }
    if (!opt.newDir.empty()) return MakeNewGame(opt.newDir, ExecutablePath(argc > 0 ? argv[0] : nullptr), stdout);
    int failStatus = kExitBadUsage;
    std::unique_ptr<Platform> platform = MakePlatform(opt, backend, error, failStatus);
    if (!platform) {
        std::fprintf(stderr, "kiv: %s\n", error.c_str());
        return failStatus;
    }
    return RunGame(*platform, opt, ExecutablePath(argc > 0 ? argv[0] : nullptr));
}

}  // namespace kiv
