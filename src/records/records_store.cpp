#include "records/records_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include "data/config_reader.h"
#include "data/data_files.h"
#include "data/strings.h"
#include "records/ranking.h"
#include "shell/game.h"

namespace kiv {

namespace {

constexpr const char* kSection = "Kiv";
constexpr const char* kFileName = "Kiv.ini";
// The profile reader hands back at most 2047 characters of a value.
constexpr size_t kValueBuffer = 2048;

std::string RankKey(int k) { return "Rank" + ZeroPad(2, k); }

// A reader that behaves like the profile functions on hand-edited files: names compare
// without case, the first of duplicate keys wins, ';' lines are comments.
void PrepareIni(CSimpleIniA& ini) {
    ini.SetUnicode(false);  // values stay Shift-JIS bytes
    ini.SetMultiKey(true);
    ini.SetMultiLine(false);
    ini.SetQuotes(false);
    ini.SetSpaces(false);
}

// A value as the profile reader returns it: a pair of matching quotes around it is dropped,
// and it is cut to the reader's buffer.
std::string ProfileValue(const char* raw) {
    std::string v(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    if (v.size() > kValueBuffer - 1) v.resize(kValueBuffer - 1);
    return v;
}

std::string ReadString(const CSimpleIniA& ini, const std::string& key, std::string_view def) {
    const char* raw = ini.GetValue(kSection, key.c_str(), nullptr);
    if (raw) return ProfileValue(raw);
    // The profile reader removes trailing blanks from a default it hands back.
    std::string d(def);
    while (!d.empty() && d.back() == ' ') d.pop_back();
    return d;
}

// Windows writes CR LF; the library writes bare LF on this system.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ErrnoText(int err) { return std::strerror(err); }

// Writes bytes to tmp and renames it over path; on failure tmp is removed and why is set.
bool ReplaceFile(const std::string& path, const std::string& tmp, const std::string& bytes, std::string& why) {
    struct stat old {};
    mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) {
        why = "cannot create " + tmp + ": " + ErrnoText(errno);
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            why = "cannot write " + tmp + ": " + ErrnoText(n < 0 ? errno : ENOSPC);
            ::close(fd);
            ::unlink(tmp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    // The data must be on disk before the rename makes it the records.
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        why = "cannot write " + tmp + ": " + ErrnoText(errno);
        ::unlink(tmp.c_str());
        return false;
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        why = "cannot replace " + path + ": " + ErrnoText(errno);
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}

std::array<RankEntry, 31> Presets(const Game& g) {
    std::array<RankEntry, 31> p{};
    for (int k = 1; k <= 30; ++k) p[k] = PresetRankEntry(g, k);
    return p;
}

}  // namespace

bool IniInteger(std::string_view value, int32_t& out) { return ParseNumberToken(value, out); }

StoredRecords ParseRecordsIni(std::string_view bytes, const std::array<RankEntry, 31>& presets,
                              std::string_view defaultName) {
    CSimpleIniA ini;
    PrepareIni(ini);
    if (!bytes.empty()) ini.LoadData(bytes.data(), bytes.size());

    StoredRecords r;
    int32_t stage = 1;
    if (!IniInteger(ReadString(ini, "Stage", ""), stage)) stage = 1;
    r.StagesOpen = static_cast<int8_t>(static_cast<uint8_t>(stage));  // the low eight bits
    for (int k = 1; k <= 30; ++k) r.RankTable[k] = ReadString(ini, RankKey(k), presets[k].View());
    r.PlayerName = ReadString(ini, "MyName", defaultName);
    return r;
}

std::string UpdateRecordsIni(std::string_view existing, int8_t stagesOpen,
                             const std::array<RankEntry, 31>& rankTable) {
    CSimpleIniA ini;
    PrepareIni(ini);
    if (!existing.empty()) ini.LoadData(existing.data(), existing.size());
    ini.SetValue(kSection, "Stage", std::to_string(static_cast<int>(stagesOpen)).c_str(), nullptr, true);
    for (int k = 1; k <= 30; ++k)
        ini.SetValue(kSection, RankKey(k).c_str(), rankTable[k].Str().c_str(), nullptr, true);
    std::string text;
    ini.Save(text);
    return WithCrLf(text);
}

void LoadRecords(Game& g) {
    std::string bytes;
    std::string path = FindDataFile(g.Cfg.AppDir, kFileName);
    // A missing or unreadable file is no error: every key then takes its default.
    if (path.empty() || !ReadWholeFile(path, bytes, kMaxTextFileBytes)) bytes.clear();
    StoredRecords r = ParseRecordsIni(bytes, Presets(g), g.Cfg.DefaultPlayerName.View());
    g.Records.StagesOpen = r.StagesOpen;
    g.Records.RankTable = r.RankTable;
    g.Records.PlayerName = r.PlayerName;
}

bool SaveRecords(Game& g) {
    if (g.Shell.CloseRequested) return true;
    std::string path = FindDataFile(g.Cfg.AppDir, kFileName);
    std::string existing;
    std::string why;
    bool ok = true;
    if (path.empty()) {
        path = g.Cfg.AppDir + kFileName;
        struct stat st {};
        // Something that is not a regular file stands in the way: leave it alone.
        if (::lstat(path.c_str(), &st) == 0) {
            why = "cannot replace " + path + ": not a regular file";
            ok = false;
        }
    } else if (!ReadWholeFile(path, existing, kMaxTextFileBytes)) {
        // Replacing a file we cannot read would lose whatever else it holds.
        why = "cannot read " + path + ": " + ErrnoText(errno);
        ok = false;
    }
    if (ok) ok = ReplaceFile(path, path + ".tmp", UpdateRecordsIni(existing, g.Records.StagesOpen, g.Records.RankTable), why);

    if (ok) {
        g.P.TraceEvent("save", {{"file", Trace::Str(BaseName(path))}});
    } else {
        std::fprintf(stderr, "kiv: the records were not saved: %s\n", why.c_str());
        g.P.TraceEvent("save", {{"file", Trace::Str(BaseName(path))}, {"error", Trace::Str(why)}});
    }
    return ok;
}

}  // namespace kiv
