#include "data/data_files.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstdio>

namespace kiv {

static bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FindDataFile(const std::string& dir, const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return std::string();
    std::string exact = dir + name;
    if (IsRegularFile(exact)) return exact;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return std::string();
    std::string found;
    while (dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, name.c_str()) == 0 && IsRegularFile(dir + e->d_name)) {
            found = dir + e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

int64_t FileSize(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes.clear();
    // A file known to be too large is refused before any of it is read.
    struct stat st {};
    if (::fstat(::fileno(f), &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > maxBytes) {
        std::fclose(f);
        return false;
    }
    char buf[65536];
    size_t n;
    bool ok = true;
    while (ok && (n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        ok = bytes.size() + n <= maxBytes;
        if (ok) bytes.append(buf, n);
    }
    ok = ok && !std::ferror(f);
    if (!ok) bytes.clear();
    std::fclose(f);
    return ok;
}

}  // namespace kiv
