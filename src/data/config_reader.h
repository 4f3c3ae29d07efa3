#pragma once

#include <string>
#include <string_view>

#include "data/config.h"

namespace kiv {

struct ConfigResult {
    bool ok = true;
    std::string message;  // for a malformed file: names the file, the line and the token
};

// Reads the bytes of Kiv.txt into cfg (which it zeroes first, keeping AppDir). A music number
// names "KvNN.mid", kept only when that file exists in appDir. A token that is not a number
// stops the reading with ok = false; a file that ends early is no error.
ConfigResult ParseConfiguration(std::string_view bytes, const std::string& appDir, Config& cfg);

// The 32-bit value of a number token as the original runtime's Val reads it: an optional sign,
// then decimal digits or hex digits after "$", "x", "X", "0x" or "0X". False when it is not one.
bool ParseNumberToken(std::string_view token, int32_t& value);

}  // namespace kiv
