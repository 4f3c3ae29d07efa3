#include "platform/headless/script.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <sstream>

namespace kiv {

namespace {

bool ToInt(const std::string& s, long long lo, long long hi, long long& v) {
    if (s.empty()) return false;
    errno = 0;
    char* end = nullptr;
    v = std::strtoll(s.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && v >= lo && v <= hi;
}

bool ToButton(const std::string& s, MouseButton& b) {
    if (s == "left")
        b = MouseButton::Left;
    else if (s == "right")
        b = MouseButton::Right;
    else if (s == "middle")
        b = MouseButton::Middle;
    else
        return false;
    return true;
}

bool ToKey(const std::string& s, long long& code) {
    if (s == "ctrl")
        code = vk::Control;
    else if (s == "f4")
        code = vk::F4;
    else if (s == "f5")
        code = vk::F5;
    else if (s == "f9")
        code = vk::F9;
    else if (s == "f11")
        code = vk::F11;
    else if (s == "f12")
        code = vk::F12;
    else
        return ToInt(s, 0, 255, code);
    return true;
}

// A seed as --seed takes it: decimal, or hexadecimal after 0x, from -2^31 to 2^32 - 1.
bool ToSeed(const std::string& s, long long& v) {
    const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
    if (s.empty()) return false;
    errno = 0;
    char* end = nullptr;
    v = std::strtoll(s.c_str(), &end, hex ? 16 : 10);
    return errno == 0 && *end == '\0' && v >= INT32_MIN && v <= UINT32_MAX;
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptCommand>& out, std::string& error) {
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    constexpr long long kCoord = 100000;
    while (std::getline(in, raw)) {
        ++lineNo;
        if (size_t hash = raw.find('#'); hash != std::string::npos) raw.resize(hash);
        std::istringstream words(raw);
        std::vector<std::string> w;
        for (std::string s; words >> s;) w.push_back(s);
        if (w.empty()) continue;
        auto fail = [&](const std::string& why) {
            error = "script line " + std::to_string(lineNo) + ": " + why;
            return false;
        };
        ScriptCommand c;
        c.line = lineNo;
        const std::string& cmd = w[0];
        const size_t n = w.size();
        if (cmd == "frames") {
            if (n != 2 || !ToInt(w[1], 0, 100000000, c.a)) return fail("usage: frames N");
            c.kind = ScriptCommand::Kind::Frames;
        } else if (cmd == "until-scene" || cmd == "until-step") {
            c.kind = cmd == "until-scene" ? ScriptCommand::Kind::UntilScene : ScriptCommand::Kind::UntilStep;
            c.b = 10000;
            if (n < 2 || n > 3 || !ToInt(w[1], -32768, 32767, c.a) || (n == 3 && !ToInt(w[2], 0, 100000000, c.b)))
                return fail("usage: " + cmd + " S [MAX]");
        } else if (cmd == "click" || cmd == "press" || cmd == "move" || cmd == "release") {
            c.kind = cmd == "click"   ? ScriptCommand::Kind::Click
                     : cmd == "press" ? ScriptCommand::Kind::Press
                     : cmd == "move"  ? ScriptCommand::Kind::Move
                                      : ScriptCommand::Kind::Release;
            if (n < 3 || !ToInt(w[1], -kCoord, kCoord, c.a) || !ToInt(w[2], -kCoord, kCoord, c.b))
                return fail("usage: " + cmd + " X Y" + (cmd == "move" ? " [shift]" : " [left|right|middle]") +
                            (cmd == "click" || cmd == "press" ? " [shift]" : ""));
            const bool takesButton = c.kind != ScriptCommand::Kind::Move;
            const bool takesShift = c.kind != ScriptCommand::Kind::Release;
            for (size_t i = 3; i < n; ++i) {
                if (takesButton && ToButton(w[i], c.button)) continue;
                if (takesShift && w[i] == "shift") {
                    c.shift = true;
                    continue;
                }
                return fail("unexpected '" + w[i] + "' after " + cmd);
            }
        } else if (cmd == "key") {
            if (n != 2 || !ToKey(w[1], c.a)) return fail("usage: key ctrl|f4|f5|f11|f12|CODE");
            c.kind = ScriptCommand::Kind::Key;
        } else if (cmd == "paint" || cmd == "close") {
            if (n != 1) return fail(cmd + " takes no arguments");
            c.kind = cmd == "paint" ? ScriptCommand::Kind::Paint : ScriptCommand::Kind::Close;
        } else if (cmd == "overlay") {
            if (n != 2 || (w[1] != "on" && w[1] != "off")) return fail("usage: overlay on|off");
            c.kind = ScriptCommand::Kind::Overlay;
            c.a = w[1] == "on";
        } else if (cmd == "reload") {
            if (n != 1) return fail(cmd + " takes no arguments");
            c.kind = ScriptCommand::Kind::Reload;
        } else if (cmd == "seed") {
            if (!out.empty()) return fail("seed must be the first command of the script");
            if (n != 2 || !ToSeed(w[1], c.a)) return fail("usage: seed N (decimal, or hexadecimal after 0x)");
            c.kind = ScriptCommand::Kind::Seed;
        } else if (cmd == "screenshot") {
            if (n != 2) return fail("usage: screenshot FILE");
            c.kind = ScriptCommand::Kind::Screenshot;
            c.file = w[1];
        } else {
            return fail("unknown command '" + cmd + "'");
        }
        out.push_back(c);
    }
    return true;
}

bool ScriptSeed(const std::vector<ScriptCommand>& script, uint32_t& seed) {
    if (script.empty() || script.front().kind != ScriptCommand::Kind::Seed) return false;
    seed = static_cast<uint32_t>(script.front().a);
    return true;
}

}  // namespace kiv
