#include "random_player.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "records/ranking.h"
#include "records/records_store.h"

extern char** environ;

namespace kiv::randomplay {

namespace {

// A small generator of our own, so a seed gives the same script with every library.
class Dice {
public:
    explicit Dice(uint32_t seed) : s_(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t Next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    int Below(int n) { return n <= 1 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool Chance(int percent) { return Below(100) < percent; }

private:
    uint32_t s_;
};

struct Box {
    int left, top, right, bottom, weight;
};

// Where the scenes take presses: the title menu's stages, challenge, help and end (end seldom,
// as it ends the run), its ranking list and the emblem's centre (right presses there reset),
// and the middle of the screen, where a stage's picture and the name-entry letters lie.
constexpr std::array<Box, 16> kPlaces{{
    {297, 156, 325, 208, 3},
    {328, 177, 386, 214, 3},
    {328, 217, 386, 246, 3},
    {328, 249, 386, 286, 3},
    {297, 255, 325, 307, 3},
    {235, 249, 294, 286, 3},
    {235, 217, 294, 246, 3},
    {235, 177, 294, 214, 3},
    {511, 223, 548, 264, 30},  // the challenge run
    {397, 243, 449, 264, 3},   // help
    {454, 243, 506, 264, 1},   // end
    {1, 53, 133, 410, 2},      // ranking list
    {239, 161, 382, 301, 2},   // emblem centre
    {60, 40, 600, 440, 20},    // the stage picture, the letters
    {0, 0, 639, 479, 10},      // anywhere
    {-20, -20, 700, 520, 1},   // even a little outside
}};

struct Point {
    int x, y;
};

Point SomePlace(Dice& d) {
    int total = 0;
    for (const Box& b : kPlaces) total += b.weight;
    int pick = d.Below(total);
    for (const Box& b : kPlaces) {
        if (pick < b.weight) return {d.Between(b.left, b.right), d.Between(b.top, b.bottom)};
        pick -= b.weight;
    }
    return {320, 240};
}

const char* SomeButton(Dice& d) { return d.Chance(75) ? "left" : (d.Chance(90) ? "right" : "middle"); }
const char* Shift(Dice& d) { return d.Chance(15) ? " shift" : ""; }

std::string At(Point p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

// One random piece of input; returns the frames it lets run.
int AddAction(Dice& d, std::ostringstream& out) {
    const int kind = d.Below(100);
    if (kind < 25) {
        const int n = d.Chance(10) ? d.Between(100, 600) : d.Between(1, 40);
        out << "frames " << n << "\n";
        return n;
    }
    if (kind < 50) {
        out << "click " << At(SomePlace(d)) << " " << SomeButton(d) << Shift(d) << "\n";
        return 0;
    }
    if (kind < 65) {
        // A drag: press, moves with a few frames between them, release.
        Point p = SomePlace(d);
        const char* button = d.Chance(90) ? "left" : "right";
        out << "press " << At(p) << " " << button << Shift(d) << "\n";
        int ran = 0;
        for (int i = d.Between(1, 14); i > 0; --i) {
            p = {p.x + d.Between(-40, 40), p.y + d.Between(-40, 40)};
            out << "move " << At(p) << Shift(d) << "\n";
            const int n = d.Below(4);
            if (n) out << "frames " << n << "\n";
            ran += n;
        }
        out << "release " << At(p) << " " << button << "\n";
        return ran;
    }
    if (kind < 70) {
        // A press or a release alone, or a move with no button down.
        const int which = d.Below(3);
        const Point p = SomePlace(d);
        if (which == 0)
            out << "press " << At(p) << " " << SomeButton(d) << Shift(d) << "\n";
        else if (which == 1)
            out << "release " << At(p) << " " << SomeButton(d) << "\n";
        else
            out << "move " << At(p) << Shift(d) << "\n";
        return 0;
    }
    if (kind < 87) {
        // F5 most often: it fills the gauge, so stages get cleared and the run goes on.
        static constexpr std::array<const char*, 20> kKeys{"f5",   "f5",   "f5",  "f5", "f5", "f5",  "f5",
                                                           "f5",   "f5",   "f5",  "f4", "f4", "f11", "f11",
                                                           "ctrl", "ctrl", "f12", "65", "13", "27"};
        out << "key " << kKeys[static_cast<size_t>(d.Below(static_cast<int>(kKeys.size())))] << "\n";
        return 0;
    }
    if (kind < 93) {
        // A right click, a while, a left click: in a stage, the pause prompt and the end of the
        // stage, mostly cleared with F5 first so that the run goes on to the next.
        const int n = d.Between(10, 80);
        if (d.Chance(75)) out << "key f5\n";
        out << "click " << At(SomePlace(d)) << " right\nframes " << n << "\nclick " << At(SomePlace(d)) << " left\n";
        return n;
    }
    out << "paint\n";
    return 0;
}

bool ReadFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// A ranking entry the game can have written: a preset, or a code, a name entered and a time.
bool ValidRank(const std::string& e, const std::string& presetName) {
    auto digits = [](const std::string& t) {
        bool ok = t.size() == 5;
        for (char c : t) ok = ok && c >= '0' && c <= '9';
        return ok;
    };
    const std::string preset = "*****" + presetName;
    if (e.size() == preset.size() + 5 && e.compare(0, preset.size(), preset) == 0 && digits(e.substr(preset.size())))
        return true;
    if (e.size() != 16) return false;
    const std::string code = e.substr(0, 5), name = e.substr(5, 6), time = e.substr(11);
    bool codeOk = code == "*****";
    if (!codeOk) {
        codeOk = true;
        for (char c : code) codeOk = codeOk && c >= 'a' && c <= 'z';
    }
    bool nameOk = true;
    for (char c : name) nameOk = nameOk && ((c >= 'a' && c <= 'z') || c == '_');
    return codeOk && nameOk && digits(time);
}

// Runs argv with stdout and stderr into files; the exit status, or -1 for a signal or a hang.
int RunProgram(const std::vector<std::string>& args, const std::string& outFile, const std::string& errFile,
               int timeoutSeconds, std::string& why) {
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, args[0].c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) {
        why = "cannot start " + args[0];
        return -1;
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            why = "still running after " + std::to_string(timeoutSeconds) + " s";
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFSIGNALED(status)) {
        why = "killed by signal " + std::to_string(WTERMSIG(status));
        return -1;
    }
    return WEXITSTATUS(status);
}

// The scenes whose frames ran, the number of frames, and the texts of message boxes.
void ReadTrace(const std::string& trace, Outcome& o, std::vector<std::string>& messages) {
    std::istringstream in(trace);
    std::string line;
    const std::string frameKey = "\"ev\":\"frame\",\"scene\":";
    while (std::getline(in, line)) {
        if (size_t at = line.find(frameKey); at != std::string::npos) {
            o.scenes.insert(std::atoi(line.c_str() + at + frameKey.size()));
            ++o.frames;
        } else if (line.find("\"ev\":\"message\"") != std::string::npos) {
            messages.push_back(line);
        }
    }
}

}  // namespace

std::string MakeScript(uint32_t seed, int frames) {
    Dice d(seed);
    // Most runs go the whole way and close at a random moment near the end; one in four closes
    // anywhere in its first half.
    const int closeAt = d.Chance(25) ? d.Between(0, frames / 2) : d.Between(frames * 3 / 4, frames);
    std::ostringstream out;
    out << "# random player, seed " << seed << "\n";
    int ran = 0;
    while (ran < closeAt) ran += AddAction(d, out);
    out << "close\n";
    return out.str();
}

std::string CheckRecordsFile(const std::string& path, const std::string& presetName) {
    std::string bytes;
    if (!ReadFile(path, bytes)) return "no Kiv.ini after the run";
    // Presets that can never be valid show a missing key.
    std::array<RankEntry, 31> missing{};
    for (int k = 1; k <= 30; ++k) missing[k] = "";
    const StoredRecords r = ParseRecordsIni(bytes, missing, "");
    if (bytes.find("Stage=") == std::string::npos) return "Kiv.ini has no Stage";
    for (int k = 1; k <= 30; ++k) {
        const std::string e = r.RankTable[k].Str();
        if (!ValidRank(e, presetName))
            return "Kiv.ini rank " + std::to_string(k) + " is not a valid entry: '" + e + "'";
        if (k > 1 && RankValue(r.RankTable[k]) > RankValue(r.RankTable[k - 1]))
            return "Kiv.ini rank " + std::to_string(k) + " is better than the one above it";
    }
    return "";
}

std::string PresetNameOf(const std::string& gameDir) {
    std::string text;
    if (!ReadFile(gameDir + "/Kiv.txt", text)) return "";
    // Line 12 (lines end at CR, as the game reads them), at most six bytes.
    size_t at = 0;
    for (int line = 1; line < 12 && at != std::string::npos; ++line) {
        at = text.find('\r', at);
        if (at != std::string::npos) at += (at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
    }
    if (at == std::string::npos) return "";
    std::string name = text.substr(at, std::min(text.find('\r', at), at + 6) - at);
    return name == "//du" ? "master" : name;
}

Outcome PlayOnce(const Setup& s, uint32_t seed) {
    Outcome o;
    o.seed = seed;
    const std::string base = s.workDir + "/seed-" + std::to_string(seed);
    { std::ofstream(base + ".script", std::ios::binary) << MakeScript(seed, s.frames); }
    std::string why;
    o.status = RunProgram({s.binary, "--headless", "--data", s.gameDir, "--seed", std::to_string(seed), "--script",
                           base + ".script", "--trace", base + ".trace"},
                          "/dev/null", base + ".stderr", s.timeoutSeconds, why);
    if (o.status != 0)
        o.problems.push_back("exit status " + std::to_string(o.status) + (why.empty() ? "" : ": " + why));

    std::string err, trace;
    ReadFile(base + ".stderr", err);
    if (!err.empty()) o.problems.push_back("stderr: " + err.substr(0, 4000));
    ReadFile(base + ".trace", trace);
    std::vector<std::string> messages;
    ReadTrace(trace, o, messages);
    for (const std::string& m : messages) o.problems.push_back("message box: " + m);
    if (std::string bad = CheckRecordsFile(s.gameDir + "/Kiv.ini", s.presetName); !bad.empty())
        o.problems.push_back(bad);

    if (o.problems.empty() && !s.keep) {
        for (const char* ext : {".script", ".trace", ".stderr"}) std::remove((base + ext).c_str());
    }
    return o;
}

}  // namespace kiv::randomplay
