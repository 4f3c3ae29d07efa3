#include "records/records_store.h"

#include "shell/game.h"

namespace kiv {

void LoadRecords(Game& g) {
    g.Records.StagesOpen = 1;
    g.Records.PlayerName = g.Cfg.DefaultPlayerName;
}

void SaveRecords(Game& g) {
    if (g.Shell.CloseRequested) return;
}

}  // namespace kiv
