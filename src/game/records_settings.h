#pragma once

// What the records store and the ranking take from a game, gathered where they are called.

#include "game/game.h"
#include "records/ranking.h"
#include "records/records_store.h"

namespace kiv {

inline RecordsSettings RecordsSettingsOf(const Game& g) {
    RecordsSettings s;
    s.GameDir = g.Cfg.AppDir;
    s.SharedGameFolder = g.SharedGameFolder;
    s.PresetRankName = g.Cfg.PresetRankName.Str();
    s.DefaultPlayerName = g.Cfg.DefaultPlayerName.Str();
    s.Halting = g.Shell.CloseRequested;
    return s;
}

inline ResultCodeInputs ResultCodeInputsOf(const Game& g) { return {g.Cfg.ResultCodeSeed, g.Play.CheatUsed}; }

}  // namespace kiv
