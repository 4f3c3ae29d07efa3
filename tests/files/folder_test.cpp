// The durable file replacement alone: files read and replaced in a folder held open, links
// followed by hand, folders made.
#include "files/folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "files/paths.h"
#include "test_support.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

Folder Opened(const std::string& dir) {
    Folder f;
    FileError error;
    EXPECT_TRUE(f.Open(dir, error)) << error.Why;
    return f;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(ReplaceFileIn, WritesANewFileOrReplacesTheOldOneWholeAndLeavesNoTemporary) {
    TempDir dir;
    const Folder f = Opened(dir.Path());
    FileError error;
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(ReplaceFileIn(f, "a.ini", "a.ini.tmp", "first", 0640, error)) << error.Why;
    EXPECT_EQ(dir.Read("a.ini"), "first");
    EXPECT_EQ(ModeOf(dir.File("a.ini")), 0640u);
    ASSERT_TRUE(ReplaceFileIn(f, "a.ini", "a.ini.tmp", std::string(100000, 'x'), 0600, error)) << error.Why;
    ::umask(mask);
    EXPECT_EQ(dir.Read("a.ini"), std::string(100000, 'x'));
    EXPECT_EQ(ModeOf(dir.File("a.ini")), 0600u);
    EXPECT_FALSE(dir.Exists("a.ini.tmp"));
    ASSERT_TRUE(ReplaceFileIn(f, "a.ini", "a.ini.tmp", "", 0644, error)) << error.Why;
    EXPECT_EQ(dir.Read("a.ini"), "");
}

TEST(ReplaceFileIn, TheTemporaryIsMadeAfreshAndNeverWrittenThroughALink) {
    TempDir dir;
    dir.Write("victim", "do not touch");
    fs::create_symlink(dir.File("victim"), dir.File("a.ini.tmp"));
    const Folder f = Opened(dir.Path());
    FileError error;
    ASSERT_TRUE(ReplaceFileIn(f, "a.ini", "a.ini.tmp", "records", 0644, error)) << error.Why;
    EXPECT_EQ(dir.Read("victim"), "do not touch");
    EXPECT_EQ(dir.Read("a.ini"), "records");
    EXPECT_FALSE(fs::is_symlink(dir.File("a.ini")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.File("a.ini.tmp"))));

    // A file an earlier crash left at that name is replaced too.
    dir.Write("a.ini.tmp", "half a file");
    ASSERT_TRUE(ReplaceFileIn(f, "a.ini", "a.ini.tmp", "again", 0644, error)) << error.Why;
    EXPECT_EQ(dir.Read("a.ini"), "again");
    EXPECT_FALSE(dir.Exists("a.ini.tmp"));

    // A link standing at the name itself is replaced, not followed.
    fs::remove(dir.File("a.ini"));
    fs::create_symlink("victim", dir.File("a.ini"));
    ASSERT_TRUE(ReplaceFileIn(f, "a.ini", "a.ini.tmp", "mine", 0644, error)) << error.Why;
    EXPECT_EQ(dir.Read("victim"), "do not touch");
    EXPECT_FALSE(fs::is_symlink(dir.File("a.ini")));
    EXPECT_EQ(dir.Read("a.ini"), "mine");
}

TEST(ReplaceFileIn, AFailureLeavesTheOldFileAndNamesWhatFailed) {
    TempDir dir;
    dir.Write("a.ini", "old");
    fs::create_directory(dir.File("a.ini.tmp"));  // in the way, even for the superuser
    const Folder f = Opened(dir.Path());
    FileError error;
    EXPECT_FALSE(ReplaceFileIn(f, "a.ini", "a.ini.tmp", "new", 0644, error));
    EXPECT_EQ(error.Code, EEXIST);
    EXPECT_EQ(error.Why.rfind("cannot create " + dir.File("a.ini.tmp") + ": ", 0), 0u) << error.Why;
    EXPECT_EQ(dir.Read("a.ini"), "old");
    EXPECT_TRUE(fs::is_directory(dir.File("a.ini.tmp")));

    // A folder at the name cannot be replaced by a file: the temporary goes again.
    fs::create_directories(dir.File("b.ini/inside"));
    error = {};
    EXPECT_FALSE(ReplaceFileIn(f, "b.ini", "b.ini.tmp", "new", 0644, error));
    EXPECT_EQ(error.Why.rfind("cannot replace " + dir.File("b.ini") + ": ", 0), 0u) << error.Why;
    EXPECT_TRUE(fs::is_directory(dir.File("b.ini/inside")));
    EXPECT_FALSE(dir.Exists("b.ini.tmp"));
}

TEST(Folder, WhatIsReadAndWrittenStaysInTheFolderOpenedWhateverTheLinkToItBecomes) {
    TempDir dir;
    fs::create_directory(dir.File("first"));
    fs::create_directory(dir.File("second"));
    dir.Write("first/a.ini", "first's");
    dir.Write("second/a.ini", "second's");
    fs::create_symlink("first", dir.File("via"));
    const Folder f = Opened(dir.File("via/"));
    EXPECT_EQ(f.Path(), dir.File("via/"));
    fs::remove(dir.File("via"));
    fs::create_symlink("second", dir.File("via"));

    EXPECT_EQ(ReadFileIn(f, "a.ini", 100).Bytes, "first's");
    FileError error;
    ASSERT_TRUE(ReplaceFileIn(f, "a.ini", "a.ini.tmp", "written", 0644, error)) << error.Why;
    EXPECT_EQ(dir.Read("first/a.ini"), "written");
    EXPECT_EQ(dir.Read("second/a.ini"), "second's");

    Folder missing;
    EXPECT_FALSE(missing.Open(dir.File("none/"), error));
    EXPECT_EQ(error.Code, ENOENT);
    EXPECT_FALSE(missing.IsOpen());
    Folder moved = std::move(missing);
    moved = Opened(dir.File("second/"));
    EXPECT_EQ(ReadFileIn(moved, "a.ini", 100).Bytes, "second's");
}

TEST(ReadFileIn, ReadsOnlyARegularFileAndFollowsNoLink) {
    TempDir dir;
    dir.Write("plain", "bytes");
    ::chmod(dir.File("plain").c_str(), 0604);
    fs::create_symlink("plain", dir.File("link"));
    fs::create_directory(dir.File("folder"));
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    dir.Write("big", "");
    fs::resize_file(dir.File("big"), 1001);  // sparse
    const Folder f = Opened(dir.Path());

    const FileRead plain = ReadFileIn(f, "plain", 5);
    EXPECT_EQ(plain.Result, FileRead::Status::Read);
    EXPECT_EQ(plain.Bytes, "bytes");
    EXPECT_EQ(plain.Mode, 0604u);
    EXPECT_EQ(ReadFileIn(f, "none", 100).Result, FileRead::Status::Missing);
    EXPECT_EQ(ReadFileIn(f, "link", 100).Result, FileRead::Status::Link);
    EXPECT_EQ(ReadFileIn(f, "folder", 100).Result, FileRead::Status::NotRegular);
    // A FIFO with no writer would make a plain open wait for ever.
    EXPECT_EQ(ReadFileIn(f, "fifo", 100).Result, FileRead::Status::NotRegular);
    EXPECT_EQ(ReadFileIn(f, "plain", 4).Result, FileRead::Status::TooLarge);
    EXPECT_EQ(ReadFileIn(f, "plain", 4).Bytes, "");
    EXPECT_EQ(ReadFileIn(f, "big", 1000).Result, FileRead::Status::TooLarge);
    EXPECT_EQ(ReadFileIn(f, "big", 1001).Bytes, std::string(1001, '\0'));
    if (::geteuid() != 0) {
        ::chmod(dir.File("plain").c_str(), 0);
        const FileRead locked = ReadFileIn(f, "plain", 100);
        EXPECT_EQ(locked.Result, FileRead::Status::Failed);
        EXPECT_EQ(locked.Error.Code, EACCES);
        EXPECT_NE(locked.Error.Why.find(dir.File("plain")), std::string::npos) << locked.Error.Why;
    }
}

TEST(FollowLinks, FollowsEveryLinkToWhereTheChainEnds) {
    TempDir dir;
    fs::create_directory(dir.File("sub"));
    dir.Write("sub/end", "x");
    fs::create_symlink("sub/middle", dir.File("start"));  // relative to the link's folder
    fs::create_symlink(dir.File("sub/last"), dir.File("sub/middle"));
    fs::create_symlink("end", dir.File("sub/last"));
    std::string target;
    FileError error;
    ASSERT_TRUE(FollowLinks(dir.File("start"), target, error)) << error.Why;
    EXPECT_EQ(target, dir.File("sub/end"));
    ASSERT_TRUE(FollowLinks(dir.File("sub/end"), target, error));
    EXPECT_EQ(target, dir.File("sub/end"));
    ASSERT_TRUE(FollowLinks(dir.File("nothing"), target, error));
    EXPECT_EQ(target, dir.File("nothing"));

    // A dangling link ends at the name it holds.
    fs::create_symlink("sub/not-yet", dir.File("dangling"));
    ASSERT_TRUE(FollowLinks(dir.File("dangling"), target, error));
    EXPECT_EQ(target, dir.File("sub/not-yet"));

    fs::create_symlink("loop-b", dir.File("loop-a"));
    fs::create_symlink("loop-a", dir.File("loop-b"));
    EXPECT_FALSE(FollowLinks(dir.File("loop-a"), target, error));
    EXPECT_EQ(error.Code, ELOOP);
    EXPECT_NE(error.Why.find("too many levels of links"), std::string::npos) << error.Why;
}

TEST(MakeFolders, MakesEveryMissingFolderForThePlayerAlone) {
    TempDir dir;
    FileError error;
    ASSERT_TRUE(MakeFolders(dir.File("a/b/c/"), error)) << error.Why;
    EXPECT_TRUE(fs::is_directory(dir.File("a/b/c")));
    EXPECT_EQ(ModeOf(dir.File("a/b")) & 0077, 0u);
    ASSERT_TRUE(MakeFolders(dir.File("a/b/c"), error)) << "one that exists is no error";

    dir.Write("file", "");
    EXPECT_FALSE(MakeFolders(dir.File("file/below/"), error));
    EXPECT_NE(error.Why.find(dir.File("file")), std::string::npos) << error.Why;
    EXPECT_FALSE(MakeFolders(dir.File("file"), error));
}

TEST(Paths, FolderAndName) {
    EXPECT_EQ(FolderOf("/a/b/Kiv.ini"), "/a/b/");
    EXPECT_EQ(NameOf("/a/b/Kiv.ini"), "Kiv.ini");
    EXPECT_EQ(FolderOf("Kiv.ini"), "");
    EXPECT_EQ(NameOf("Kiv.ini"), "Kiv.ini");
    EXPECT_EQ(FolderOf("/a/"), "/a/");
    EXPECT_EQ(NameOf("/a/"), "");
}

}  // namespace
}  // namespace kiv
