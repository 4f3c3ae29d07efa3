#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace kiv {

// One JSON object per line for what a player would see or hear: every line carries "t" (the
// tick in ms), "frame" (frames run so far) and "ev". Inactive (and free) without a file.
// Each line is flushed to the file as soon as it is complete.
class Trace {
public:
    Trace() = default;
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    bool Open(const std::string& path);
    bool Active() const { return file_ != nullptr; }

    void SetClock(uint32_t tick, uint64_t frames) {
        tick_ = tick;
        frames_ = frames;
    }

    // A field of an event: a name and its JSON text, made by the helpers below.
    struct Field {
        std::string_view name;
        std::string json;
    };
    static std::string Str(std::string_view utf8);
    static std::string Num(int64_t v) { return std::to_string(v); }
    static std::string Bool(bool v) { return v ? "true" : "false"; }
    static std::string RectJson(const Rect& r);

    void Event(std::string_view ev, std::initializer_list<Field> fields = {});

private:
    FILE* file_ = nullptr;
    uint32_t tick_ = 0;
    uint64_t frames_ = 0;
};

}  // namespace kiv
