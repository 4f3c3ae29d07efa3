// Where an installed program finds its demo when no Kiv.txt lies beside it: a user's own
// install (PREFIX/bin/kiv and PREFIX/share/kiv/demo/) and a system package's (/usr/games/kiv and
// /usr/share/games/kiv/demo/), with the folder spelt without "..", since its spelling names the
// player's records folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "data/configuration.h"
#include "data/install_layout.h"
#include "test_support.h"

namespace kiv {
namespace {

// A prefix with the program's folder and, where asked, a demo (a Kiv.txt) in a folder of it.
struct Prefix {
    TempDir root;
    std::string Make(const std::string& folder, bool withGame) const {
        std::filesystem::create_directories(root.File(folder));
        if (withGame) root.Write(folder + "/Kiv.txt", "; a game\r\n");
        return root.Path() + folder + "/";
    }
};

TEST(InstallLayout, AUsersOwnInstallPlaysTheDemoInShareKivDemo) {
    Prefix p;
    const std::string bin = p.Make("bin", false), demo = p.Make("share/kiv/demo", true);
    bool shared = false;
    EXPECT_EQ(FindGameFolder("", bin + "kiv", shared), demo);
    EXPECT_TRUE(shared);
}

TEST(InstallLayout, ASystemPackagePlaysTheDemoInShareGamesKivDemo) {
    Prefix p;
    const std::string games = p.Make("games", false), demo = p.Make("share/games/kiv/demo", true);
    bool shared = false;
    EXPECT_EQ(FindGameFolder("", games + "kiv", shared), demo);  // no "games/../" in it
    EXPECT_TRUE(shared);
}

TEST(InstallLayout, AGameBesideTheProgramOrGivenByDataWinsOverTheInstalledDemo) {
    Prefix p;
    const std::string bin = p.Make("bin", true);
    p.Make("share/kiv/demo", true);
    bool shared = true;
    EXPECT_EQ(FindGameFolder("", bin + "kiv", shared), bin);
    EXPECT_FALSE(shared);

    const std::string other = p.Make("other", true);
    EXPECT_EQ(FindGameFolder(other.substr(0, other.size() - 1), p.Make("bin2", false) + "kiv", shared), other);
    EXPECT_FALSE(shared);
}

TEST(InstallLayout, WithoutAnyGameTheProgramsFolderStaysTheGameFolder) {
    Prefix p;
    const std::string bin = p.Make("bin", false);
    p.Make("share/kiv/demo", false);  // a folder, but no game in it
    bool shared = true;
    EXPECT_EQ(FindGameFolder("", bin + "kiv", shared), bin);
    EXPECT_FALSE(shared);
}

TEST(InstallLayout, TheConfiguredPlaceComesFirstThenBothLayoutsEachOnce) {
    const auto folders = InstalledDemoFolders("/usr/games/");
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders.front(), InstalledDemoFolders("/usr/games/x/../").front());
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "/usr/share/games/kiv/demo/"), 1);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "/usr/share/kiv/demo/"), 1);
    for (const std::string& f : folders) EXPECT_EQ(f.find(".."), std::string::npos) << f;
    // The build's own layout is one of the two, seen from its program's folder.
    const std::string configured = kDemoFromProgramDir;
    EXPECT_TRUE(configured == "../share/kiv/demo" || configured == "../share/games/kiv/demo") << configured;
}

TEST(InstallLayout, ParentStepsStopAtTheRootAndStayInRelativePaths) {
    const auto atRoot = InstalledDemoFolders("/");
    EXPECT_NE(std::find(atRoot.begin(), atRoot.end(), "/share/kiv/demo/"), atRoot.end());
    const auto here = InstalledDemoFolders("./");
    EXPECT_NE(std::find(here.begin(), here.end(), "../share/kiv/demo/"), here.end());
    const auto relative = InstalledDemoFolders("a/bin/");
    EXPECT_NE(std::find(relative.begin(), relative.end(), "a/share/kiv/demo/"), relative.end());
}

}  // namespace
}  // namespace kiv
