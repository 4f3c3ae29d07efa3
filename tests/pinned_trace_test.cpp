// Whole runs of the bundled game pinned to their recorded traces: the challenge runs with and
// without an assist and a few random players' scripts, each on a fresh copy of the demo, must
// give the trace and the Kiv.ini recorded in tests/pinned/. A reshaping of the code must leave
// them byte for byte as they were. The trace is kept as one fingerprint per 500 frames, so a
// difference is reported by the frames it lies in; KIV_PINNED_KEEP=DIR keeps the traces of the
// run for a look with diff, and KIV_PINNED_RECORD=1 records the references anew (only when the
// game is meant to play differently, say because the demo changed).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "data/config_reader.h"
#include "demo_scripts.h"
#include "test_game.h"

namespace kiv {
namespace {

constexpr uint64_t kFramesPerPart = 500;

struct PinnedRun {
    const char* Name;
    const char* Args;    // after --headless --data GAME
    const char* Script;  // a file in tests/pinned/, or "challenge" / "assisted" for the generated runs
};

constexpr PinnedRun kRuns[] = {
    {"challenge", "--seed 11", "challenge"},
    {"assisted", "--seed 11", "assisted"},
    {"seed-2", "--seed 2", "seed-2.script"},
    {"seed-3", "--seed 3", "seed-3.script"},
    {"seed-7", "--seed 7", "seed-7.script"},
    {"seed-8", "--seed 8", "seed-8.script"},
    {"seed-17", "--seed 17", "seed-17.script"},
    {"seed-29", "--seed 29", "seed-29.script"},
    {"seed-11-wideflower", "wideflower --seed 11", "seed-11.script"},
};

std::string PinnedDir() { return std::string(KIV_SOURCE_DIR) + "/tests/pinned/"; }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint64_t Fnv1a(std::string_view bytes, uint64_t h = 14695981039346656037ull) {
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    return h;
}

void ReplaceEvery(std::string& s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

// The frame count a trace line is stamped with.
uint64_t FrameOf(std::string_view line) {
    const size_t at = line.find("\"frame\":");
    return at == std::string_view::npos ? 0 : std::strtoull(line.data() + at + 8, nullptr, 10);
}

// What is pinned of a run: its status, one line per part of the trace (frames, lines, hash) and
// Kiv.ini as written.
std::string Fingerprint(int status, const std::string& trace, const std::string& ini) {
    std::ostringstream out;
    out << "status " << status << "\n";
    uint64_t part = 0, lines = 0, hash = Fnv1a("");
    auto flush = [&] {
        if (lines == 0) return;
        out << "frames " << part * kFramesPerPart << "-" << (part + 1) * kFramesPerPart - 1 << " lines " << lines
            << " fnv " << std::hex << hash << std::dec << "\n";
        lines = 0;
        hash = Fnv1a("");
    };
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) {
        const uint64_t p = FrameOf(line) / kFramesPerPart;
        if (p != part) flush(), part = p;
        hash = Fnv1a(line + "\n", hash);
        ++lines;
    }
    flush();
    std::istringstream iniLines(ini);
    for (std::string line; std::getline(iniLines, line);) {
        ReplaceEvery(line, "\r", "\\r");
        out << "ini " << line << "\n";
    }
    return out.str();
}

// The first line where two fingerprints part, with the one before it for context.
std::string FirstDifference(const std::string& want, const std::string& got) {
    std::istringstream a(want), b(got);
    std::string la, lb;
    for (int n = 1;; ++n) {
        const bool moreA = static_cast<bool>(std::getline(a, la)), moreB = static_cast<bool>(std::getline(b, lb));
        if (!moreA && !moreB) return "";
        if (!moreA || !moreB || la != lb)
            return "line " + std::to_string(n) + ": recorded \"" + (moreA ? la : "(end)") + "\", now \"" +
                   (moreB ? lb : "(end)") + "\"";
    }
}

class PinnedTrace : public ::testing::TestWithParam<PinnedRun> {};

TEST_P(PinnedTrace, PlaysAsRecorded) {
    const PinnedRun& run = GetParam();
    TempDir game, out;
    if (!CopyDemoGame(game)) GTEST_SKIP() << "the bundled game has not been generated";

    std::string script;
    const std::string source = run.Script;
    if (source == "challenge" || source == "assisted") {
        auto cfg = std::make_unique<Config>();
        ASSERT_TRUE(ParseConfiguration(game.Read("Kiv.txt"), game.Path(), *cfg).ok);
        script = source == "challenge" ? ChallengeRun(*cfg, "player", false) : ChallengeRun(*cfg, "helped", true);
    } else {
        script = ReadFile(PinnedDir() + source);
        ASSERT_FALSE(script.empty()) << "no script " << PinnedDir() + source;
    }

    const ProgramRun r = RunProgram(out, std::string(run.Args) + " --headless --data " + game.Path(), script);
    std::string trace = r.trace;
    ReplaceEvery(trace, game.Path(), "GAME/");
    const std::string got = Fingerprint(r.status, trace, game.Read("Kiv.ini"));

    if (const char* keep = std::getenv("KIV_PINNED_KEEP")) {
        std::filesystem::create_directories(keep);
        std::ofstream(std::string(keep) + "/" + run.Name + ".trace", std::ios::binary) << trace;
        std::ofstream(std::string(keep) + "/" + run.Name + ".script", std::ios::binary) << script;
    }
    const std::string pinFile = PinnedDir() + run.Name + ".pin";
    if (std::getenv("KIV_PINNED_RECORD")) {
        std::ofstream(pinFile, std::ios::binary) << got;
        GTEST_SKIP() << "recorded " << pinFile;
    }
    const std::string want = ReadFile(pinFile);
    ASSERT_FALSE(want.empty()) << "no reference " << pinFile << " (record it with KIV_PINNED_RECORD=1)";
    EXPECT_EQ(FirstDifference(want, got), "") << run.Name << " no longer plays as recorded; stderr: " << r.err;
}

INSTANTIATE_TEST_SUITE_P(Demo, PinnedTrace, ::testing::ValuesIn(kRuns), [](const auto& info) {
    std::string n = info.param.Name;
    for (char& c : n)
        if (c == '-') c = '_';
    return n;
});

}  // namespace
}  // namespace kiv
