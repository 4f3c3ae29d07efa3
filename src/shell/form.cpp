#include "shell/form.h"

#include "data/configuration.h"
#include "data/strings.h"
#include "game/game.h"
#include "game/game_media.h"
#include "game/player_name.h"
#include "game/records_settings.h"
#include "game/scene_control.h"
#include "maker/maker_tools.h"
#include "shell/scene_table.h"

namespace kiv {

bool TFM1::FormCreate() {
    ResetPlayFlags(g_);
    if (!g_.SeedGiven) Randomize(g_.Rand);
    bool shared = false;
    const std::string folder = FindGameFolder(g_.DataDirOverride, g_.ExePath, shared);
    if (shared) g_.SharedGameFolder = true;
    switch (LoadConfiguration(folder, g_.Cfg, startupError_)) {
        case ConfigLoad::Read: break;
        case ConfigLoad::Missing:
            // The halt path: the first clock tick closes the window, and nothing is saved.
            g_.Shell.HaltRequested = true;
            g_.P.ShowMessage("not find  Kiv.txt");
            g_.Shell.CloseRequested = true;
            break;
        case ConfigLoad::Malformed: g_.P.ShowMessage(startupError_); return false;
    }
    LoadRecords(g_.Records, RecordsSettingsOf(g_), g_.P);
    g_.Shell.WideMode = g_.FirstArg != "wideflower";
    ApplyDisplayMode(g_);
    g_.Sound.CurMusicName = "";
    PlayMusic(Sounds(g_), 1);
    PutPlayerNameInTexts(g_);
    ChangeScene(g_, kSceneOpening);
    CreateScreenSurfaces(g_.Media);
    g_.Play.CarryOverMode = 0;
    BuildPalette(g_.Media, g_.Cfg.PaletteRGB);
    ClearSurface(g_, g_.Media.BackBmp);
    LoadStartupSheets(Pictures(g_));
    SetGameCursor(g_, kCursorArrow);
    SetFrameInterval(g_, kDefaultFrameInterval);
    g_.P.SetIdleHandler(true);
    return true;
}

void TFM1::FormDestroy() {
    // A player who cannot keep a result must hear of it, not only a terminal.
    if (!SaveRecords(g_.Records, RecordsSettingsOf(g_), g_.P))
        g_.P.ShowMessage("the records were not saved: " + g_.Records.SaveError);
    ReleaseScreenSurfaces(g_.Media);
    ReleaseSound(Sounds(g_));
}

void TFM1::FormCloseQuery(bool& canClose) { g_.Shell.HaltRequested = canClose; }

bool TFM1::CloseQuery() {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose) g_.P.Close();
    return canClose;
}

void TFM1::FormPaint() { PresentAll(g_); }

void TFM1::HaltTick() {
    g_.P.SetVisible(false);
    if (g_.Shell.CloseRequested) g_.P.Close();
}

void TFM1::AfterFrame(uint32_t tick) {
    g_.Shell.LastFrameTick = tick;
    KeepMusicLooping(Sounds(g_));
    if (maker_) maker_->AfterFrame();
}

void TFM1::ShowMakerOverlay(bool on) {
    if (maker_) maker_->ShowOverlay(on);
}

void TFM1::ReloadGameFiles() {
    if (maker_) maker_->Reload("the script asked");
}

void TFM1::AppEvIdle() {
    uint32_t now = g_.P.TickCount();
    // Unsigned difference: the tick's wrap after 2^32 ms does no harm.
    if (static_cast<uint32_t>(now - g_.Shell.LastFrameTick) < g_.Shell.FrameInterval) return;
    if (g_.Shell.HaltRequested) {
        HaltTick();
        return;
    }
    RunFrame(g_);
    AfterFrame(now);
}

void TFM1::Timer1Timer() {
    if (g_.Shell.HaltRequested) {
        HaltTick();
        return;
    }
    RunFrame(g_);
    AfterFrame(g_.P.TickCount());
}

uint32_t TFM1::IdleDelay() {
    uint32_t elapsed = g_.P.TickCount() - g_.Shell.LastFrameTick;
    return elapsed >= g_.Shell.FrameInterval ? 0 : g_.Shell.FrameInterval - elapsed;
}

void RunFrame(Game& g) {
    const uint8_t scene = g.Shell.SceneNo;
    if (const SceneRoutines* r = RoutinesOfScene(scene)) r->Frame(g);
    ++g.Shell.FramesRun;
    g.P.SetFrameCount(g.Shell.FramesRun);
    if (g.Traces().Active()) {
        std::string sc = "[";
        for (size_t i = 0; i < g.Shell.SceneCounters.size(); ++i) {
            if (i) sc += ",";
            sc += Trace::Num(g.Shell.SceneCounters[i]);
        }
        sc += "]";
        g.P.TraceEvent("frame", {{"scene", Trace::Num(scene)}, {"sc", sc}});
    }
}

void SwitchClockMode(Game& g) {
    g.Shell.TimerDriven = !g.Shell.TimerDriven;
    g.P.TraceEvent("clock", {{"mode", Trace::Str(g.Shell.TimerDriven ? "timer" : "idle")}});
    if (g.Shell.TimerDriven) {
        g.P.SetIdleHandler(false);
        g.P.SetTimerInterval(g.Shell.FrameInterval);
        g.P.Beep();
    } else {
        g.P.SetTimerInterval(0);
        g.P.SetIdleHandler(true);
    }
}

void ApplyDisplayMode(Game& g) {
    g.P.SetVisible(false);
    if (g.Shell.WideMode) {
        int sw = 0, sh = 0;
        g.P.ScreenSize(sw, sh);
        // On a small screen the 640 x 480 picture fills it, without a frame.
        bool small = sh <= 510 || sw <= 650;
        g.P.SetWindow(640, 480, !small, small);
    } else {
        g.P.SetWindow(580, 380, true, false);
    }
    g.P.SetVisible(true);
}

}  // namespace kiv
