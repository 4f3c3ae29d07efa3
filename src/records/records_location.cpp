#include "records/records_location.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace kiv {

namespace {

constexpr size_t kMaxNameChars = 80;

std::string HomeDir() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

// A readable name for a folder's path, with a hash of the whole path so that two paths that
// read the same ("a_b/" and "a/b/") still get folders of their own.
std::string FolderName(const std::string& path) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : path) hash = (hash ^ c) * 16777619u;
    std::string name;
    for (char c : path) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-';
        if (plain)
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    if (name.size() > kMaxNameChars) name.erase(0, name.size() - kMaxNameChars);
    char tail[16];
    std::snprintf(tail, sizeof tail, "-%08x", hash);
    return (name.empty() ? std::string("game") : name) + tail;
}

}  // namespace

std::string UserRecordsDir(const std::string& gameDir) {
    std::string base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // The XDG rules ignore a relative path.
    if (xdg && xdg[0] == '/')
        base = xdg;
    else
        base = HomeDir() + "/.local/share";
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base + "/kiv/" + FolderName(gameDir) + "/";
}

bool FolderWritable(const std::string& dir) {
    struct stat st {};
    if (::stat(dir.empty() ? "." : dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    // A folder that grants writing to nobody is read-only in intent, even to the superuser.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::access(dir.empty() ? "." : dir.c_str(), W_OK) == 0;
}

RecordsLocation ChooseRecordsLocation(const std::string& gameDir, bool shared) {
    if (!shared && FolderWritable(gameDir)) return RecordsLocation{gameDir, false};
    return RecordsLocation{UserRecordsDir(gameDir), true};
}

}  // namespace kiv
