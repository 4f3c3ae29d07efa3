#include "records/records_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "data/config_reader.h"
#include "data/data_files.h"
#include "data/strings.h"
#include "files/folder.h"
#include "files/paths.h"
#include "ini/ini_text.h"
#include "platform/platform.h"
#include "records/ranking.h"
#include "records/records_location.h"

namespace kiv {

namespace {

constexpr const char* kSection = "Kiv";
constexpr const char* kFileName = "Kiv.ini";
constexpr const char* kTemporarySuffix = ".tmp";

std::string RankKey(int k) { return "Rank" + ZeroPad(2, k); }

}  // namespace

bool IniInteger(std::string_view value, int32_t& out) { return ParseNumberToken(value, out); }

bool IsRecordsText(std::string_view bytes) { return IniSection(bytes, kSection).Present(); }

StoredRecords ParseRecordsIni(std::string_view bytes, const std::array<RankEntry, 31>& presets,
                              std::string_view defaultName) {
    const IniSection section(bytes, kSection);
    StoredRecords r;
    int32_t stage = 1;
    if (!IniInteger(section.ReadString("Stage", ""), stage)) stage = 1;
    r.StagesOpen = static_cast<int8_t>(static_cast<uint8_t>(stage));  // the low eight bits
    for (int k = 1; k <= 30; ++k) r.RankTable[k] = section.ReadString(RankKey(k), presets[k].View());
    r.PlayerName = section.ReadString("MyName", defaultName);
    return r;
}

std::string UpdateRecordsIni(std::string_view existing, int8_t stagesOpen, const std::array<RankEntry, 31>& rankTable) {
    std::vector<IniKeyValue> values;
    values.push_back({"Stage", std::to_string(static_cast<int>(stagesOpen))});
    for (int k = 1; k <= 30; ++k) values.push_back({RankKey(k), rankTable[k].Str()});
    return WriteIniKeys(existing, kSection, values);
}

namespace {

// Kiv.ini of a folder as the store finds it: followed through its links, and read in the
// folder it ends in, which stays open so that the file read is the file replaced.
struct IniFile {
    std::string Path;      // the folder's own entry, in whatever letter case it has there
    bool IsLink = false;   // that entry is a symbolic link
    std::string Target;    // the file the links end at (Path when it is no link)
    Folder TargetFolder;   // the target's folder; not open when it cannot be reached
    FileRead Read;         // what stands at the target
    FileError ReachError;  // why the target could not be reached
};

IniFile OpenIni(const std::string& dir) {
    IniFile f;
    f.Path = FindDataFile(dir, kFileName);
    if (f.Path.empty()) f.Path = dir + kFileName;
    struct stat st {};
    f.IsLink = ::lstat(f.Path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    if (!FollowLinks(f.Path, f.Target, f.ReachError) || !f.TargetFolder.Open(FolderOf(f.Target), f.ReachError)) {
        // A folder not made yet holds no file: the player's own folder before the first save.
        f.Read.Result = f.ReachError.Code == ENOENT ? FileRead::Status::Missing : FileRead::Status::Failed;
        f.Read.Error = f.ReachError;
        return f;
    }
    f.Read = ReadFileIn(f.TargetFolder, NameOf(f.Target), kMaxTextFileBytes);
    return f;
}

bool IsRecordsFile(const IniFile& f) { return f.Read.Result == FileRead::Status::Read && IsRecordsText(f.Read.Bytes); }

// A game folder is data from anyone: its Kiv.ini may lead out of it only to a records file
// (a player's own link into a synchronised folder), never to any other file of the player's
// nor to one not made yet. A link found in the place of a plain file since it was looked at
// counts as a link.
bool LinkRefused(const IniFile& f) {
    return (f.IsLink || f.Read.Result == FileRead::Status::Link) && !IsRecordsFile(f);
}

// Why the records of a game folder are kept in the player's folder although the game folder
// may be written, or nullptr when they are not.
const char* WhyNotInGameFolder(const IniFile& f) {
    if (LinkRefused(f)) return "links to a file that is not a records file";
    if (f.IsLink && !FolderWritable(f.TargetFolder.Path()))
        return "links to a records file in a folder that cannot be written";
    return nullptr;
}

void KeepInUserFolder(RecordsState& records, const RecordsSettings& settings, const char* why) {
    records.IniDir = UserRecordsDir(settings.GameDir);
    records.IniInUserFolder = true;
    std::fprintf(stderr, "kiv: Kiv.ini %s: the records are kept in %s%s\n", why, records.IniDir.c_str(), kFileName);
}

// The folder the records go to, chosen when they are first read.
void ChooseLocation(RecordsState& records, const RecordsSettings& settings) {
    if (!records.IniDir.empty()) return;
    const RecordsLocation where = ChooseRecordsLocation(settings.GameDir, settings.SharedGameFolder);
    if (!where.UserFolder) {
        if (const char* why = WhyNotInGameFolder(OpenIni(where.Dir))) {
            KeepInUserFolder(records, settings, why);
            return;
        }
    }
    records.IniDir = where.Dir;
    records.IniInUserFolder = where.UserFolder;
}

// The game folder's own records, which a player's first records in their own folder start
// from; "" when it has none (a link to anything but a records file is not read).
std::string GameRecords(const std::string& gameDir) {
    const IniFile f = OpenIni(gameDir);
    return f.Read.Result == FileRead::Status::Read && !LinkRefused(f) ? f.Read.Bytes : std::string();
}

enum class SaveResult { Saved, Failed, LinkRefused };

// Writes the records to Kiv.ini in dir, keeping what else the file holds; a file that does not
// exist yet starts from the records of seedDir (the game folder) when seedDir is given.
SaveResult SaveTo(const RecordsState& records, const std::string& dir, bool gameFolder, const std::string& seedDir,
                  std::string& path, FileError& error) {
    const IniFile f = OpenIni(dir);
    path = f.Path;
    if (gameFolder && LinkRefused(f)) return SaveResult::LinkRefused;
    // The checks on a folder's permissions that hold for the game folder hold where its link leads.
    if (gameFolder && f.IsLink && !FolderWritable(f.TargetFolder.Path())) {
        error = {EACCES, "cannot write in " + f.TargetFolder.Path() + ": the folder is read-only"};
        return SaveResult::Failed;
    }
    std::string existing;
    switch (f.Read.Result) {
        case FileRead::Status::Read: existing = f.Read.Bytes; break;
        case FileRead::Status::Missing:
            if (!f.TargetFolder.IsOpen()) {
                error = f.ReachError;
                return SaveResult::Failed;
            }
            if (!seedDir.empty()) existing = GameRecords(seedDir);
            break;
        case FileRead::Status::NotRegular:
            error = {0, "cannot replace " + f.Target + ": not a regular file"};
            return SaveResult::Failed;
        case FileRead::Status::Link:
            error = {ELOOP, "cannot replace " + f.Target + ": it was made a link while it was read"};
            return SaveResult::Failed;
        case FileRead::Status::TooLarge:
            // Replacing a file we cannot read would lose whatever else it holds.
            error = {EFBIG, "cannot read " + f.Target + ": it is larger than 16 MB"};
            return SaveResult::Failed;
        case FileRead::Status::Failed: error = f.Read.Error; return SaveResult::Failed;
    }
    const std::string name = NameOf(f.Target);
    const mode_t mode = f.Read.Result == FileRead::Status::Read ? f.Read.Mode : 0644;
    const std::string bytes = UpdateRecordsIni(existing, records.StagesOpen, records.RankTable);
    return ReplaceFileIn(f.TargetFolder, name, name + kTemporarySuffix, bytes, mode, error) ? SaveResult::Saved
                                                                                            : SaveResult::Failed;
}

std::array<RankEntry, 31> Presets(const RecordsSettings& settings) {
    std::array<RankEntry, 31> p{};
    for (int k = 1; k <= 30; ++k) p[k] = PresetRankEntry(settings.PresetRankName, k);
    return p;
}

}  // namespace

void LoadRecords(RecordsState& records, const RecordsSettings& settings, Platform& platform) {
    ChooseLocation(records, settings);
    const IniFile f = OpenIni(records.IniDir);
    std::string bytes;
    if (f.Read.Result == FileRead::Status::Read && (records.IniInUserFolder || !LinkRefused(f))) {
        bytes = f.Read.Bytes;
    } else if (records.IniInUserFolder &&
               (f.Read.Result == FileRead::Status::Missing || f.Read.Result == FileRead::Status::NotRegular)) {
        // A player's first run of a read-only game starts from the records the game came with.
        bytes = GameRecords(settings.GameDir);
    }
    // A missing or unreadable file is no error: every key then takes its default.
    platform.TraceEvent(
        "records", {{"file", Trace::Str(records.IniDir + kFileName)}, {"user", Trace::Bool(records.IniInUserFolder)}});
    const StoredRecords r = ParseRecordsIni(bytes, Presets(settings), settings.DefaultPlayerName);
    records.StagesOpen = r.StagesOpen;
    records.RankTable = r.RankTable;
    records.PlayerName = r.PlayerName;
}

bool SaveRecords(RecordsState& records, const RecordsSettings& settings, Platform& platform) {
    if (settings.Halting) return true;
    ChooseLocation(records, settings);
    // A game folder made read-only since the records were read sends them to the player's.
    if (!records.IniInUserFolder && !FolderWritable(records.IniDir)) {
        records.IniDir = UserRecordsDir(settings.GameDir);
        records.IniInUserFolder = true;
    }
    std::string path;
    FileError error;
    bool ok;
    if (records.IniInUserFolder) {
        ok = MakeFolders(records.IniDir, error) &&
             SaveTo(records, records.IniDir, false, settings.GameDir, path, error) == SaveResult::Saved;
    } else {
        const SaveResult result = SaveTo(records, records.IniDir, true, std::string(), path, error);
        ok = result == SaveResult::Saved;
        if (result == SaveResult::LinkRefused) {
            // The link was changed since the records were read: they go where a refused link sends them.
            KeepInUserFolder(records, settings, "links to a file that is not a records file");
            ok = MakeFolders(records.IniDir, error) &&
                 SaveTo(records, records.IniDir, false, settings.GameDir, path, error) == SaveResult::Saved;
        } else if (!ok && (error.Code == EROFS || error.Code == EACCES || error.Code == EPERM ||
                           !FolderWritable(records.IniDir))) {
            // A game folder that turns out to be read-only does not cost the player a result:
            // the records go to the player's own folder from now on.
            const std::string userDir = UserRecordsDir(settings.GameDir);
            std::string userPath;
            FileError userError;
            if (MakeFolders(userDir, userError) &&
                SaveTo(records, userDir, false, settings.GameDir, userPath, userError) == SaveResult::Saved) {
                std::fprintf(stderr, "kiv: %s; the records were saved in %s instead\n", error.Why.c_str(),
                             userPath.c_str());
                records.IniDir = userDir;
                records.IniInUserFolder = true;
                path = userPath;
                ok = true;
            }
        }
    }

    records.SaveError = ok ? std::string() : error.Why;
    // Kiv.ini in the game folder is named as it stands; one elsewhere by its whole path.
    const std::string shown = records.IniInUserFolder ? path : NameOf(path);
    if (ok) {
        platform.TraceEvent("save", {{"file", Trace::Str(shown)}});
    } else {
        std::fprintf(stderr, "kiv: the records were not saved: %s\n", error.Why.c_str());
        platform.TraceEvent("save", {{"file", Trace::Str(shown)}, {"error", Trace::Str(error.Why)}});
    }
    return ok;
}

}  // namespace kiv
