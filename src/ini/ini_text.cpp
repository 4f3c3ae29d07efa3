#include "ini/ini_text.h"

#include <strings.h>

namespace kiv {

namespace {

// The profile reader hands back at most 2047 characters of a value.
constexpr size_t kValueBuffer = 2048;

std::string_view Trim(std::string_view s) {
    size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
    return b == std::string_view::npos ? std::string_view() : s.substr(b, e - b + 1);
}

bool QuotedPair(std::string_view v) {
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

IniLine ClassifyLine(std::string_view line, bool first) {
    IniLine out;
    out.text = line;
    if (first && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
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

// A value as it is written so that the reader gives it back as it is.
std::string ValueText(const std::string& v) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (QuotedPair(v) || (!v.empty() && (blank(v.front()) || blank(v.back())))) return '"' + v + '"';
    return v;
}

}  // namespace

std::vector<IniLine> IniLines(std::string_view text) {
    std::vector<IniLine> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find_first_of("\r\n", from);
        if (end == std::string_view::npos) {
            lines.push_back(ClassifyLine(text.substr(from), lines.empty()));
            break;
        }
        lines.push_back(ClassifyLine(text.substr(from, end - from), lines.empty()));
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        from = end + (crlf ? 2 : 1);
    }
    return lines;
}

bool SameIniName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

IniSection::IniSection(std::string_view text, std::string_view section) {
    bool inSection = false;
    for (const IniLine& l : IniLines(text)) {
        if (l.kind == IniLine::Kind::Section) {
            inSection = SameIniName(l.name, section);
            present_ = present_ || inSection;
        } else if (l.kind == IniLine::Kind::Key && inSection) {
            keys_.push_back({std::string(l.name), std::string(l.value)});
        }
    }
}

std::string IniSection::ReadString(std::string_view key, std::string_view def) const {
    for (const Key& k : keys_) {
        if (!SameIniName(k.Name, key)) continue;
        std::string_view v = k.Value;
        if (QuotedPair(v)) v = v.substr(1, v.size() - 2);
        return std::string(v.substr(0, kValueBuffer - 1));
    }
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    return std::string(def);
}

std::string WriteIniKeys(std::string_view text, std::string_view section, const std::vector<IniKeyValue>& values) {
    const std::vector<IniLine> lines = IniLines(text);
    std::vector<bool> written(values.size(), false);
    std::vector<std::string> replaced(lines.size());
    bool inSection = false;
    long firstSection = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        const IniLine& l = lines[i];
        if (l.kind == IniLine::Kind::Section) {
            inSection = SameIniName(l.name, section);
            if (inSection && firstSection < 0) firstSection = static_cast<long>(i);
            continue;
        }
        if (!inSection || l.kind != IniLine::Kind::Key) continue;
        for (size_t v = 0; v < values.size(); ++v) {
            if (!written[v] && SameIniName(l.name, values[v].Key)) {
                replaced[i] = std::string(l.name) + "=" + ValueText(values[v].Value);
                written[v] = true;
                break;
            }
        }
    }

    std::string added;
    if (firstSection < 0) added += "[" + std::string(section) + "]\r\n";
    for (size_t v = 0; v < values.size(); ++v)
        if (!written[v]) added += values[v].Key + "=" + ValueText(values[v].Value) + "\r\n";
    size_t at = lines.size();
    if (firstSection >= 0) {
        at = static_cast<size_t>(firstSection) + 1;
        for (size_t i = at; i < lines.size() && lines[i].kind != IniLine::Kind::Section; ++i)
            if (lines[i].kind == IniLine::Kind::Key) at = i + 1;
    }

    std::string out;
    out.reserve(text.size() + added.size() + 2 * lines.size());
    for (size_t i = 0; i <= lines.size(); ++i) {
        if (i == at) out += added;
        if (i == lines.size()) break;
        out += replaced[i].empty() ? lines[i].text : std::string_view(replaced[i]);
        out += "\r\n";
    }
    return out;
}

}  // namespace kiv
