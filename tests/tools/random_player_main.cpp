// kiv_random_player: plays a game headless with many seeded random scripts and reports every
// run that crashed, printed anything, showed a message or left Kiv.ini unreadable.
//
//   kiv_random_player --binary build-test/game/kiv --game build-test/game [--work DIR]
//                     [--first SEED] [--count N] [--frames N] [--timeout SECONDS] [--keep]
//
// The game folder is copied into the work folder (without the program and without Kiv.ini),
// and every run plays that copy, so the records of one run are read by the next.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "random_player.h"

namespace fs = std::filesystem;
using namespace kiv::randomplay;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: kiv_random_player --binary KIV --game DIR [--work DIR] [--first SEED] [--count N]\n"
                 "                         [--frames N] [--timeout SECONDS] [--keep]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Setup s;
    std::string game, work = "random-player-work";
    long first = 1, count = 100;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--keep") {
            s.keep = true;
            continue;
        }
        if (i + 1 >= argc) return Usage();
        const std::string v = argv[++i];
        if (a == "--binary")
            s.binary = fs::absolute(v).string();
        else if (a == "--game")
            game = v;
        else if (a == "--work")
            work = v;
        else if (a == "--first")
            first = std::atol(v.c_str());
        else if (a == "--count")
            count = std::atol(v.c_str());
        else if (a == "--frames")
            s.frames = std::atoi(v.c_str());
        else if (a == "--timeout")
            s.timeoutSeconds = std::atoi(v.c_str());
        else
            return Usage();
    }
    if (s.binary.empty() || game.empty() || count < 1 || s.frames < 1) return Usage();

    std::error_code ec;
    fs::create_directories(work + "/game", ec);
    for (const auto& e : fs::directory_iterator(game, ec)) {
        const std::string name = e.path().filename().string();
        if (!e.is_regular_file() || name == "kiv" || name == "Kiv.ini") continue;
        fs::copy_file(e.path(), fs::path(work) / "game" / name, fs::copy_options::overwrite_existing, ec);
    }
    fs::remove(work + "/game/Kiv.ini", ec);
    s.gameDir = fs::absolute(work + "/game").string();
    s.workDir = fs::absolute(work).string();
    s.presetName = PresetNameOf(s.gameDir);

    long failed = 0;
    std::map<int, long> sceneRuns;
    for (long n = 0; n < count; ++n) {
        const Outcome o = PlayOnce(s, static_cast<uint32_t>(first + n));
        std::string scenes;
        for (int sc : o.scenes) {
            scenes += (scenes.empty() ? "" : ",") + std::to_string(sc);
            ++sceneRuns[sc];
        }
        std::printf("seed %u: %s, %ld frames, scenes %s\n", o.seed, o.problems.empty() ? "ok" : "FAILED", o.frames,
                    scenes.c_str());
        for (const std::string& p : o.problems) std::printf("    %s\n", p.c_str());
        std::fflush(stdout);
        if (!o.problems.empty()) ++failed;
    }
    std::printf("%ld runs, %ld failed; runs per scene:", count, failed);
    for (const auto& [scene, runs] : sceneRuns) std::printf(" %d:%ld", scene, runs);
    std::printf("\n");
    return failed ? 1 : 0;
}
