#include "data/configuration.h"

#include <cstdio>

#include "data/config_reader.h"
#include "data/data_files.h"
#include "data/sjis.h"

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

std::string InstalledDemoFolder(const std::string& exeDir) {
    std::string bin = exeDir;
    while (!bin.empty() && bin.back() == '/') bin.pop_back();
    const size_t slash = bin.find_last_of('/');
    const std::string prefix = slash == std::string::npos ? std::string("../") : bin.substr(0, slash + 1);
    return prefix + "share/kiv/demo/";
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
