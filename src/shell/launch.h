#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio.h"
#include "platform/font.h"
#include "platform/platform.h"

namespace kiv {

// Exit statuses of the program.
constexpr int kExitOk = 0;
constexpr int kExitHalted = 1;    // a required file was missing or malformed
constexpr int kExitBadUsage = 2;  // a bad command line or script
constexpr int kExitGaveUp = 3;    // a script's until-... gave up

constexpr int kLastStage = 10;  // --stage takes 1..kLastStage

struct LaunchOptions {
    std::string firstArg;  // decides the display mode, whatever it is
    std::string dataDir;
    std::string scriptFile;
    std::string traceFile;
    bool headless = false;
    int scale = 1;            // the real window: each game pixel as scale x scale pixels
    bool fullscreen = false;  // the real window: full screen
    bool seedGiven = false;
    uint32_t seed = 0;
    bool help = false;       // print the usage and end
    bool version = false;    // print the version and end
    bool check = false;      // check the game folder instead of playing
    int stage = 0;           // 1..10: start in that stage; 0: the opening as usual
    bool maker = false;      // the game maker's overlay (F9) and reload on save
    std::string renderDir;   // with check: write a picture of each stage's data into it
    std::string newDir;      // write a copy of the demo game into it instead of playing
    std::string recordFile;  // a window run writes the player's input into it as a script
};

// What --help prints: every flag with its meaning, the exit statuses, and where the game
// folder and Kiv.ini are.
std::string UsageText();
// What --version prints: "kiv X.Y.Z".
std::string VersionText();

// Reads the command line (argv[1..]); false with a message for a bad one.
bool ParseCommandLine(int argc, const char* const* argv, LaunchOptions& opt, std::string& error);

// What the program takes from the back end it is built with: the real window (null when
// there is none), the font of headless runs, and whether the sound devices can play a WAV file
// (null: not asked).
using PlatformFactory = std::unique_ptr<Platform> (*)();
struct Backend {
    PlatformFactory MakeWindowed = nullptr;
    FontRenderer* Fonts = nullptr;
    WaveProbe CanPlayWave = nullptr;
};

// Makes the platform the options ask for; the real one comes from the back end. Null with a
// message and the exit status to end with when there is no window, or the script cannot be
// read, or the trace cannot be written.
std::unique_ptr<Platform> MakePlatform(const LaunchOptions& opt, const Backend& backend, std::string& error,
                                       int& failStatus);

// Runs the game from start-up to shutdown; returns the exit status.
int RunGame(Platform& platform, const LaunchOptions& opt, const std::string& exePath);

// The whole program: command line, platform, game. Used by main().
int KivMain(int argc, const char* const* argv, const Backend& backend);

}  // namespace kiv
