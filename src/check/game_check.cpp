#include "check/game_check.h"

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "check/check_context.h"
#include "data/data_files.h"
#include "data/sjis.h"
#include "data/strings.h"
#include "game/game_media.h"
#include "media/surface.h"

namespace kiv {

namespace check {

CheckContext::CheckContext(const std::string& dir, CheckReport& report, WaveProbe canPlayWave)
    : Dir(dir), Report(report), CanPlayWave(canPlayWave) {
    if (Dir.empty()) Dir = "./";
    if (Dir.back() != '/') Dir += '/';
}

void CheckContext::Error(const std::string& file, int line, std::string text) {
    Report.Findings.push_back(CheckFinding{true, file, line, std::move(text)});
}

void CheckContext::Warning(const std::string& file, int line, std::string text) {
    Report.Findings.push_back(CheckFinding{false, file, line, std::move(text)});
}

bool CheckContext::Tainted(const char* table, int record) const {
    return std::any_of(Notes.BadNumbers.begin(), Notes.BadNumbers.end(),
                       [&](const ConfigNotes::BadNumber& b) { return b.Table == table && b.Record == record; });
}

const PictureProbe& CheckContext::Probe(const std::string& base) {
    auto it = probes_.find(base);
    if (it != probes_.end()) return it->second;
    PictureProbe p;
    p.File = PictureFileName(Dir, base);
    p.Found = DataFileExists(Dir, p.File);
    if (p.Found) {
        Surface picture;
        p.Readable = ReadPictureFile(Dir, p.File, picture, p.Why);
        p.Width = picture.Width;
        p.Height = picture.Height;
    }
    return probes_.emplace(base, std::move(p)).first->second;
}

std::string At(const std::string& where, int line) {
    return line > 0 ? where + " (Kiv.txt:" + std::to_string(line) + ")" : where;
}

std::string Numbered(const char* prefix, int digits, int number) {
    std::string name(prefix);
    name += ZeroPad(digits, number);
    return name;
}

std::string StageName(int s) { return "stage " + std::to_string(s + 1); }

namespace {

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Reads Kiv.txt as the game does, noting what the game would stop at.
void ReadKivText(CheckContext& c) {
    const std::string path = FindDataFile(c.Dir, "Kiv.txt");
    if (path.empty()) {
        c.Error("Kiv.txt", 0, "missing: the game stops at once with \"not find  Kiv.txt\"");
        return;
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxTextFileBytes)) {
        c.Error("Kiv.txt", 0, "cannot be read, or is larger than " + std::to_string(kMaxTextFileBytes >> 20) + " MB");
        return;
    }
    c.Cfg.AppDir = c.Dir;
    ParseConfiguration(bytes, c.Dir, c.Cfg, &c.Notes);
    c.ConfigRead = true;
}

}  // namespace

}  // namespace check

int CheckReport::Errors() const {
    return int(std::count_if(Findings.begin(), Findings.end(), [](const CheckFinding& f) { return f.Error; }));
}

int CheckReport::Warnings() const { return int(Findings.size()) - Errors(); }

namespace {

CheckReport CheckFolder(const std::string& dir, WaveProbe canPlayWave, const StageRender* render) {
    CheckReport report;
    if (!check::IsFolder(dir)) {
        report.Findings.push_back(CheckFinding{true, dir, 0, "no such folder"});
        if (render) report.RenderError = "nothing to render: " + dir + " is no folder";
        return report;
    }
    auto c = std::make_unique<check::CheckContext>(dir, report, canPlayWave);
    c->ForRender = render != nullptr;
    check::ReadKivText(*c);
    if (c->ConfigRead && !check::CheckLineEnds(*c)) c->ConfigRead = false;
    // The start-up sheets do not depend on Kiv.txt; everything else does.
    if (c->ConfigRead) {
        check::CheckKivText(*c);
        check::CheckStageChains(*c);
        check::CheckStageTexts(*c);
    }
    check::CheckPictures(*c);
    if (c->ConfigRead) {
        check::CheckCheckPoints(*c);
        check::CheckSounds(*c);
    }
    if (render) {
        if (c->ConfigRead)
            check::RenderStages(*c, *render);
        else
            report.RenderError = "nothing to render: Kiv.txt cannot be read as the game reads it";
    }
    return report;
}

}  // namespace

CheckReport CheckGameFolder(const std::string& dir, WaveProbe canPlayWave) {
    return CheckFolder(dir, canPlayWave, nullptr);
}

CheckReport CheckGameFolder(const std::string& dir, WaveProbe canPlayWave, const StageRender& render) {
    return CheckFolder(dir, canPlayWave, &render);
}

std::string FormatFinding(const CheckFinding& f) {
    std::string out = SjisToUtf8(f.File);
    if (f.Line > 0) {
        out += ':';
        out += std::to_string(f.Line);
    }
    out += f.Error ? ": " : ": warning: ";
    return out + f.Text;
}

namespace {

int PrintCheck(const std::string& dir, std::FILE* out, const CheckReport& report) {
    for (const CheckFinding& f : report.Findings) std::fprintf(out, "%s\n", FormatFinding(f).c_str());
    const int errors = report.Errors(), warnings = report.Warnings();
    std::fprintf(out, "%s: %d error%s, %d warning%s\n", dir.c_str(), errors, errors == 1 ? "" : "s", warnings,
                 warnings == 1 ? "" : "s");
    return errors > 0 ? 1 : 0;
}

}  // namespace

int RunCheck(const std::string& dir, std::FILE* out, WaveProbe canPlayWave) {
    return PrintCheck(dir, out, CheckGameFolder(dir, canPlayWave));
}

int RunCheck(const std::string& dir, std::FILE* out, WaveProbe canPlayWave, const StageRender& render) {
    const CheckReport report = CheckGameFolder(dir, canPlayWave, render);
    const int status = PrintCheck(dir, out, report);
    std::fflush(out);
    if (!report.RenderError.empty()) {
        std::fprintf(stderr, "kiv: %s\n", report.RenderError.c_str());
        return 1;
    }
    std::fprintf(stderr, "kiv: wrote %zu picture%s of the stages into %s\n", report.Rendered.size(),
                 report.Rendered.size() == 1 ? "" : "s", render.Dir.c_str());
    return status;
}

}  // namespace kiv
