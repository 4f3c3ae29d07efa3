#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "test_support.h"

// Runs the built program (KIV_BINARY) with ARGS through the shell, as a user at a terminal
// would, and keeps its exit status and what it printed on either stream.
namespace kiv {

struct Ran {
    int status = -1;
    std::string out, err;
};

inline Ran RunKiv(const std::string& args) {
    TempDir io;
    const std::string cmd =
        std::string(KIV_BINARY) + " " + args + " >" + io.File("out.txt") + " 2>" + io.File("err.txt");
    const int raw = std::system(cmd.c_str());
    return Ran{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, io.Read("out.txt"), io.Read("err.txt")};
}

}  // namespace kiv
