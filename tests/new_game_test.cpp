// kiv --new DIR: a copy of the bundled demo that checks clean, and the folders it refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "run_kiv.h"
#include "shell/new_game.h"
#include "test_support.h"

namespace kiv {
namespace {

std::set<std::string> Names(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(NewGame, CopiesTheDemosGameFilesAndAReadmeAndChecksClean) {
    TempDir parent;
    // The demo beside the program may hold records of earlier plays: they stay behind.
    const std::string dir = parent.File("games/mine");
    const Ran made = RunKiv("--new " + dir);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("kiv --check --data " + dir + "/"), std::string::npos) << made.out;
    std::set<std::string> expected{"README.txt"};
    for (const std::string& name : Names(KIV_GAME_DIR))
        if (name != "kiv" && name != "Kiv.ini") expected.insert(name);
    EXPECT_EQ(Names(dir), expected);
    for (const std::string& name : expected) {
        if (name == "README.txt") continue;
        EXPECT_EQ(ReadAll(std::string(dir).append("/").append(name)),
                  ReadAll(std::string(KIV_GAME_DIR).append("/").append(name)))
            << name;
    }
    const std::string readme = ReadAll(dir + "/README.txt");
    EXPECT_EQ(readme, NewGameReadme());
    EXPECT_NE(readme.find("docs/game-makers.md"), std::string::npos);

    const Ran checked = RunKiv("--check --data " + dir);
    EXPECT_EQ(checked.status, 0) << checked.out;
    EXPECT_EQ(checked.out, dir + "/: 0 errors, 0 warnings\n");
    // And it plays: a headless run through the opening into the menu ends cleanly.
    parent.Write("script.txt", "frames 5\nclick 320 240\nuntil-scene 1 300\nframes 20\n");
    EXPECT_EQ(RunKiv("--headless --data " + dir + " --script " + parent.File("script.txt")).status, 0);

    // An empty folder that is there already is taken.
    ASSERT_EQ(::mkdir(parent.File("empty").c_str(), 0755), 0);
    EXPECT_EQ(RunKiv("--new " + parent.File("empty")).status, 0);
    EXPECT_EQ(Names(parent.File("empty")), expected);
}

TEST(NewGame, RefusesAFolderThatHoldsAnythingALinkAndAFileAndWritesNothing) {
    TempDir parent, target;
    ASSERT_EQ(::mkdir(parent.File("full").c_str(), 0755), 0);
    parent.Write("full/Kiv.txt", "my own game");
    Ran r = RunKiv("--new " + parent.File("full"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is not empty"), std::string::npos) << r.err;
    EXPECT_EQ(Names(parent.File("full")), std::set<std::string>{"Kiv.txt"});
    EXPECT_EQ(parent.Read("full/Kiv.txt"), "my own game");

    // A hidden file is something too.
    ASSERT_EQ(::mkdir(parent.File("hidden").c_str(), 0755), 0);
    parent.Write("hidden/.keep", "");
    EXPECT_EQ(RunKiv("--new " + parent.File("hidden")).status, 1);
    EXPECT_EQ(Names(parent.File("hidden")), std::set<std::string>{".keep"});

    // A link to an empty folder is not followed: the folder it names stays empty.
    ASSERT_EQ(::symlink(target.Path().c_str(), parent.File("link").c_str()), 0);
    r = RunKiv("--new " + parent.File("link"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is a link"), std::string::npos) << r.err;
    EXPECT_TRUE(Names(target.Path()).empty());
    // Nor is a dangling one, which would otherwise lead to a folder made elsewhere.
    ASSERT_EQ(::symlink(target.File("made-there").c_str(), parent.File("dangling").c_str()), 0);
    EXPECT_EQ(RunKiv("--new " + parent.File("dangling")).status, 1);
    EXPECT_FALSE(target.Exists("made-there"));

    parent.Write("file", "x");
    r = RunKiv("--new " + parent.File("file"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is no folder"), std::string::npos) << r.err;
    EXPECT_EQ(parent.Read("file"), "x");

    EXPECT_EQ(RunKiv("--new").status, 2);
    EXPECT_EQ(RunKiv("--new " + parent.File("x") + " --check").status, 2);
    EXPECT_FALSE(parent.Exists("x"));
}

}  // namespace
}  // namespace kiv
