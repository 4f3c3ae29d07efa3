#include "game/player_name.h"

#include <string_view>

#include "data/strings.h"
#include "game/game.h"

namespace kiv {

namespace {
constexpr std::string_view kNamePlaceholder = "\x82\x66";  // the full-width letter G
}

void PutPlayerNameInTexts(Game& g) {
    // The texts are typed two bytes at a time: a name of an odd length is padded with a space,
    // so the units after it stay on the grid and their codes are still found.
    std::string name = g.Records.PlayerName.Str();
    if (name.size() % 2 != 0) name += ' ';
    for (auto& stage : g.Cfg.StageTexts)
        for (int i = 1; i <= 10; ++i) ReplaceAllSjis(kNamePlaceholder, name, 95, stage[i]);
}

}  // namespace kiv
