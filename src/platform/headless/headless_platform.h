#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/headless/script.h"
#include "platform/platform.h"

namespace kiv {

// No window and no devices: a virtual clock that advances by exactly one frame interval from
// one frame to the next, input from a script, and the window's image kept for screenshots.
class HeadlessPlatform : public Platform {
public:
    HeadlessPlatform() = default;

    void SetScript(std::vector<ScriptCommand> script) { script_ = std::move(script); }
    // The seed the script's first command gives, if it gives one.
    bool Seed(uint32_t& seed) const { return ScriptSeed(script_, seed); }
    // What until-scene and until-step look at.
    void SetProbes(std::function<int()> scene, std::function<int()> step) {
        sceneProbe_ = std::move(scene);
        stepProbe_ = std::move(step);
    }
    void SetTick(uint32_t tick) { tick_ = tick; }
    void SetScreenSize(int w, int h) {
        screenW_ = w;
        screenH_ = h;
    }

    // Runs the script; at its end the window is closed as by the user.
    void Run(FormEvents& form) override;

    // One clock tick of the active source: advances the virtual tick and calls the form.
    void Step(FormEvents& form);

    bool GaveUp() const { return gaveUp_; }
    const std::string& GaveUpMessage() const { return gaveUpMessage_; }
    const std::vector<std::string>& Messages() const { return messages_; }

    uint32_t TickCount() override { return tick_; }
    void ScreenSize(int& w, int& h) override {
        w = screenW_;
        h = screenH_;
    }
    AudioDevice& Audio() override { return audio_; }
    // Without fonts given, texts take their places but draw nothing.
    FontRenderer& Fonts() override { return fonts_ ? *fonts_ : noFont_; }
    void SetFonts(FontRenderer* fonts) { fonts_ = fonts; }

protected:
    void DoSetWindow() override {}
    void DoPresent(const Rect&) override {}
    void DoSetCursor(int) override {}
    void DoShowMessage(const std::string& text) override { messages_.push_back(text); }

private:
    bool RunCommand(FormEvents& form, const ScriptCommand& c);

    std::vector<ScriptCommand> script_;
    std::function<int()> sceneProbe_, stepProbe_;
    uint32_t tick_ = 0;
    int screenW_ = 1920, screenH_ = 1080;
    bool gaveUp_ = false;
    std::string gaveUpMessage_;
    std::vector<std::string> messages_;
    SilentAudio audio_;
    NoFont noFont_;
    FontRenderer* fonts_ = nullptr;
};

}  // namespace kiv
