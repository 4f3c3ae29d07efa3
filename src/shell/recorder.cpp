#include "shell/recorder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kiv {

namespace {

std::string Point(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }

// The button word of press and release: left is the default and goes unsaid.
std::string ButtonWord(MouseButton b) {
    switch (b) {
        case MouseButton::Right: return " right";
        case MouseButton::Middle: return " middle";
        default: return "";
    }
}

}  // namespace

std::string ScriptKeyName(uint16_t key) {
    switch (key) {
        case vk::Control: return "ctrl";
        case vk::F4: return "f4";
        case vk::F5: return "f5";
        case vk::F11: return "f11";
        case vk::F12: return "f12";
        default: return std::to_string(key);
    }
}

InputRecorder::~InputRecorder() {
    if (fd_ >= 0) ::close(fd_);
}

bool InputRecorder::Open(const std::string& path, uint32_t seed, const std::string& comment, std::string& error) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd_ < 0) {
        error = "cannot write the record " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    seekable_ = ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
    path_ = path;
    Write("seed " + std::to_string(seed) + "\n# " + comment + "\n", false);
    tailAt_ = end_;
    framesAtCommand_ = framesRun_();
    if (!error_.empty()) {
        error = error_;
        return false;
    }
    return true;
}

void InputRecorder::Write(const std::string& text, bool atTail) {
    if (fd_ < 0 || !error_.empty()) return;
    uint64_t at = atTail ? tailAt_ : end_;
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = seekable_ ? ::pwrite(fd_, text.data() + done, text.size() - done, off_t(at + done))
                                    : ::write(fd_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = "cannot write the record " + path_ + ": " + std::strerror(n < 0 ? errno : ENOSPC);
            return;
        }
        done += size_t(n);
    }
    // A frames line only ever grows, so the rewritten one covers the old one whole.
    end_ = at + text.size();
}

void InputRecorder::CountFrames() {
    const uint64_t ticks = framesRun_() - framesAtCommand_ + extraTicks_;
    if (ticks == ticksWritten_) return;
    Write("frames " + std::to_string(ticks) + "\n", true);
    ticksWritten_ = ticks;
}

void InputRecorder::Command(const std::string& line) {
    CountFrames();
    Write(line + "\n", false);
    tailAt_ = end_;
    ticksWritten_ = 0;
    extraTicks_ = 0;
    framesAtCommand_ = framesRun_();
}

void InputRecorder::AfterTick(uint64_t framesBefore) {
    // A tick that closes a halting game runs no frame; the replay needs it all the same.
    if (framesRun_() == framesBefore && closed_()) ++extraTicks_;
    // Only a regular file is brought up to date every frame; elsewhere the count goes with
    // the next command.
    if (seekable_) CountFrames();
}

void InputRecorder::MouseDown(MouseButton button, bool shift, int x, int y) {
    Command("press " + Point(x, y) + ButtonWord(button) + (shift ? " shift" : ""));
    form_.MouseDown(button, shift, x, y);
}

void InputRecorder::MouseMove(bool shift, int x, int y) {
    Command("move " + Point(x, y) + (shift ? " shift" : ""));
    form_.MouseMove(shift, x, y);
}

void InputRecorder::MouseUp(MouseButton button, bool shift, int x, int y) {
    // The game takes no Shift from a release, and a script's release gives none.
    Command("release " + Point(x, y) + ButtonWord(button));
    form_.MouseUp(button, shift, x, y);
}

void InputRecorder::KeyUp(uint16_t key, bool shift) {
    Command("key " + ScriptKeyName(key));
    form_.KeyUp(key, shift);
}

void InputRecorder::Paint() {
    Command("paint");
    form_.Paint();
}

bool InputRecorder::CloseQuery() {
    Command("close");
    return form_.CloseQuery();
}

void InputRecorder::Idle() {
    const uint64_t before = framesRun_();
    form_.Idle();
    AfterTick(before);
}

void InputRecorder::TimerTick() {
    const uint64_t before = framesRun_();
    form_.TimerTick();
    AfterTick(before);
}

bool InputRecorder::Finish() {
    CountFrames();
    if (fd_ >= 0 && ::close(fd_) != 0 && error_.empty())
        error_ = "cannot write the record " + path_ + ": " + std::strerror(errno);
    fd_ = -1;
    return error_.empty();
}

}  // namespace kiv
