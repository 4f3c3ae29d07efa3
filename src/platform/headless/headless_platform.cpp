#include "platform/headless/headless_platform.h"

#include <cstdio>

namespace kiv {

void HeadlessPlatform::Step(FormEvents& form) {
    if (TimerInterval() > 0 && !IdleHandlerOn()) {
        tick_ += TimerInterval();
        form.TimerTick();
    } else if (IdleHandlerOn()) {
        tick_ += form.IdleDelay();
        form.Idle();
    } else {
        tick_ += 1;  // no clock source: time passes, nothing runs
    }
}

bool HeadlessPlatform::RunCommand(FormEvents& form, const ScriptCommand& c) {
    using K = ScriptCommand::Kind;
    const int x = static_cast<int>(c.a), y = static_cast<int>(c.b);
    switch (c.kind) {
        case K::Frames:
            for (long long i = 0; i < c.a && !Closed(); ++i) Step(form);
            break;
        case K::UntilScene:
        case K::UntilStep: {
            const auto& probe = c.kind == K::UntilScene ? sceneProbe_ : stepProbe_;
            long long ran = 0;
            while (!Closed() && probe && probe() != c.a) {
                if (ran++ >= c.b) {
                    gaveUp_ = true;
                    gaveUpMessage_ = "script line " + std::to_string(c.line) + ": " +
                                     (c.kind == K::UntilScene ? "scene " : "step ") + std::to_string(c.a) +
                                     " not reached after " + std::to_string(c.b) + " frames";
                    return false;
                }
                Step(form);
            }
            break;
        }
        case K::Click:
            form.MouseDown(c.button, c.shift, x, y);
            form.MouseUp(c.button, c.shift, x, y);
            break;
        case K::Press: form.MouseDown(c.button, c.shift, x, y); break;
        case K::Move: form.MouseMove(c.shift, x, y); break;
        case K::Release: form.MouseUp(c.button, false, x, y); break;
        case K::Key: form.KeyUp(static_cast<uint16_t>(c.a), false); break;
        case K::Paint: form.Paint(); break;
        case K::Screenshot:
            if (!SaveScreenshot(c.file)) std::fprintf(stderr, "kiv: cannot write screenshot %s\n", c.file.c_str());
            break;
        case K::Close: form.CloseQuery(); break;
        case K::Overlay: form.ShowMakerOverlay(c.a != 0); break;
        case K::Reload: form.ReloadGameFiles(); break;
        case K::Seed: break;  // taken before the game starts
    }
    return true;
}

void HeadlessPlatform::Run(FormEvents& form) {
    for (const ScriptCommand& c : script_) {
        if (Closed() || !RunCommand(form, c)) break;
    }
    if (!Closed()) form.CloseQuery();
}

}  // namespace kiv
