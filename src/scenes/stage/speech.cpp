#include "scenes/stage/speech.h"

#include <algorithm>
#include <string>

#include "data/sjis.h"
#include "game/game_media.h"
#include "media/raster.h"
#include "scenes/stage/stage_access.h"

namespace kiv {

namespace {

constexpr int kSpeechFontHeight = 14;
constexpr int kRowAdvance = 18;
constexpr int16_t kHoldFrames = 32;  // a finished reaction line stays 31 frames after its last
constexpr std::string_view kNewRow = "__";
constexpr std::string_view kEndOfLine = "_/";

const ShortString<95>& SpeechLine(const Game& g, int n) {
    static const ShortString<95> kNone;
    if (n < 1 || n > 10) return kNone;
    return g.Cfg.StageTexts[static_cast<size_t>(StageIndex(g))][static_cast<size_t>(n)];
}

// The two-byte unit i (1-based) of the line. A unit that would start past the last byte reads
// as the end code: a line without its end code, or with the code off the two-byte grid, ends
// after its last byte instead of being typed for ever.
std::string Unit(const ShortString<95>& line, int i) {
    if (2 * i - 1 > line.Length()) return std::string(kEndOfLine);
    return line.Copy(2 * i - 1, 2);
}

void BeginLine(Game& g, int n) {
    const auto& w = StageLayoutOf(g);
    g.Play.SpeechX = w[kSpeechLeft];
    g.Play.SpeechY = w[kSpeechTop];
    g.Play.SpeechRight = 0;
    g.P.TraceEvent("speech", {{"line", Trace::Num(n)}, {"text", Trace::Str(SjisToUtf8(SpeechLine(g, n).View()))}});
    PlayVoice(Sounds(g), n);
}

// A reaction line starts its hold; the next line starts typing from its first unit.
void EndLine(Game& g) {
    if (Sc(g, kSpeechState) < 0) Sc(g, kSpeechState) = kHoldFrames;
    Sc(g, kSubFrame) = 0;
}

void DrawUnit(Game& g, const std::string& u) {
    PlayState& p = g.Play;
    Surface& back = g.Media.BackBmp;
    SetBrushStyle(back, BrushStyle::Clear);
    back.Font.Italic = true;
    back.Font.Height = kSpeechFontHeight;
    TextOut(back, g.P.Fonts(), p.SpeechX, p.SpeechY, u);
    SetBrushStyle(back, BrushStyle::Solid);
    SetBrushColor(back, 0);
    // The advance is kept in a byte, as the unit's width always was.
    const uint8_t c = static_cast<uint8_t>(TextWidth(back, g.P.Fonts(), u) + 2);
    p.SpeechX = static_cast<int16_t>(p.SpeechX + c);
    p.SpeechRight = std::max(p.SpeechRight, p.SpeechX);
    g.Media.DstRect = MakeRect(p.SpeechX - c, p.SpeechY, p.SpeechX, p.SpeechY + kSpeechFontHeight);
    PresentRect(g, back);
}

}  // namespace

void StartReactionLine(Game& g, int b, StageCounter t) {
    if (Sc(g, kSpeechState) != 0) return;  // a line is typed or still shown
    int16_t& toggle = Sc(g, t);
    if (Random(g.Rand, 6) == 0) toggle = static_cast<int16_t>(1 - toggle);
    Sc(g, kSpeechLine) = static_cast<int16_t>(b + toggle);
    toggle = static_cast<int16_t>(1 - toggle);
    Sc(g, kSpeechState) = -1;
}

bool TypeSpeechStep(Game& g, int n) {
    const ShortString<95>& line = SpeechLine(g, n);
    if (Sc(g, kSubFrame) == 0) BeginLine(g, n);
    std::string u = Unit(line, ++Sc(g, kSubFrame));
    if (u == kNewRow) {
        u = Unit(line, ++Sc(g, kSubFrame));
        g.Play.SpeechX = StageLayoutOf(g)[kSpeechLeft];
        g.Play.SpeechY = static_cast<int16_t>(g.Play.SpeechY + kRowAdvance);
    }
    if (u == kEndOfLine) {
        EndLine(g);
        return true;
    }
    DrawUnit(g, u);
    return false;
}

void CancelSpeech(Game& g) {
    if (Sc(g, kSpeechState) == 0) return;
    EraseSpeech(g);
    Sc(g, kSpeechState) = 0;
    Sc(g, kSubFrame) = 0;
}

void EraseSpeech(Game& g) {
    const auto& w = StageLayoutOf(g);
    g.Media.DstRect = MakeRect(w[kSpeechLeft], w[kSpeechTop], g.Play.SpeechRight, g.Play.SpeechY + kSpeechFontHeight);
    CopySameRect(g, g.Media.BackBmp, g.Media.StageBackBmp);
    PresentRect(g, g.Media.BackBmp);
}

}  // namespace kiv
