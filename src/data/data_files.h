#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kiv {

// The path of a game file: dir + name when it exists, otherwise a file of dir whose name
// differs only in letter case (game folders made on Windows mix cases freely), otherwise "".
std::string FindDataFile(const std::string& dir, const std::string& name);

inline bool DataFileExists(const std::string& dir, const std::string& name) { return !FindDataFile(dir, name).empty(); }

// Text files of a game (Kiv.txt, Kiv.ini) are small; anything larger is not one of them.
constexpr size_t kMaxTextFileBytes = 16u << 20;

// The size of a file in bytes; -1 when it cannot be looked at.
int64_t FileSize(const std::string& path);

// Reads a whole file; false when it cannot be opened or read, or holds more than maxBytes.
bool ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes = SIZE_MAX);

}  // namespace kiv
