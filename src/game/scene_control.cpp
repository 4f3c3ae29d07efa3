#include "game/scene_control.h"

namespace kiv {

void ChangeScene(Game& g, uint8_t scene) {
    g.Shell.SceneNo = scene;
    ResetSceneCounters(g);
}

void ResetSceneCounters(Game& g) { g.Shell.SceneCounters.fill(0); }

int16_t SceneStep(const Game& g) { return Sc(g, CommonCounter::Step); }

void SetSceneStep(Game& g, int16_t step) { Sc(g, CommonCounter::Step) = step; }

bool SixthFrame(Game& g) {
    int16_t& sub = Sc(g, CommonCounter::SubFrame);
    if (++sub <= 5) return false;
    sub = 0;
    return true;
}

void AdvanceStep(Game& g) {
    if (SixthFrame(g)) SetSceneStep(g, static_cast<int16_t>(SceneStep(g) + 1));
}

void SetFrameInterval(Game& g, uint8_t ms) {
    g.Shell.FrameInterval = ms;
    if (g.Shell.TimerDriven) g.P.SetTimerInterval(ms);
    g.P.TraceEvent("interval", {{"ms", Trace::Num(ms)}});
}

void SetGameCursor(Game& g, int16_t id) {
    g.Shell.CurrentCursor = id;
    g.P.SetCursor(id);
}

void CloseForm(Game& g) {
    g.Shell.HaltRequested = true;
    g.P.Close();
}

void ResetPlayFlags(Game& g) {
    PlayState& p = g.Play;
    p.RedrawLastStroke = false;
    p.ScrapeState = 0;
    p.PendingStroke = 0;
    p.TagVisible = true;
    p.FaceMood = 1;
    p.FaceEyeRow = 2;
    p.FaceMouthRow = 2;
}

}  // namespace kiv
