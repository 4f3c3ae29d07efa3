// Records that survive a kill: a process killed (SIGKILL) at a random moment while it saves
// Kiv.ini leaves either the old file or the new one, whole, and the next save works. The
// number of kills is bounded here; KIV_KILL_COUNT=N runs N of them (the program's own runs get
// an eighth of that).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "game/game.h"
#include "game/records_settings.h"
#include "platform/headless/headless_platform.h"
#include "records/records_store.h"
#include "test_game.h"

extern char** environ;

namespace kiv {
namespace {

int KillCount(int fallback) {
    const char* v = std::getenv("KIV_KILL_COUNT");
    const int n = v ? std::atoi(v) : 0;
    return n > 0 ? n : fallback;
}

std::array<RankEntry, 31> Ranks(const std::string& name, int base) {
    std::array<RankEntry, 31> r{};
    for (int k = 1; k <= 30; ++k) r[k] = "*****" + name + std::to_string(base - 10 * k);
    return r;
}

// Watches a folder for the temporary file of a save being made.
class SaveWatch {
public:
    explicit SaveWatch(const TempDir& dir) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd_ >= 0) ::inotify_add_watch(fd_, dir.Path().c_str(), IN_CREATE);
    }
    ~SaveWatch() {
        if (fd_ >= 0) ::close(fd_);
    }
    // Waits until a save begins (its temporary file is made); false after timeoutMs.
    bool WaitForSave(int timeoutMs) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        alignas(inotify_event) char buf[4096];
        while (fd_ >= 0 && std::chrono::steady_clock::now() < until) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0) continue;
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
                if (e->len > 0 && std::string(e->name) == "Kiv.ini.tmp") return true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
        return false;
    }
    // Forgets the events seen so far.
    void Drain() {
        char buf[4096];
        while (fd_ >= 0 && ::read(fd_, buf, sizeof buf) > 0) {}
    }

private:
    int fd_;
};

// Kills pid after a pause and reaps it; false when it ended on its own.
bool KillAfter(pid_t pid, std::chrono::microseconds pause) {
    std::this_thread::sleep_for(pause);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

TEST(RecordsKill, ASaveKilledAnywhereLeavesTheOldOrTheNewFileWhole) {
    TempDir dir;
    // Three versions of the records: the file as it was, and the two a saving child alternates
    // between. They differ in length, so a file cut short or mixed from two is seen.
    const std::string old = UpdateRecordsIni("; my own notes\r\n[Kiv]\r\nMyName=Hanako\r\n", 1, Ranks("master", 3000));
    const std::string a = UpdateRecordsIni(old, 2, Ranks("ab", 99000));
    const std::string b = UpdateRecordsIni(old, 3, Ranks("abcdef", 1000));
    ASSERT_EQ(UpdateRecordsIni(a, 3, Ranks("abcdef", 1000)), b);

    std::mt19937 rng(20240611);
    const int kills = KillCount(150);
    int sawOld = 0, sawA = 0, sawB = 0, leftTemporary = 0;
    SaveWatch watch(dir);
    for (int i = 0; i < kills; ++i) {
        dir.Write("Kiv.ini", old);
        ::unlink(dir.File("Kiv.ini.tmp").c_str());
        watch.Drain();
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // The child saves for ever (a few seconds at most), one version after the other.
            HeadlessPlatform platform;
            Game g(platform);
            g.Cfg.AppDir = dir.Path();
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            for (int n = 0; std::chrono::steady_clock::now() < until; ++n) {
                g.Records.StagesOpen = n % 2 ? 3 : 2;
                g.Records.RankTable = n % 2 ? Ranks("abcdef", 1000) : Ranks("ab", 99000);
                if (!SaveRecords(g.Records, RecordsSettingsOf(g), platform)) ::_exit(3);
            }
            ::_exit(0);
        }
        // Some time into its saves: during the first one, or after a few.
        EXPECT_TRUE(watch.WaitForSave(10000)) << "the child never saved";
        ASSERT_TRUE(KillAfter(pid, std::chrono::microseconds(std::uniform_int_distribution<int>(0, 15000)(rng))))
            << "the saving child ended on its own";
        const std::string now = dir.Read("Kiv.ini");
        if (now == old)
            ++sawOld;
        else if (now == a)
            ++sawA;
        else if (now == b)
            ++sawB;
        else
            ADD_FAILURE() << "kill " << i << " left a damaged Kiv.ini:\n" << now;
        if (dir.Exists("Kiv.ini.tmp")) ++leftTemporary;
    }
    std::printf("%d kills: old file %d, first version %d, second version %d; a temporary file was left %d times\n",
                kills, sawOld, sawA, sawB, leftTemporary);

    // What a killed save left behind does not stand in the way of the next one.
    HeadlessPlatform platform;
    Game g(platform);
    g.Cfg.AppDir = dir.Path();
    dir.Write("Kiv.ini.tmp", "half a fi");
    g.Records.StagesOpen = 3;
    g.Records.RankTable = Ranks("abcdef", 1000);
    ASSERT_TRUE(SaveRecords(g.Records, RecordsSettingsOf(g), platform));
    EXPECT_EQ(dir.Read("Kiv.ini"), UpdateRecordsIni(old, 3, Ranks("abcdef", 1000)));
}

// Runs the program headless over dir with the script; returns its pid.
pid_t StartProgram(const TempDir& dir, const std::string& script) {
    const std::string bin = KIV_BINARY, data = dir.Path();
    const char* argv[] = {bin.c_str(), "--headless", "--data", data.c_str(), "--script", script.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (::posix_spawn(&pid, bin.c_str(), &actions, nullptr, const_cast<char**>(argv), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

TEST(RecordsKill, TheProgramKilledAtAnyMomentKeepsTheOldOrTheNewRecords) {
    TempDir dir, out;
    WriteMinimalGame(dir);
    // A hand-written file with LF line ends and most ranks missing: the save rewrites all of it.
    const std::string old = "; kept\n[Kiv]\nStage=4\nRank01=*****abcdef01234\nMyName=Hanako\n";
    const std::string script = out.File("script.txt");
    out.Write("script.txt", "frames 30\nclose\n");

    // The run left alone gives the new file and how long a run takes.
    dir.Write("Kiv.ini", old);
    const auto start = std::chrono::steady_clock::now();
    const pid_t first = StartProgram(dir, script);
    ASSERT_GT(first, 0);
    int status = 0;
    ::waitpid(first, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto runTime =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const std::string saved = dir.Read("Kiv.ini");
    ASSERT_NE(saved, old);
    ASSERT_NE(saved.find("Rank30="), std::string::npos);

    std::mt19937 rng(7);
    const int kills = std::max(2, KillCount(150) / 8);
    int sawOld = 0, sawNew = 0;
    SaveWatch watch(dir);
    for (int i = 0; i < kills; ++i) {
        dir.Write("Kiv.ini", old);
        watch.Drain();
        const pid_t pid = StartProgram(dir, script);
        ASSERT_GT(pid, 0);
        // Half the kills fall anywhere in the run, half within five milliseconds of the start of the save.
        const long span = static_cast<long>(runTime.count());
        long at = std::uniform_int_distribution<long>(0, span)(rng);
        if (i % 2) {
            EXPECT_TRUE(watch.WaitForSave(30000)) << "the program never saved";
            at = std::uniform_int_distribution<long>(0, 5000)(rng);
        }
        KillAfter(pid, std::chrono::microseconds(at));
        const std::string now = dir.Read("Kiv.ini");
        if (now == old)
            ++sawOld;
        else if (now == saved)
            ++sawNew;
        else
            ADD_FAILURE() << "kill " << i << " left a damaged Kiv.ini:\n" << now;
    }
    std::printf("%d kills of the program: old file %d, new file %d\n", kills, sawOld, sawNew);
}

}  // namespace
}  // namespace kiv
