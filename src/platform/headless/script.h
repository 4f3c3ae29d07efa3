#pragma once

#include <cstdint>
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
        Reload,
        Seed  // only as the first command: the seed of the random generator
    };
    Kind kind = Kind::Frames;
    int line = 0;            // line in the script file, for messages
    long long a = 0, b = 0;  // frames / target and max / x and y / key code / seed
    MouseButton button = MouseButton::Left;
    bool shift = false;
    std::string file;  // screenshot
};

// Parses a script: one command a line, '#' starts a comment. False with a message naming the
// line when a command is unknown or its arguments are wrong, or a seed stands after another
// command.
bool ParseScript(const std::string& text, std::vector<ScriptCommand>& out, std::string& error);

// The seed a script's first command gives the random generator, if it gives one.
bool ScriptSeed(const std::vector<ScriptCommand>& script, uint32_t& seed);

}  // namespace kiv
