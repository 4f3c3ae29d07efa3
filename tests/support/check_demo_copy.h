#pragma once

// A copy of the generated demo game in a fresh folder, for the tests of the game-folder check.

#include <filesystem>
#include <string>
#include <vector>

#include "check/game_check.h"
#include "platform/audio.h"
#include "test_support.h"

namespace kiv {

// A copy of the generated demo game in a fresh folder, for breaking one thing in it.
class DemoCopy {
public:
    DemoCopy() {
        for (const auto& e : std::filesystem::directory_iterator(KIV_GAME_DIR)) {
            const std::string name = e.path().filename().string();
            if (e.is_regular_file() && name != "kiv" && name != "Kiv.ini")
                std::filesystem::copy_file(e.path(), dir.File(name));
        }
        const std::string text = dir.Read("Kiv.txt");
        for (size_t from = 0; from < text.size();) {
            size_t end = text.find("\r\n", from);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(from, end - from));
            from = end + 2;
        }
    }

    // Line n (1-based) of Kiv.txt; Check() writes the lines back.
    std::string& Line(int n) { return lines.at(size_t(n - 1)); }
    // Replaces the first two numbers of a check point line: point 5k+1 of its stage.
    void SetFirstPoint(int line, int x, int y) {
        std::string& l = Line(line);
        size_t at = 0;
        for (int k = 0; k < 2; ++k) at = l.find_first_not_of(' ', l.find(' ', l.find_first_not_of(' ', at)));
        l = std::to_string(x) + " " + std::to_string(y) + " " + l.substr(at);
    }
    // Replaces the number at 0-based position i of a number line.
    void SetNumber(int line, int i, const std::string& value) {
        std::string& l = Line(line);
        size_t start = l.find_first_not_of(' ');
        for (int k = 0; k < i; ++k) start = l.find_first_not_of(' ', l.find(' ', start));
        l.replace(start, l.find(' ', start) - start, value);
    }
    void Remove(const std::string& name) { std::filesystem::remove(dir.File(name)); }
    std::string Joined() const {
        std::string out;
        for (const std::string& l : lines) out += l + "\r\n";
        return out;
    }
    CheckReport Check() {
        if (!rawText.empty())
            dir.Write("Kiv.txt", rawText);
        else
            dir.Write("Kiv.txt", Joined());
        return CheckGameFolder(dir.Path(), Probe);
    }

    TempDir dir;
    WaveProbe Probe = nullptr;  // how the check tells whether a WAV file plays; null: not asked
    std::vector<std::string> lines;
    std::string rawText;  // when set, written instead of the lines
};

}  // namespace kiv
