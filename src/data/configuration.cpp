#include "data/configuration.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "data/config_reader.h"
#include "data/data_files.h"
#include "data/install_layout.h"
#include "data/sjis.h"

namespace kiv {

std::string FindGameFolder(const std::string& dataDir, const std::string& exePath, bool& shared) {
    shared = false;
    std::string dir = dataDir;
    if (dir.empty()) {
        size_t slash = exePath.find_last_of('/');
        dir = slash == std::string::npos ? std::string("./") : exePath.substr(0, slash + 1);
        if (!DataFileExists(dir, "Kiv.txt")) {
            for (const std::string& installed : InstalledDemoFolders(dir)) {
                if (DataFileExists(installed, "Kiv.txt")) {
                    shared = true;
                    return installed;
                }
            }
        }
    }
    if (dir.back() != '/') dir += '/';
    return dir;
}

static std::string JoinFolder(const std::string& dir, const std::string& relative) {
    const bool fromRoot = !relative.empty() && relative[0] == '/';
    const bool absolute = fromRoot || (!dir.empty() && dir[0] == '/');
    std::vector<std::string> parts;
    auto walk = [&parts, absolute](const std::string& path) {
        size_t from = 0;
        while (from <= path.size()) {
            size_t slash = path.find('/', from);
            if (slash == std::string::npos) slash = path.size();
            const std::string part = path.substr(from, slash - from);
            from = slash + 1;
            if (part.empty() || part == ".") continue;
            const bool up = part == "..";
            if (up && !parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!up || !absolute)  // ".." of the root is the root
                parts.push_back(part);
        }
    };
    if (!fromRoot) walk(dir);
    walk(relative);
    std::string joined = absolute ? "/" : "";
    for (const std::string& part : parts) joined += part + "/";
    return joined.empty() ? std::string("./") : joined;
}

std::vector<std::string> InstalledDemoFolders(const std::string& exeDir) {
    std::vector<std::string> folders;
    for (const char* relative : {kDemoFromProgramDir, "../share/kiv/demo", "../share/games/kiv/demo"}) {
        const std::string folder = JoinFolder(exeDir, relative);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    }
    return folders;
}

ConfigLoad LoadConfiguration(const std::string& dir, Config& cfg, std::string& error) {
    cfg.AppDir = dir;
    std::string path = FindDataFile(cfg.AppDir, "Kiv.txt");
    if (path.empty()) return ConfigLoad::Missing;
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxTextFileBytes)) {
        error = "Kiv.txt cannot be read, or is larger than " + std::to_string(kMaxTextFileBytes >> 20) + " MB (" +
                path + ")";
        return ConfigLoad::Malformed;
    }
    ConfigResult r = ParseConfiguration(bytes, cfg.AppDir, cfg);
    if (!r.ok) {
        error = SjisToUtf8(r.message) + " (" + path + ")";
        return ConfigLoad::Malformed;
    }
    // A short file still plays (on zeros and empty texts); its maker is told on the terminal.
    if (!r.warning.empty()) std::fprintf(stderr, "kiv: %s (%s)\n", r.warning.c_str(), path.c_str());
    return ConfigLoad::Read;
}

}  // namespace kiv
