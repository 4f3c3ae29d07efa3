#include "data/configuration.h"

#include "data/config_reader.h"
#include "data/data_files.h"
#include "data/sjis.h"
#include "shell/game.h"

namespace kiv {

static std::string GameFolder(const Game& g) {
    std::string dir = g.DataDirOverride;
    if (dir.empty()) {
        size_t slash = g.ExePath.find_last_of('/');
        dir = slash == std::string::npos ? std::string("./") : g.ExePath.substr(0, slash + 1);
    }
    if (dir.back() != '/') dir += '/';
    return dir;
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
        error = "Kiv.txt cannot be read, or is larger than " + std::to_string(kMaxTextFileBytes >> 20) +
                " MB (" + path + ")";
        return false;
    }
    ConfigResult r = ParseConfiguration(bytes, g.Cfg.AppDir, g.Cfg);
    if (!r.ok) {
        error = SjisToUtf8(r.message) + " (" + path + ")";
        return false;
    }
    return true;
}

}  // namespace kiv
