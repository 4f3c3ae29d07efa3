#include "demo_scripts.h"

#include <string_view>

namespace kiv {

std::string LetterClick(char c) {
    const int d = static_cast<int>(std::string_view("abcdefghijklmnopqrstuvwxyz_").find(c)) + 1;
    const int x = d % 2 ? 100 : 200;
    const int y = d % 2 ? 36 + 28 * ((d - 1) / 2) + 1 : 50 + 28 * ((d - 2) / 2) + 1;
    return "click " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

std::string ChallengeRun(const Config& cfg, const std::string& name, bool assist) {
    auto onPoint = [](int x, int y) {
        return "click " + std::to_string(x - 9) + " " + std::to_string(y - 7) + "\nframes 1\n";
    };
    std::string s =
        "frames 5\nclick 320 240\nuntil-scene 1 300\nuntil-step 12 300\n"
        "click 530 245\nuntil-step 14 100\nclick 530 245\n";  // the challenge item, confirmed
    for (int stage = 0; stage < 10; ++stage) {
        const auto& w = cfg.StageLayout[static_cast<size_t>(stage)];
        s += "until-scene " + std::to_string(stage + 2) + " 300\nuntil-step 4 3000\nclick 320 240\nuntil-step 50 20\n";
        s += onPoint(w[5], w[6]);  // the refill spot
        if (assist && stage == 0) s += "key f5\n";
        for (const Point16& p : cfg.CheckPoints[static_cast<size_t>(stage)]) s += onPoint(p.X, p.Y);
        s += "click 320 240 right\nuntil-step 84 500\nclick 320 240\nuntil-step 98 500\nclick 320 240\n";
    }
    s += "until-scene 12 300\nuntil-step 55 3000\nclick 320 240\nuntil-scene 13 300\nuntil-step 64 3000\n";
    for (char c : name) s += LetterClick(c);
    s += "click 320 240\nuntil-scene 0 50\nframes 5\n";
    return s;
}

}  // namespace kiv
