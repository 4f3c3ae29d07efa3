// A headless script of any text: every command it accepts has arguments in range, and anything
// else is refused with the line it stands on.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/headless/script.h"

namespace kiv::fuzz {

namespace {

void CheckCommand(const ScriptCommand& c) {
    using K = ScriptCommand::Kind;
    Require(c.line >= 1, "a command knows its line");
    switch (c.kind) {
        case K::Frames: Require(c.a >= 0 && c.a <= 100000000, "frames N is in range"); break;
        case K::UntilScene:
        case K::UntilStep:
            Require(c.a >= -32768 && c.a <= 32767 && c.b >= 0 && c.b <= 100000000, "until- is in range");
            break;
        case K::Click:
        case K::Press:
        case K::Move:
        case K::Release:
            Require(c.a >= -100000 && c.a <= 100000 && c.b >= -100000 && c.b <= 100000, "a point is in range");
            break;
        case K::Key: Require(c.a >= 0 && c.a <= 255, "a key is a virtual-key code"); break;
        case K::Screenshot: Require(!c.file.empty(), "a screenshot names its file"); break;
        case K::Overlay: Require(c.a == 0 || c.a == 1, "overlay is on or off"); break;
        case K::Seed: Require(c.a >= -2147483648LL && c.a <= 4294967295LL, "a seed is a 32-bit number"); break;
        case K::Paint:
        case K::Close:
        case K::Reload: break;
    }
}

}  // namespace

void ScriptInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ScriptCommand> script;
    std::string error;
    if (!ParseScript(text, script, error)) {
        Require(error.rfind("script line ", 0) == 0, "a refused script names the line");
        return;
    }
    Require(error.empty(), "an accepted script has no error");
    int line = 0;
    for (const ScriptCommand& c : script) {
        CheckCommand(c);
        Require(c.line > line, "commands keep the order of their lines");
        Require(c.kind != ScriptCommand::Kind::Seed || &c == &script.front(), "a seed comes only first");
        line = c.line;
    }
}

}  // namespace kiv::fuzz

KIV_FUZZ_ENTRY(kiv::fuzz::ScriptInput)
