// The command line a newcomer meets: --help, --version, an unknown option, and --check run by
// the real binary.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "check_demo_copy.h"
#include "run_kiv.h"
#include "shell/launch.h"
#include "shell/version.h"
#include "test_game.h"

namespace kiv {
namespace {

TEST(CommandLineHelp, HelpNamesEveryFlagTheFoldersAndTheExitStatuses) {
    const Ran r = RunKiv("--help");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, UsageText());
    for (const char* word : {"wideflower",
                             "--data DIR",
                             "--seed N",
                             "--headless",
                             "--script FILE",
                             "--trace FILE",
                             "--scale N",
                             "--fullscreen",
                             "--check",
                             "--help",
                             "--version",
                             "Kiv.txt",
                             "folder of the kiv program",
                             "share/kiv/demo",
                             "Kiv.ini",
                             ".local/share/kiv",
                             "  0  ",
                             "  1  ",
                             "  2  ",
                             "  3  "})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    EXPECT_EQ(RunKiv("wideflower --headless --help").status, 0);  // it does not start the game
}

TEST(CommandLineHelp, VersionComesFromTheProjectVersion) {
    const Ran r = RunKiv("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string("kiv ") + kKivVersion + "\n");
    EXPECT_EQ(std::string(kKivVersion).find_first_not_of("0123456789."), std::string::npos) << kKivVersion;
}

TEST(CommandLineHelp, AnUnknownOptionEndsWithStatusTwoAndPointsAtHelp) {
    const Ran r = RunKiv("--frobnicate");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown option --frobnicate"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("kiv --help"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST(CommandLineCheck, ChecksTheProgramsOwnFolderOrTheDataFolder) {
    // Without --data the game folder is the executable's: the demo beside it.
    const Ran own = RunKiv("--check");
    EXPECT_EQ(own.status, 0) << own.out << own.err;
    EXPECT_EQ(own.out, std::string(KIV_GAME_DIR) + "/: 0 errors, 0 warnings\n");

    DemoCopy broken;
    broken.SetNumber(30, 0, "12");  // stage 6 skips the ending
    broken.Remove("Q09.wav");       // effect slot 8 is silent
    broken.Check();                 // writes Kiv.txt
    const Ran r = RunKiv("--check --data " + broken.dir.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "Kiv.txt:30: StageParams of stage 6: a clear leads to scene 13; byte 0 must lead on to "
              "a stage (1 to 10 for scenes 2 to 11) or to the ending (11)\n"
              "Q09.wav: warning: missing: effect slot 8 (Kiv.txt:36) stays silent\n" +
                  broken.dir.Path() + ": 1 error, 1 warning\n");
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST(CommandLineCheck, ParsedAsAFlagBesideTheOthers) {
    const char* argv[] = {"kiv", "--check", "--data", "/g"};
    LaunchOptions opt;
    std::string error;
    ASSERT_TRUE(ParseCommandLine(4, argv, opt, error)) << error;
    EXPECT_TRUE(opt.check);
    EXPECT_EQ(opt.dataDir, "/g");
    EXPECT_FALSE(opt.help || opt.version);
}

}  // namespace
}  // namespace kiv
