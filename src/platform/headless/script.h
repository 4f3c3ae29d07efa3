#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace kiv {

// One command of a headless run's script.
struct ScriptCommand {
    enum class Kind {
        Frames,
        UntilScene,
        UntilStep,
        Click,
        Press,
        Move,
        Release,
        Key,
        Paint,
        Screenshot,
        Close,
        Overlay,
        Reload
    };
    Kind kind = Kind::Frames;
    int line = 0;            // line in the script file, for messages
    long long a = 0, b = 0;  // frames / target and max / x and y / key code
    MouseButton button = MouseButton::Left;
    bool shift = false;
    std::string file;  // screenshot
};

// Parses a script: one command a line, '#' starts a comment. False with a message naming the
// line when a command is unknown or its arguments are wrong.
bool ParseScript(const std::string& text, std::vector<ScriptCommand>& out, std::string& error);

}  // namespace kiv
