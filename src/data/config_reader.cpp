#include "data/config_reader.h"

#include <cstdint>
#include <limits>

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
// is an ordinary byte), Ctrl-Z ends the file, and a number at the end of the file reads 0.
class TextReader {
public:
    explicit TextReader(std::string_view bytes) : bytes_(bytes) {
        size_t z = bytes_.find(kCtrlZ);
        if (z != std::string_view::npos) bytes_ = bytes_.substr(0, z);
    }

    void NextLine() {
        while (pos_ < bytes_.size() && bytes_[pos_] != '\r') ++pos_;
        if (pos_ >= bytes_.size()) return;
        ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    }

    int32_t ReadNumber() {
        while (pos_ < bytes_.size() && static_cast<uint8_t>(bytes_[pos_]) <= 0x20) ++pos_;
        if (pos_ >= bytes_.size()) return 0;
        size_t start = pos_;
        while (pos_ < bytes_.size() && pos_ - start < 32 && static_cast<uint8_t>(bytes_[pos_]) > 0x20) ++pos_;
        std::string_view token = bytes_.substr(start, pos_ - start);
        int32_t value = 0;
        if (!ParseNumberToken(token, value)) throw MalformedNumber{LineAt(start), std::string(token)};
        return value;
    }

    std::string ReadText(size_t max) {
        size_t start = pos_;
        while (pos_ < bytes_.size() && pos_ - start < max && bytes_[pos_] != '\r') ++pos_;
        return std::string(bytes_.substr(start, pos_ - start));
    }

private:
    // 1-based line of a byte offset, counting CR and CR LF as line ends like NextLine does.
    int LineAt(size_t offset) const {
        int line = 1;
        for (size_t i = 0; i < offset; ++i)
            if (bytes_[i] == '\r') ++line;
        return line;
    }

    std::string_view bytes_;
    size_t pos_ = 0;
};

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

ConfigResult ParseConfiguration(std::string_view bytes, const std::string& appDir, Config& cfg) {
    std::string dir = cfg.AppDir;
    cfg = Config{};
    cfg.AppDir = dir;

    TextReader in(bytes);
    try {
        cfg.DefaultPlayerName = in.ReadText(16);
        if (cfg.DefaultPlayerName == "//dt") cfg.DefaultPlayerName = "\x83\x7D\x83\x58\x83\x5E\x81\x5B";  // マスター

        for (auto& face : cfg.FaceTable) {
            in.NextLine();
            for (auto& v : face) v = static_cast<int16_t>(in.ReadNumber());
        }
        in.NextLine();
        cfg.PresetRankName = in.ReadText(6);
        if (cfg.PresetRankName == "//du") cfg.PresetRankName = "master";

        for (auto& layout : cfg.StageLayout) {
            in.NextLine();
            for (auto& v : layout) v = static_cast<int16_t>(in.ReadNumber());
        }
        in.NextLine();
        for (auto& params : cfg.StageParams) {
            in.NextLine();
            for (auto& v : params) v = static_cast<uint8_t>(in.ReadNumber());
        }
        in.NextLine();
        in.NextLine();
        for (auto& v : cfg.SoundNumbers) v = static_cast<uint8_t>(in.ReadNumber());
        in.NextLine();
        for (auto& spots : cfg.StageSpots) {
            in.NextLine();
            for (auto& v : spots) v = static_cast<int16_t>(in.ReadNumber());
        }
        in.NextLine();
        for (auto& points : cfg.CheckPoints) {
            for (int j = 0; j < 4; ++j) {
                in.NextLine();
                for (int k = 0; k < 5; ++k) {
                    points[5 * j + k].X = static_cast<int16_t>(in.ReadNumber());
                    points[5 * j + k].Y = static_cast<int16_t>(in.ReadNumber());
                }
            }
        }
        in.NextLine();
        for (auto& row : cfg.OpeningScript) {
            in.NextLine();
            for (auto& v : row) v = static_cast<uint8_t>(in.ReadNumber());
        }
        in.NextLine();
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
        for (int k = 0; k < 8; ++k) in.ReadNumber();  // a line the game does not use
        in.NextLine();
        cfg.ResultCodeSeed = in.ReadNumber();
        in.NextLine();
        in.NextLine();
        for (auto& music : cfg.MusicFiles) {
            int16_t n = static_cast<int16_t>(in.ReadNumber());
            music = "";
            if (n == 0) continue;
            std::string name = "Kv" + ZeroPad(2, n) + ".mid";
            if (DataFileExists(appDir, name)) music = name;
        }
        in.NextLine();
        for (auto& texts : cfg.StageTexts) {
            for (int i = 1; i <= 10; ++i) {
                in.NextLine();
                texts[i] = in.ReadText(95);
            }
        }
        in.NextLine();
        in.NextLine();
        cfg.TickerText = in.ReadText(std::string::npos);
    } catch (const MalformedNumber& e) {
        return ConfigResult{false, "Kiv.txt line " + std::to_string(e.line) + ": \"" + e.token +
                                       "\" is not a valid number"};
    }
    return ConfigResult{};
}

}  // namespace kiv
