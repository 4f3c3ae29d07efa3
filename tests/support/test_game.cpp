#include "test_game.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "media_test_files.h"

namespace kiv {

std::string MakeBmp(int w, int h, const std::function<uint32_t(int, int)>& pixel) {
    return media_test::WriteBmp(w, h, media_test::BmpOptions(24), pixel);
}

KivTextLines::KivTextLines() {
    auto zeros = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += i ? " 0" : "0";
        return s;
    };
    lines[0] = "Player";
    for (int s = 0; s < 10; ++s) lines[1 + s] = zeros(15);
    lines[11] = "Preset";
    for (int s = 0; s < 11; ++s) lines[12 + s] = zeros(17);
    for (int s = 0; s < 10; ++s) lines[24 + s] = zeros(13);
    lines[35] = zeros(9);
    for (int s = 0; s < 10; ++s) lines[37 + s] = zeros(12);
    for (int i = 0; i < 40; ++i) lines[48 + i] = zeros(10);
    for (int r = 0; r < 3; ++r) lines[89 + r] = zeros(11);
    // A grey ramp: colour k is (k, k, k) in 0..15 components.
    for (int i = 0; i < 12; ++i) {
        std::string s;
        for (int k = 0; k < 4; ++k) {
            int c = (4 * i + k) % 16;
            s += (k ? " " : "") + std::to_string(c) + " " + std::to_string(c) + " " + std::to_string(c);
        }
        lines[93 + i] = s;
    }
    lines[106] = zeros(8);
    lines[107] = "12345";
    lines[109] = zeros(23);
    for (int s = 0; s < 10; ++s)
        for (int i = 1; i <= 10; ++i) lines[110 + 10 * s + i] = "Line_/";
    lines[212] = "Help";
}

std::string KivTextLines::Bytes() const {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

void WriteMinimalGame(const TempDir& dir, const KivTextLines& text) {
    dir.Write("Kiv.txt", text.Bytes());
    auto grey = [](int x, int y) { return static_cast<uint32_t>(((x ^ y) & 1) ? 0x808080 : 0x404040); };
    auto white = [](int, int) { return 0xFFFFFFu; };
    dir.Write("Ptit.bmp", MakeBmp(640, 480, grey));
    dir.Write("Ptitm.bmp", MakeBmp(640, 480, white));
    dir.Write("Pchz.bmp", MakeBmp(320, 160, grey));
    dir.Write("Pchzd.bmp", MakeBmp(320, 160, grey));
    dir.Write("Pchzm.bmp", MakeBmp(320, 160, white));
}

bool CopyDemoGame(const TempDir& into) {
    namespace fs = std::filesystem;
    const fs::path from(KIV_GAME_DIR);
    if (!fs::exists(from / "Kiv.txt")) return false;
    for (const auto& e : fs::directory_iterator(from)) {
        const std::string name = e.path().filename().string();
        if (!e.is_regular_file() || name == "kiv" || name == "Kiv.ini") continue;
        fs::copy_file(e.path(), into.File(name), fs::copy_options::overwrite_existing);
    }
    return true;
}

ProgramRun RunProgram(const TempDir& out, const std::string& args, const std::string& script) {
    out.Write("script.txt", script);
    const std::string cmd = std::string(KIV_BINARY) + " " + args + " --script " + out.File("script.txt") + " --trace " +
                            out.File("trace.jsonl") + " 2>" + out.File("stderr.txt");
    const int raw = std::system(cmd.c_str());
    ProgramRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.trace = out.Read("trace.jsonl");
    r.err = out.Read("stderr.txt");
    return r;
}

HeadlessGame::HeadlessGame(const std::string& dataDir, const std::string& firstArg, FontRenderer* fonts) {
    platform.SetFonts(fonts);
    game.DataDirOverride = dataDir;
    game.FirstArg = firstArg;
    game.SeedGiven = true;
    platform.SetProbes([this] { return static_cast<int>(game.Shell.SceneNo); },
                       [this] { return static_cast<int>(game.Shell.SceneCounters[1]); });
    created = form.FormCreate();
}

HeadlessGame::~HeadlessGame() {
    if (created && !destroyed) form.FormDestroy();
}

void HeadlessGame::Frames(int n) {
    for (int i = 0; i < n && !platform.Closed(); ++i) platform.Step(form);
}

void HeadlessGame::CloseAndDestroy() {
    if (!platform.Closed()) form.CloseQuery();
    form.FormDestroy();
    destroyed = true;
}

}  // namespace kiv
