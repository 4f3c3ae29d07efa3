#include "data/configuration.h"

#include <cstdio>

#include "data/config_reader.h"
#include "data/data_files.h"
#include "data/sjis.h"
#include "game/game.h"

namespace kiv {

std::string FindGameFolder(const std::string& dataDir, const std::string& exePath, bool& shared) {
    shared = false;
    std::string dir = dataDir;
    if (dir.empty()) {
        size_t slash = exePath.find_last_of('/');
        dir = slash == std::string::npos ? std::string("./") : exePath.substr(0, slash + 1);
        const std::string installed = InstalledDemoFolder(dir);
        if (!DataFileExists(dir, "Kiv.txt") && DataFileExists(installed, "Kiv.txt")) {
            shared = true;
            return installed;
        }
    }
    if (dir.back() != '/') dir += '/';
    return dir;
}

static std::string GameFolder(Game& g) {
    bool shared = false;
    std::string dir = FindGameFolder(g.DataDirOverride, g.ExePath, shared);
    if (shared) g.SharedGameFolder = true;
    return dir;
}

std::string InstalledDemoFolder(const std::string& exeDir) {
    std::string bin = exeDir;
    while (!bin.empty() && bin.back() == '/') bin.pop_back();
    const size_t slash = bin.find_last_of('/');
    const std::string prefix = slash == std::string::npos ? std::string("../") : bin.substr(0, slash + 1);
    return prefix + "share/kiv/demo/";
}

bool LoadConfiguration(Game& g, std::string& error) {
    g.Cfg.AppDir = GameFolder(g);
    std::string path = FindDataFile(g.Cfg.AppDir, "Kiv.txt");
    if (path.empty()) {
        g.Shell.HaltRequested = true;
        g.P.ShowMessage("not find  Kiv.txt");
        g.Shell.CloseRequested = true;
        return true;
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxTextFileBytes)) {
        error = "Kiv.txt cannot be read, or is larger than " + std::to_string(kMaxTextFileBytes >> 20) + " MB (" +
                path + ")";
        return false;
    }
    ConfigResult r = ParseConfiguration(bytes, g.Cfg.AppDir, g.Cfg);
    if (!r.ok) {
        error = SjisToUtf8(r.message) + " (" + path + ")";
        return false;
    }
    // A short file still plays (on zeros and empty texts); its maker is told on the terminal.
    if (!r.warning.empty()) std::fprintf(stderr, "kiv: %s (%s)\n", r.warning.c_str(), path.c_str());
    return true;
}

}  // namespace kiv
