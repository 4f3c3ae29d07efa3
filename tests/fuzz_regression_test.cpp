// Every input kept beside the fuzz targets goes through the same entry points as under
// libFuzzer: the seed corpora, and the inputs that once made a reader fail (fuzz/regressions/),
// so a fault found by fuzzing stays found in every test run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

struct Target {
    const char* name;
    void (*input)(const uint8_t*, size_t);
};

void PrintTo(const Target& t, std::ostream* os) { *os << t.name; }

const Target kTargets[] = {
    {"kiv_txt", fuzz::KivTxtInput}, {"kiv_ini", fuzz::KivIniInput}, {"bmp", fuzz::BmpInput},
    {"jpeg", fuzz::JpegInput},      {"midi", fuzz::MidiInput},      {"script", fuzz::ScriptInput},
};

std::vector<fs::path> FilesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.is_regular_file() && e.path().filename().string()[0] != '.') files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs every file of fuzz/<kind>/<target>/; returns how many there were.
size_t Replay(const Target& t, const char* kind) {
    const std::vector<fs::path> files = FilesIn(fs::path(KIV_FUZZ_DIR) / kind / t.name);
    for (const fs::path& f : files) {
        const std::string bytes = ReadBytes(f);
        try {
            t.input(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        } catch (const std::exception& e) {
            ADD_FAILURE() << f << ": " << e.what();
        }
    }
    return files.size();
}

class FuzzInputs : public testing::TestWithParam<Target> {};

TEST_P(FuzzInputs, SeedsAndRegressionsPassTheirChecks) {
    EXPECT_GE(Replay(GetParam(), "corpus"), 3u) << "each target starts from a few seeds";
    Replay(GetParam(), "regressions");
}

INSTANTIATE_TEST_SUITE_P(Readers, FuzzInputs, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kiv
