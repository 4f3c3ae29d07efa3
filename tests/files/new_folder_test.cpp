// NewFolder: files made afresh in a folder of their own, never through a link, and taken away
// again when the whole cannot be made.
#include "files/new_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "test_support.h"

namespace kiv {
namespace {

TEST(NewFolder, CreatesOnlyNewRegularFilesAndNeverWritesThroughALink) {
    TempDir parent, elsewhere;
    NewFolder folder;
    FileError error;
    ASSERT_TRUE(folder.Open(parent.File("a/b"), error)) << error.Why;
    EXPECT_EQ(folder.Path(), parent.File("a/b") + "/");
    ASSERT_TRUE(folder.Create("one.txt", "1", 0644, error)) << error.Why;
    EXPECT_EQ(parent.Read("a/b/one.txt"), "1");

    // A name already there, or a link put in the way, is an error and nothing is written.
    EXPECT_FALSE(folder.Create("one.txt", "again", 0644, error));
    EXPECT_EQ(parent.Read("a/b/one.txt"), "1");
    elsewhere.Write("victim", "keep");
    ASSERT_EQ(::symlink(elsewhere.File("victim").c_str(), parent.File("a/b/two.txt").c_str()), 0);
    EXPECT_FALSE(folder.Create("two.txt", "through", 0644, error));
    EXPECT_NE(error.Why.find("two.txt"), std::string::npos) << error.Why;
    EXPECT_EQ(elsewhere.Read("victim"), "keep");
    ASSERT_EQ(::symlink(elsewhere.File("new").c_str(), parent.File("a/b/three.txt").c_str()), 0);
    EXPECT_FALSE(folder.Create("three.txt", "dangling", 0644, error));
    EXPECT_FALSE(elsewhere.Exists("new"));
}

TEST(NewFolder, AbandonTakesAwayWhatItMadeAndNothingElse) {
    TempDir parent;
    {
        NewFolder folder;
        FileError error;
        ASSERT_TRUE(folder.Open(parent.File("made"), error)) << error.Why;
        ASSERT_TRUE(folder.Create("x", "1", 0644, error));
        ASSERT_TRUE(folder.Create("y", "2", 0644, error));
        folder.Abandon();
    }
    EXPECT_FALSE(parent.Exists("made"));

    ASSERT_EQ(::mkdir(parent.File("given").c_str(), 0755), 0);
    NewFolder folder;
    FileError error;
    ASSERT_TRUE(folder.Open(parent.File("given") + "/", error)) << error.Why;
    ASSERT_TRUE(folder.Create("x", "1", 0644, error));
    // Something another program put there meanwhile is not the folder's to take away.
    parent.Write("given/theirs", "t");
    folder.Abandon();
    EXPECT_TRUE(parent.Exists("given"));
    EXPECT_FALSE(parent.Exists("given/x"));
    EXPECT_EQ(parent.Read("given/theirs"), "t");
}

TEST(NewFolder, RefusesAFullFolderALinkAndAFile) {
    TempDir parent, target;
    FileError error;
    parent.Write("f", "x");
    EXPECT_FALSE(NewFolder().Open(parent.File("f"), error));
    EXPECT_NE(error.Why.find("is no folder"), std::string::npos) << error.Why;
    ASSERT_EQ(::symlink(target.Path().c_str(), parent.File("l").c_str()), 0);
    EXPECT_FALSE(NewFolder().Open(parent.File("l"), error));
    EXPECT_NE(error.Why.find("is a link"), std::string::npos) << error.Why;
    EXPECT_FALSE(NewFolder().Open(parent.Path(), error));
    EXPECT_NE(error.Why.find("is not empty"), std::string::npos) << error.Why;
    EXPECT_FALSE(NewFolder().Open("", error));
    EXPECT_FALSE(NewFolder().Open("/", error));
}

}  // namespace
}  // namespace kiv
