#include "data/config_reader.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "data/data_files.h"
#include "data/strings.h"

namespace kiv {

namespace {

constexpr char kCtrlZ = 0x1A;

struct MalformedNumber {
    int line;
    std::string token;
};

// Reads Kiv.txt the way the original's text file did: a line ends at CR or CR LF (a lone LF
// is an ordinary byte), Ctrl-Z ends the file, and a number at the end of the file reads 0. With
// notes, a malformed number is noted and read as 0 instead of stopping the reading.
class TextReader {
public:
    TextReader(std::string_view bytes, ConfigNotes* notes) : bytes_(bytes), notes_(notes) {
        size_t z = bytes_.find(kCtrlZ);
        if (z != std::string_view::npos) bytes_ = bytes_.substr(0, z);
    }

    // The record that the next numbers go into, for the notes.
    void SetPlace(std::string table, int record = -1) {
        table_ = std::move(table);
        record_ = record;
        place_ = table_;
        if (record_ >= 0)
            place_ += table_ == "StageLayout" && record_ == 10 ? " of the ending"
                                                               : " of stage " + std::to_string(record_ + 1);
    }

    void NextLine() {
        while (pos_ < bytes_.size() && bytes_[pos_] != '\r') ++pos_;
        if (pos_ >= bytes_.size()) return;
        ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    }

    int32_t ReadNumber() {
        while (pos_ < bytes_.size() && static_cast<uint8_t>(bytes_[pos_]) <= 0x20) ++pos_;
        lastLine_ = LineAt(pos_);
        if (pos_ >= bytes_.size()) return 0;
        size_t start = pos_;
        while (pos_ < bytes_.size() && pos_ - start < 32 && static_cast<uint8_t>(bytes_[pos_]) > 0x20) ++pos_;
        std::string_view token = bytes_.substr(start, pos_ - start);
        int32_t value = 0;
        if (ParseNumberToken(token, value)) return value;
        if (!notes_) throw MalformedNumber{lastLine_, std::string(token)};
        notes_->BadNumbers.push_back({lastLine_, std::string(token), place_, table_, record_});
        return 0;
    }

    std::string ReadText(size_t max) {
        if (pos_ >= bytes_.size()) ranOut_ = true;  // the numbers before ran out too, if any did
        size_t start = pos_;
        lastLine_ = LineAt(pos_);
        while (pos_ < bytes_.size() && pos_ - start < max && bytes_[pos_] != '\r') ++pos_;
        return std::string(bytes_.substr(start, pos_ - start));
    }

    // The rest of the current line up to its CR, without reading it.
    std::string PeekLine() const {
        size_t end = pos_;
        while (end < bytes_.size() && bytes_[end] != '\r') ++end;
        return std::string(bytes_.substr(pos_, end - pos_));
    }

    // Whether a text was asked for after the end of the file.
    bool RanOut() const { return ranOut_; }

    // The lines the game sees: those ended by CR (or CR LF), and a last one without an end.
    int GameLineCount() const {
        int lines = 0;
        for (char c : bytes_) lines += c == '\r';
        const bool lastEnded = bytes_.empty() || bytes_.back() == '\r' ||
                               (bytes_.size() >= 2 && bytes_.substr(bytes_.size() - 2) == "\r\n");
        return lines + (lastEnded ? 0 : 1);
    }
    bool HasLfWithoutCr() const {
        return bytes_.find('\n') != std::string_view::npos && bytes_.find('\r') == std::string_view::npos;
    }

    // The line of the last number or text read.
    int LastLine() const { return lastLine_; }

    // The LFs that do not follow a CR, and the line the first of them ends.
    void CountLoneLineFeeds(int& count, int& firstLine) {
        count = 0;
        firstLine = 0;
        for (size_t i = 0; i < bytes_.size(); ++i) {
            if (bytes_[i] != '\n' || (i > 0 && bytes_[i - 1] == '\r')) continue;
            if (count++ == 0) firstLine = LineAt(i);
        }
    }

private:
    // 1-based line of a byte offset, as an editor counts them (CR, LF and CR LF each end a
    // line); with CR or CR LF line ends that is the line NextLine is on. Counted on from the
    // last offset asked for, so a front-to-back read counts each byte once.
    int LineAt(size_t offset) {
        if (offset < countedTo_) {
            countedTo_ = 0;
            countedLine_ = 1;
        }
        for (; countedTo_ < offset && countedTo_ < bytes_.size(); ++countedTo_) {
            const char c = bytes_[countedTo_];
            if (c == '\r' || (c == '\n' && (countedTo_ == 0 || bytes_[countedTo_ - 1] != '\r'))) ++countedLine_;
        }
        return countedLine_;
    }

    std::string_view bytes_;
    ConfigNotes* notes_;
    std::string table_, place_;
    int record_ = -1;
    size_t pos_ = 0;
    size_t countedTo_ = 0;
    int countedLine_ = 1;
    int lastLine_ = 1;
    bool ranOut_ = false;
};

std::string EndedEarly(const TextReader& in) {
    std::string w = "Kiv.txt stops after line " + std::to_string(in.GameLineCount()) +
                    " of 213: the numbers after it read as 0 and the texts as empty";
    if (in.HasLfWithoutCr()) w += " (its lines end in LF alone, but each must end in CR LF)";
    return w;
}

// Reads the numbers of one record, each cut to the table's type; line := the line of its first.
template <typename T, size_t N>
void ReadRecord(TextReader& in, std::array<T, N>& values, int& line) {
    for (size_t i = 0; i < N; ++i) {
        values[i] = static_cast<T>(in.ReadNumber());
        if (i == 0) line = in.LastLine();
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParseNumberToken(std::string_view t, int32_t& value) {
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    bool hex = false;
    if (i < t.size() && (t[i] == '$' || t[i] == 'x' || t[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= t.size()) return false;
    if (hex) {
        uint32_t v = 0;
        for (; i < t.size(); ++i) {
            int d = HexDigit(t[i]);
            if (d < 0 || v > 0x0FFFFFFFu) return false;
            v = (v << 4) | static_cast<uint32_t>(d);
        }
        value = static_cast<int32_t>(negative ? 0u - v : v);
        return true;
    }
    int64_t v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        v = v * 10 + (t[i] - '0');
        if (v > int64_t{std::numeric_limits<int32_t>::max()} + 1) return false;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int32_t>::max()) return false;
    value = static_cast<int32_t>(v);
    return true;
}

ConfigResult ParseConfiguration(std::string_view bytes, const std::string& appDir, Config& cfg, ConfigNotes* notes) {
    std::string dir = cfg.AppDir;
    cfg = Config{};
    cfg.AppDir = dir;
    ConfigNotes scratch;  // where the lines go when nobody asked for them
    ConfigNotes& n = notes ? *notes : scratch;
    if (notes) *notes = ConfigNotes{};
    std::string warning;

    TextReader in(bytes, notes);
    if (notes) in.CountLoneLineFeeds(n.LoneLineFeeds, n.FirstLoneLineFeed);
    try {
        n.PlayerNameText = in.PeekLine();
        cfg.DefaultPlayerName = in.ReadText(16);
        n.PlayerNameLine = in.LastLine();
        if (cfg.DefaultPlayerName == "//dt") cfg.DefaultPlayerName = "\x83\x7D\x83\x58\x83\x5E\x81\x5B";  // マスター

        for (size_t s = 0; s < cfg.FaceTable.size(); ++s) {
            in.NextLine();
            in.SetPlace("FaceTable", int(s));
            ReadRecord(in, cfg.FaceTable[s], n.FaceTableLine[s]);
        }
        in.NextLine();
        n.PresetNameText = in.PeekLine();
        cfg.PresetRankName = in.ReadText(6);
        n.PresetNameLine = in.LastLine();
        if (cfg.PresetRankName == "//du") cfg.PresetRankName = "master";

        for (size_t s = 0; s < cfg.StageLayout.size(); ++s) {
            in.NextLine();
            in.SetPlace("StageLayout", int(s));
            ReadRecord(in, cfg.StageLayout[s], n.StageLayoutLine[s]);
        }
        in.NextLine();
        for (size_t s = 0; s < cfg.StageParams.size(); ++s) {
            in.NextLine();
            in.SetPlace("StageParams", int(s));
            ReadRecord(in, cfg.StageParams[s], n.StageParamsLine[s]);
        }
        in.NextLine();
        in.NextLine();
        in.SetPlace("SoundNumbers");
        ReadRecord(in, cfg.SoundNumbers, n.SoundNumbersLine);
        in.NextLine();
        for (size_t s = 0; s < cfg.StageSpots.size(); ++s) {
            in.NextLine();
            in.SetPlace("StageSpots", int(s));
            ReadRecord(in, cfg.StageSpots[s], n.StageSpotsLine[s]);
        }
        in.NextLine();
        for (size_t s = 0; s < cfg.CheckPoints.size(); ++s) {
            auto& points = cfg.CheckPoints[s];
            in.SetPlace("CheckPoints", int(s));
            for (int j = 0; j < 4; ++j) {
                in.NextLine();
                for (int k = 0; k < 5; ++k) {
                    const size_t i = 5 * static_cast<size_t>(j) + static_cast<size_t>(k);
                    points[i].X = static_cast<int16_t>(in.ReadNumber());
                    n.CheckPointLine[s][i] = in.LastLine();
                    points[i].Y = static_cast<int16_t>(in.ReadNumber());
                }
            }
        }
        in.NextLine();
        for (size_t r = 0; r < cfg.OpeningScript.size(); ++r) {
            in.NextLine();
            in.SetPlace("OpeningScript row " + std::to_string(r + 1));
            for (auto& v : cfg.OpeningScript[r]) v = static_cast<uint8_t>(in.ReadNumber());
        }
        in.NextLine();
        in.SetPlace("PaletteRGB");
        for (int i = 0; i < 12; ++i) {
            in.NextLine();
            for (int k = 0; k < 4; ++k) {
                PaletteColor& c = cfg.PaletteRGB[4 * i + k];
                c.R = static_cast<uint8_t>(in.ReadNumber());
                c.G = static_cast<uint8_t>(in.ReadNumber());
                c.B = static_cast<uint8_t>(in.ReadNumber());
            }
        }
        in.NextLine();
        in.NextLine();
        in.SetPlace("the unused line 107");
        for (int k = 0; k < 8; ++k) in.ReadNumber();  // a line the game does not use
        in.NextLine();
        in.SetPlace("ResultCodeSeed");
        cfg.ResultCodeSeed = in.ReadNumber();
        in.NextLine();
        in.NextLine();
        in.SetPlace("music numbers");
        for (size_t k = 0; k < cfg.MusicFiles.size(); ++k) {
            int16_t number = static_cast<int16_t>(in.ReadNumber());
            n.MusicLine[k] = in.LastLine();
            cfg.MusicFiles[k] = "";
            if (number == 0) continue;
            std::string name = "Kv" + ZeroPad(2, number) + ".mid";
            n.MusicWanted[k] = name;
            if (DataFileExists(appDir, name)) cfg.MusicFiles[k] = name;
        }
        in.NextLine();
        for (size_t s = 0; s < cfg.StageTexts.size(); ++s) {
            for (size_t i = 1; i <= 10; ++i) {
                in.NextLine();
                n.StageTextWhole[s][i] = in.PeekLine();
                cfg.StageTexts[s][i] = in.ReadText(95);
                n.StageTextLine[s][i] = in.LastLine();
            }
        }
        in.NextLine();
        in.NextLine();
        // The help line may be left out; anything before it may not without a word.
        if (in.RanOut()) warning = EndedEarly(in);
        cfg.TickerText = in.ReadText(std::string::npos);
        n.TickerLine = in.LastLine();
    } catch (const MalformedNumber& e) {
        return ConfigResult{
            false, "Kiv.txt line " + std::to_string(e.line) + ": \"" + e.token + "\" is not a valid number", ""};
    }
    ConfigResult done;
    done.warning = warning;
    return done;
}

}  // namespace kiv
