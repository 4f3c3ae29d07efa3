#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"

namespace kiv {

// Writes what the form of a window run receives as a headless script that replays it: first
// "seed N", then every press, move, release, key, repaint and close, with "frames K" before
// each for the frames run since the one before. A headless run steps exactly one frame per
// tick, and the window's input reaches the form between frames, so the same input after the
// same frames gives the same game.
//
// Every line reaches the file as it happens, and in a regular file the last "frames" line is
// kept up to the frames run so far: a run that is killed leaves a script of all it played.
class InputRecorder : public FormEvents {
public:
    // framesRun says how many frames the game has run, closed whether the window has closed.
    InputRecorder(FormEvents& form, std::function<uint64_t()> framesRun, std::function<bool()> closed)
        : form_(form), framesRun_(std::move(framesRun)), closed_(std::move(closed)) {}
    ~InputRecorder() override;
    InputRecorder(const InputRecorder&) = delete;
    InputRecorder& operator=(const InputRecorder&) = delete;

    // Creates (or empties) path and writes the seed and a comment line; false with the reason.
    bool Open(const std::string& path, uint32_t seed, const std::string& comment, std::string& error);
    // After the loop: the frames since the last input, and the file closed. False when a
    // write failed on the way (the reason then is in Error()).
    bool Finish();
    const std::string& Error() const { return error_; }

    void MouseDown(MouseButton button, bool shift, int x, int y) override;
    void MouseMove(bool shift, int x, int y) override;
    void MouseUp(MouseButton button, bool shift, int x, int y) override;
    void KeyUp(uint16_t key, bool shift) override;
    void Paint() override;
    bool CloseQuery() override;
    void Idle() override;
    void TimerTick() override;
    uint32_t IdleDelay() override { return form_.IdleDelay(); }

private:
    // One command line, after the frames run before it.
    void Command(const std::string& line);
    // Brings the last "frames" line up to the ticks run since the last command.
    void CountFrames();
    void AfterTick(uint64_t framesBefore);
    void Write(const std::string& text, bool atTail);

    FormEvents& form_;
    std::function<uint64_t()> framesRun_;
    std::function<bool()> closed_;
    std::string path_;
    int fd_ = -1;
    bool seekable_ = false;      // a regular file: the last frames line is rewritten in place
    uint64_t end_ = 0;           // the length of the file
    uint64_t tailAt_ = 0;        // where the frames line after the last command starts
    uint64_t ticksWritten_ = 0;  // what that line says (0: there is none yet)
    uint64_t framesAtCommand_ = 0;
    uint64_t extraTicks_ = 0;  // ticks that ran no frame: the one that closed a halting game
    std::string error_;
};

// The script word of a key: ctrl, f4, f5, f11, f12, else its decimal code.
std::string ScriptKeyName(uint16_t key);

}  // namespace kiv
