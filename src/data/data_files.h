#pragma once

#include <string>

namespace kiv {

// The path of a game file: dir + name when it exists, otherwise a file of dir whose name
// differs only in letter case (game folders made on Windows mix cases freely), otherwise "".
std::string FindDataFile(const std::string& dir, const std::string& name);

inline bool DataFileExists(const std::string& dir, const std::string& name) {
    return !FindDataFile(dir, name).empty();
}

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace kiv
