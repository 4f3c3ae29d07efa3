// What each stage leads to when it is cleared, and so which stages can be played at all.
#include <algorithm>
#include <string>
#include <vector>

#include "check/check_context.h"
#include "game/scene_control.h"

namespace kiv::check {

namespace {

constexpr int kSceneEnding = 12;
constexpr int kMenuStages = 8;  // the menu offers stages 1 to 8

// The scene a clear of stage s leads to: byte 0 + 1, kept in a byte like SceneNo.
int NextScene(const CheckContext& c, int s) { return (c.Cfg.StageParams[size_t(s)][0] + 1) & 0xFF; }

std::string SceneName(int scene) {
    if (scene >= kSceneFirstStage && scene <= kSceneLastStage)
        return "scene " + std::to_string(scene) + " (" + StageName(scene - kSceneFirstStage) + ")";
    if (scene == kSceneEnding) return "scene 12 (the ending)";
    return "scene " + std::to_string(scene);
}

void ReportOnce(CheckContext& c, int s, const std::string& text) {
    if (!c.Once("chain:" + std::to_string(s))) return;
    c.Error("Kiv.txt", c.Notes.StageParamsLine[size_t(s)], "StageParams of " + StageName(s) + ": " + text);
}

// A loop is reported once, at the stage of the loop whose clear leads back to an earlier or the
// same stage (the loop has at least one such step; normally the faulty one).
void ReportLoop(CheckContext& c, const std::vector<int>& loop) {
    std::vector<int> members = loop;
    std::sort(members.begin(), members.end());
    std::string key = "loop:";
    for (int s : members) key += std::to_string(s) + ",";
    if (!c.Once(key)) return;
    const auto first = std::min_element(loop.begin(), loop.end()) - loop.begin();
    int back = -1;
    for (size_t k = 0; k < loop.size() && back < 0; ++k) {
        const int s = loop[(size_t(first) + k) % loop.size()];
        if (NextScene(c, s) - 2 <= s) back = s;
    }
    std::string names;
    for (size_t k = 0; k < members.size(); ++k)
        names += (k == 0 ? "" : k + 1 == members.size() ? " and " : ", ") + std::to_string(members[k] + 1);
    ReportOnce(c, back,
               "a clear leads back to " + StageName(NextScene(c, back) - 2) + ", so stage" +
                   (members.size() > 1 ? "s " : " ") + names +
                   " go round in a loop and never reach the ending (scene 12)");
}

// Follows the clears from stage `start`; marks what it reaches and reports where it goes wrong.
void FollowChain(CheckContext& c, int start) {
    std::vector<int> path;
    int s = start;
    for (;;) {
        c.Reachable[size_t(s)] = true;
        path.push_back(s);
        if (c.Tainted("StageParams", s)) return;  // where it leads is not known
        const int next = NextScene(c, s);
        if (next == kSceneEnding) return;
        if (next < 2 || next > 11) {
            ReportOnce(c, s,
                       "a clear leads to " + SceneName(next) +
                           "; byte 0 must lead on to a stage (1 to 10 for scenes 2 to 11) or to the ending (11)");
            return;
        }
        const int t = next - 2;
        if (!c.InUse[size_t(t)]) {
            // An empty stage is one fault, however many stages lead to it.
            if (!c.Tainted("StageParams", t) && c.Once("empty:" + std::to_string(t)))
                ReportOnce(c, s, "a clear leads to " + StageName(t) + ", whose StageParams are all 0");
            return;
        }
        const auto seen = std::find(path.begin(), path.end(), t);
        if (seen != path.end()) {
            ReportLoop(c, std::vector<int>(seen, path.end()));
            return;
        }
        s = t;
    }
}

}  // namespace

void CheckStageChains(CheckContext& c) {
    for (int s = 0; s < kStages; ++s) {
        const auto& p = c.Cfg.StageParams[size_t(s)];
        c.InUse[size_t(s)] = std::any_of(p.begin(), p.end(), [](uint8_t b) { return b != 0; });
    }
    // Playing stage n of the menu opens the menu's stages 1 to n: a stage below the highest one
    // in use must be one too.
    int highest = 0;
    for (int s = 0; s < kMenuStages; ++s)
        if (c.InUse[size_t(s)]) highest = s;
    for (int s = 0; s <= highest; ++s) {
        if (c.InUse[size_t(s)] || c.Tainted("StageParams", s) || !c.Once("empty:" + std::to_string(s))) continue;
        c.Error("Kiv.txt", c.Notes.StageParamsLine[size_t(s)],
                "StageParams of " + StageName(s) + " are all 0, but " +
                    (s == 0 ? std::string("the menu and the challenge run start there")
                            : "the menu offers it once " + StageName(highest) + " has been played"));
    }
    // The menu starts stages 1 to 8, the challenge run stage 1; each goes on by its clears.
    for (int s = 0; s < kMenuStages; ++s)
        if (c.InUse[size_t(s)]) FollowChain(c, s);
    for (int s = kMenuStages; s < kStages; ++s) {
        if (!c.InUse[size_t(s)] || c.Reachable[size_t(s)]) continue;
        c.Warning("Kiv.txt", c.Notes.StageParamsLine[size_t(s)],
                  "no stage leads to " + StageName(s) + ", and the menu offers only stages 1 to 8: it is never played");
    }
}

}  // namespace kiv::check
