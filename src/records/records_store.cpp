#include "records/records_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <strings.h>

#include "data/config_reader.h"
#include "data/data_files.h"
#include "data/strings.h"
#include "game/game.h"
#include "records/ranking.h"
#include "records/records_location.h"

namespace kiv {

namespace {

constexpr const char* kSection = "Kiv";
constexpr const char* kFileName = "Kiv.ini";
// The profile reader hands back at most 2047 characters of a value.
constexpr size_t kValueBuffer = 2048;

std::string RankKey(int k) { return "Rank" + ZeroPad(2, k); }

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ErrnoText(int err) { return std::strerror(err); }

std::string_view Trim(std::string_view s) {
    size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
    return b == std::string_view::npos ? std::string_view() : s.substr(b, e - b + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The lines of a text without their line ends: LF, CR LF and a lone CR each end a line, as
// the profile reader takes them; a last line without an end counts.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find_first_of("\r\n", from);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(from));
            break;
        }
        lines.push_back(text.substr(from, end - from));
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        from = end + (crlf ? 2 : 1);
    }
    return lines;
}

// One line as both the reader and the writer see it, so that what is written is what is read.
// The names point into the line.
struct IniLine {
    enum class Kind { Other, Section, Key };
    Kind kind = Kind::Other;
    std::string_view name;   // of a section or a key, without the blanks around it
    std::string_view value;  // of a key: what follows the first '=', without the blanks around it
};

// "[name]" is a section; "key=value" a key unless it starts with ';' or '#'; anything else
// (comments, words, blank lines) is kept as it stands. A UTF-8 mark that an editor put before
// the first line is not part of that line.
IniLine ClassifyLine(std::string_view line, bool first) {
    if (first && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    IniLine out;
    const std::string_view t = Trim(line);
    if (t.size() >= 2 && t.front() == '[') {
        size_t close = t.find(']');
        if (close != std::string_view::npos) {
            out.kind = IniLine::Kind::Section;
            out.name = Trim(t.substr(1, close - 1));
            return out;
        }
    }
    if (t.empty() || t.front() == ';' || t.front() == '#') return out;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos || Trim(t.substr(0, eq)).empty()) return out;
    out.kind = IniLine::Kind::Key;
    out.name = Trim(t.substr(0, eq));
    out.value = Trim(t.substr(eq + 1));
    return out;
}

std::vector<IniLine> ClassifyLines(const std::vector<std::string_view>& lines) {
    std::vector<IniLine> seen;
    seen.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) seen.push_back(ClassifyLine(lines[i], i == 0));
    return seen;
}

// The keys of the records' section (every section of that name) in file order.
std::vector<IniLine> SectionKeys(std::string_view text) {
    std::vector<IniLine> keys;
    bool inSection = false;
    for (const IniLine& l : ClassifyLines(SplitLines(text))) {
        if (l.kind == IniLine::Kind::Section)
            inSection = SameName(l.name, kSection);
        else if (l.kind == IniLine::Kind::Key && inSection)
            keys.push_back(l);
    }
    return keys;
}

// A value as the profile reader returns it: a pair of matching quotes around it is dropped,
// and it is cut to the reader's buffer.
std::string ProfileValue(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v.substr(0, kValueBuffer - 1));
}

// The value of the first key of that name (names compare without case), else the default,
// which the profile reader hands back without its trailing blanks.
std::string ReadString(const std::vector<IniLine>& keys, std::string_view key, std::string_view def) {
    for (const IniLine& l : keys)
        if (SameName(l.name, key)) return ProfileValue(l.value);
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    return std::string(def);
}

// A value as it is written: one the reader would change (blanks at an end, a pair of quotes
// around it) goes in quotes, which the reader takes off again.
std::string IniValueText(const std::string& v) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quoted = v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    if (quoted || (!v.empty() && (blank(v.front()) || blank(v.back())))) return '"' + v + '"';
    return v;
}

// Follows symbolic links from path to the file they name (which need not exist yet); false
// for a loop or a link that cannot be read.
bool FollowLinks(std::string path, std::string& target, std::string& why) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = path;
            return true;
        }
        char buf[4096];
        ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
        if (n <= 0) {
            why = "cannot follow the link " + path + ": " + ErrnoText(errno);
            return false;
        }
        std::string to(buf, static_cast<size_t>(n));
        path = to.front() == '/' ? to : DirName(path) + to;
    }
    why = "cannot follow the link " + path + ": too many levels of links";
    return false;
}

// Writes bytes to tmp and renames it over path; on failure tmp is removed and why is set. The
// temporary is made afresh: whatever an earlier crash or anyone else left at its name (a
// file, a link) is removed, never written through.
bool ReplaceFile(const std::string& path, const std::string& tmp, const std::string& bytes, std::string& why) {
    struct stat old {};
    mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    struct stat leftover {};
    if (::lstat(tmp.c_str(), &leftover) == 0 && (S_ISREG(leftover.st_mode) || S_ISLNK(leftover.st_mode)))
        ::unlink(tmp.c_str());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
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
    // The rename itself is made durable with the folder.
    int dir = ::open(DirName(path).empty() ? "." : DirName(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
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
    const std::vector<IniLine> keys = SectionKeys(bytes);
    StoredRecords r;
    int32_t stage = 1;
    if (!IniInteger(ReadString(keys, "Stage", ""), stage)) stage = 1;
    r.StagesOpen = static_cast<int8_t>(static_cast<uint8_t>(stage));  // the low eight bits
    for (int k = 1; k <= 30; ++k) r.RankTable[k] = ReadString(keys, RankKey(k), presets[k].View());
    r.PlayerName = ReadString(keys, "MyName", defaultName);
    return r;
}

std::string UpdateRecordsIni(std::string_view existing, int8_t stagesOpen, const std::array<RankEntry, 31>& rankTable) {
    struct Value {
        std::string key, value;
        bool written = false;
    };
    std::vector<Value> values;
    values.push_back({"Stage", std::to_string(static_cast<int>(stagesOpen))});
    for (int k = 1; k <= 30; ++k) values.push_back({RankKey(k), IniValueText(rankTable[k].Str())});

    // Every line stays where it stood; a key is replaced in place (keeping its spelling), the
    // first of duplicates as that is the one read back.
    const std::vector<std::string_view> lines = SplitLines(existing);
    const std::vector<IniLine> seen = ClassifyLines(lines);
    std::vector<std::string> replaced(lines.size());
    bool inSection = false;
    long firstSection = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        const IniLine& l = seen[i];
        if (l.kind == IniLine::Kind::Section) {
            inSection = SameName(l.name, kSection);
            if (inSection && firstSection < 0) firstSection = static_cast<long>(i);
            continue;
        }
        if (!inSection || l.kind != IniLine::Kind::Key) continue;
        for (Value& v : values) {
            if (!v.written && SameName(l.name, v.key)) {
                replaced[i] = std::string(l.name) + "=" + v.value;
                v.written = true;
                break;
            }
        }
    }
    // New keys go after the last key of the first section (comments and blank lines that end
    // it stay below them), or into a new section at the end of the file.
    std::string added;
    if (firstSection < 0) added += std::string("[") + kSection + "]\r\n";
    for (const Value& v : values)
        if (!v.written) added += v.key + "=" + v.value + "\r\n";
    size_t at = lines.size();
    if (firstSection >= 0) {
        at = static_cast<size_t>(firstSection) + 1;
        for (size_t i = at; i < lines.size() && seen[i].kind != IniLine::Kind::Section; ++i)
            if (seen[i].kind == IniLine::Kind::Key) at = i + 1;
    }

    // Windows writes CR LF after every line.
    std::string text;
    text.reserve(existing.size() + added.size() + 2 * lines.size() + 64 * values.size());
    for (size_t i = 0; i <= lines.size(); ++i) {
        if (i == at) text += added;
        if (i == lines.size()) break;
        text += replaced[i].empty() ? lines[i] : std::string_view(replaced[i]);
        text += "\r\n";
    }
    return text;
}

namespace {

// The folder the records go to, chosen when they are first read.
void ChooseLocation(Game& g) {
    if (!g.Records.IniDir.empty()) return;
    const RecordsLocation where = ChooseRecordsLocation(g.Cfg.AppDir, g.SharedGameFolder);
    g.Records.IniDir = where.Dir;
    g.Records.IniInUserFolder = where.UserFolder;
}

// Writes the records to Kiv.ini in dir, keeping what else the file holds; a file that does not
// exist yet starts from seedFrom (the game folder's own Kiv.ini) when that exists.
bool SaveTo(Game& g, const std::string& dir, const std::string& seedFrom, std::string& path, std::string& why) {
    path = FindDataFile(dir, kFileName);
    if (path.empty()) path = dir + kFileName;
    // A Kiv.ini that is a link stays the user's link: the file it names is rewritten.
    std::string target, existing;
    bool ok = FollowLinks(path, target, why);
    if (ok) {
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0) {
            if (!S_ISREG(st.st_mode)) {
                why = "cannot replace " + target + ": not a regular file";
                ok = false;
            } else if (!ReadWholeFile(target, existing, kMaxTextFileBytes)) {
                // Replacing a file we cannot read would lose whatever else it holds.
                why = "cannot read " + target + ": " + ErrnoText(errno);
                ok = false;
            }
        } else if (errno != ENOENT) {
            why = "cannot reach " + target + ": " + ErrnoText(errno);
            ok = false;
        } else if (!seedFrom.empty() && !ReadWholeFile(seedFrom, existing, kMaxTextFileBytes)) {
            existing.clear();
        }
    }
    if (ok) {
        ok = ReplaceFile(target, target + ".tmp", UpdateRecordsIni(existing, g.Records.StagesOpen, g.Records.RankTable),
                         why);
    }
    return ok;
}

}  // namespace

void LoadRecords(Game& g) {
    ChooseLocation(g);
    std::string bytes;
    std::string path = FindDataFile(g.Records.IniDir, kFileName);
    // A player's first run of a read-only game starts from the records the game came with.
    if (path.empty() && g.Records.IniInUserFolder) path = FindDataFile(g.Cfg.AppDir, kFileName);
    g.P.TraceEvent("records", {{"file", Trace::Str(g.Records.IniDir + kFileName)},
                               {"user", Trace::Bool(g.Records.IniInUserFolder)}});
    // A missing or unreadable file is no error: every key then takes its default.
    if (path.empty() || !ReadWholeFile(path, bytes, kMaxTextFileBytes)) bytes.clear();
    StoredRecords r = ParseRecordsIni(bytes, Presets(g), g.Cfg.DefaultPlayerName.View());
    g.Records.StagesOpen = r.StagesOpen;
    g.Records.RankTable = r.RankTable;
    g.Records.PlayerName = r.PlayerName;
}

bool SaveRecords(Game& g) {
    if (g.Shell.CloseRequested) return true;
    ChooseLocation(g);
    // A game folder made read-only since the records were read sends them to the player's.
    if (!g.Records.IniInUserFolder && !FolderWritable(g.Records.IniDir)) {
        g.Records.IniDir = UserRecordsDir(g.Cfg.AppDir);
        g.Records.IniInUserFolder = true;
    }
    std::string path, why;
    const std::string gameIni = FindDataFile(g.Cfg.AppDir, kFileName);
    bool ok;
    if (g.Records.IniInUserFolder) {
        ok = MakeFolders(g.Records.IniDir, why) && SaveTo(g, g.Records.IniDir, gameIni, path, why);
    } else {
        ok = SaveTo(g, g.Records.IniDir, std::string(), path, why);
        const bool readOnly =
            !ok && (errno == EROFS || errno == EACCES || errno == EPERM || !FolderWritable(g.Records.IniDir));
        if (readOnly) {
            // A game folder that turns out to be read-only does not cost the player a result:
            // the records go to the player's own folder from now on.
            const std::string userDir = UserRecordsDir(g.Cfg.AppDir);
            std::string userPath, userWhy;
            if (MakeFolders(userDir, userWhy) && SaveTo(g, userDir, gameIni, userPath, userWhy)) {
                std::fprintf(stderr, "kiv: %s; the records were saved in %s instead\n", why.c_str(), userPath.c_str());
                g.Records.IniDir = userDir;
                g.Records.IniInUserFolder = true;
                path = userPath;
                ok = true;
            }
        }
    }

    g.Records.SaveError = ok ? std::string() : why;
    // Kiv.ini in the game folder is named as it stands; one elsewhere by its whole path.
    const std::string shown = g.Records.IniInUserFolder ? path : BaseName(path);
    if (ok) {
        g.P.TraceEvent("save", {{"file", Trace::Str(shown)}});
    } else {
        std::fprintf(stderr, "kiv: the records were not saved: %s\n", why.c_str());
        g.P.TraceEvent("save", {{"file", Trace::Str(shown)}, {"error", Trace::Str(why)}});
    }
    return ok;
}

}  // namespace kiv
