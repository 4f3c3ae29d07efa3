// Kiv.txt as the game reads it: malformed numbers, line ends, the names and the text lines.
#include <string>
#include <string_view>

#include "check/check_context.h"
#include "data/sjis.h"
#include "data/strings.h"

namespace kiv::check {

namespace {

constexpr std::string_view kNamePlaceholder = "\x82\x66";  // the full-width letter G
constexpr std::string_view kEndCode = "_/";
constexpr std::string_view kNewRowCode = "__";
constexpr size_t kTextCapacity = 95;

}  // namespace

bool CheckLineEnds(CheckContext& c) {
    const int lone = c.Notes.LoneLineFeeds;
    if (lone == 0) return true;
    if (c.Notes.FirstLoneLineFeed >= c.Notes.TickerLine) {
        // Past the start of the help line nothing more is read amiss.
        c.Warning("Kiv.txt", c.Notes.FirstLoneLineFeed,
                  "the help line holds an LF that is not after a CR: the game reads it as part of the line");
        return true;
    }
    const std::string which =
        lone == 1 ? std::string("this line ends") : "this line and " + std::to_string(lone - 1) + " more end";
    c.Error("Kiv.txt", c.Notes.FirstLoneLineFeed,
            which +
                " with LF alone: the game ends a line only at CR or CR LF, so it reads such a line "
                "together with the next one, and every value after it from the wrong place");
    return false;
}

namespace {

void CheckNumbers(CheckContext& c) {
    for (const ConfigNotes::BadNumber& b : c.Notes.BadNumbers)
        c.Error("Kiv.txt", b.Line, b.Place + ": \"" + SjisToUtf8(b.Token) + "\" is not a number");
}

// A warning when the bytes are not all Shift-JIS.
void CheckSjis(CheckContext& c, std::string_view text, int line, const std::string& what) {
    const size_t bad = FirstInvalidSjisByte(text);
    if (bad == std::string_view::npos) return;
    c.Warning("Kiv.txt", line,
              what + ": byte " + std::to_string(bad + 1) + " is not valid Shift-JIS; the game shows it amiss");
}

void CheckNames(CheckContext& c) {
    const ConfigNotes& n = c.Notes;
    const std::string& name = n.PlayerNameText;
    CheckSjis(c, name, n.PlayerNameLine, "the default player name");
    if (name.size() > size_t(c.Cfg.DefaultPlayerName.Capacity()))
        c.Warning("Kiv.txt", n.PlayerNameLine,
                  "the default player name has " + std::to_string(name.size()) + " bytes and is cut to 16");
    const int length = c.Cfg.DefaultPlayerName.Length();
    if (length % 2 != 0)
        c.Warning("Kiv.txt", n.PlayerNameLine,
                  "the default player name \"" + SjisToUtf8(c.Cfg.DefaultPlayerName.View()) + "\" has " +
                      std::to_string(length) +
                      " bytes, an odd number: where it stands for \"\xEF\xBC\xA7\" in the texts the game pads it "
                      "with a blank, to keep the typing on its two-byte steps");
    CheckSjis(c, n.PresetNameText, n.PresetNameLine, "the preset ranking name");
    if (n.PresetNameText.size() > size_t(c.Cfg.PresetRankName.Capacity()))
        c.Warning("Kiv.txt", n.PresetNameLine,
                  "the preset ranking name has " + std::to_string(n.PresetNameText.size()) + " bytes and is cut to 6");
}

// The 0-based offset at which the typing, two bytes at a time from the first, meets the end
// code; npos when it never does.
size_t TypedEndCode(std::string_view text) {
    size_t at = 0;
    while (at + 2 <= text.size()) {
        std::string_view unit = text.substr(at, 2);
        if (unit == kNewRowCode) {
            at += 2;
            if (at + 2 > text.size()) break;
            unit = text.substr(at, 2);
        }
        if (unit == kEndCode) return at;
        at += 2;
    }
    return std::string_view::npos;
}

// Whether line i (1..10) of stage s can ever be shown: the reaction lines 7/8 and 9/10 belong
// to zones E and D, which a radius of 0 switches off.
bool LineCanShow(const CheckContext& c, size_t s, int i) {
    const auto& z = c.Cfg.StageSpots[s];
    if (i == 7 || i == 8) return z[11] != 0;
    if (i == 9 || i == 10) return z[8] != 0;
    return true;
}

void CheckTextLine(CheckContext& c, size_t s, int i) {
    const std::string& whole = c.Notes.StageTextWhole[s][size_t(i)];
    const int line = c.Notes.StageTextLine[s][size_t(i)];
    const std::string where = "text line " + std::to_string(i) + " of " + StageName(int(s));
    CheckSjis(c, whole, line, where);
    const std::string text = whole.substr(0, kTextCapacity);  // what the game keeps
    const bool endTyped = TypedEndCode(text) != std::string_view::npos;
    if (whole.size() > kTextCapacity) {
        const std::string size = where + " has " + std::to_string(whole.size()) + " bytes; the game keeps 95";
        if (endTyped)
            c.Warning("Kiv.txt", line, size + ", and what stands after them is never shown");
        else
            c.Error("Kiv.txt", line, size + ", and the cut leaves it without its end code \"_/\"");
        return;
    }
    if (!endTyped) {
        const size_t any = text.find(kEndCode);
        if (any == std::string::npos)
            c.Error("Kiv.txt", line, where + " has no end code \"_/\"");
        else
            c.Error("Kiv.txt", line,
                    where + ": its end code \"_/\" at byte " + std::to_string(any + 1) +
                        " does not start on the two-byte steps of the typing (bytes 1, 3, 5 ...): pad a run "
                        "of single-byte letters of odd length with a blank");
        return;
    }
    // The name goes in as start-up puts it: padded to an even length, and only where the
    // placeholder starts a character.
    std::string name = c.Cfg.DefaultPlayerName.Str(), withName = text;
    if (name.size() % 2 != 0) name += ' ';
    ReplaceAllSjisBytes(kNamePlaceholder, name, int32_t(kTextCapacity), withName);
    if (TypedEndCode(withName) == std::string_view::npos)
        c.Warning(
            "Kiv.txt", line,
            where +
                ": with the player's name in place of \"\xEF\xBC\xA7\" it is cut to 95 bytes and loses its end code");
}

void CheckTexts(CheckContext& c) {
    for (size_t s = 0; s < size_t(kStages); ++s) {
        if (!c.Reachable[s]) continue;
        for (int i = 1; i <= 10; ++i)
            if (LineCanShow(c, s, i)) CheckTextLine(c, s, i);
    }
    CheckSjis(c, c.Cfg.TickerText, c.Notes.TickerLine, "the help line");
}

}  // namespace

void CheckKivText(CheckContext& c) {
    CheckNumbers(c);
    CheckNames(c);
}

// The texts belong to the stages that can be played: they are checked once the chains are known.
void CheckStageTexts(CheckContext& c) { CheckTexts(c); }

}  // namespace kiv::check
