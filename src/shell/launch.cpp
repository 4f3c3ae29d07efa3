#include "shell/launch.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "data/data_files.h"
#include "platform/headless/headless_platform.h"
#include "shell/form.h"
#include "shell/game.h"

namespace kiv {

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
    return true;
}

std::unique_ptr<Platform> MakePlatform(const LaunchOptions& opt, PlatformFactory makeWindowed, std::string& error,
                                       int& failStatus) {
    failStatus = kExitBadUsage;
    std::unique_ptr<Platform> platform;
    if (opt.headless) {
        auto headless = std::make_unique<HeadlessPlatform>();
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
        platform = makeWindowed();
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
                            [&g] { return static_cast<int>(g.Shell.SceneCounters[1]); });
    }

    TFM1 form(g);
    int status = kExitOk;
    if (form.FormCreate()) {
        // Whatever ends the loop, the pointer comes back and the records are saved.
        bool failed = false;
        try {
            platform.Run(form);
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

int KivMain(int argc, const char* const* argv, PlatformFactory makeWindowed) {
    LaunchOptions opt;
    std::string error;
    if (!ParseCommandLine(argc, argv, opt, error)) {
        std::fprintf(stderr, "kiv: %s\nusage: kiv [wideflower] [--data DIR] [--seed N] [--headless] "
                             "[--script FILE] [--trace FILE] [--scale N] [--fullscreen]\n", error.c_str());
        return kExitBadUsage;
    }
    int failStatus = kExitBadUsage;
    std::unique_ptr<Platform> platform = MakePlatform(opt, makeWindowed, error, failStatus);
    if (!platform) {
        std::fprintf(stderr, "kiv: %s\n", error.c_str());
        return failStatus;
    }
    return RunGame(*platform, opt, ExecutablePath(argc > 0 ? argv[0] : nullptr));
}

}  // namespace kiv
