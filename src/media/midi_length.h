#pragma once

#include <cstdint>
#include <string_view>

namespace kiv {

// The playing time in milliseconds of a Standard MIDI File (formats 0, 1 and 2): up to the
// last event of the longest track, following every tempo change. -1 when the bytes are not a
// well-formed file (truncated, bad chunk, bad event).
int64_t MidiLengthMs(std::string_view bytes);

}  // namespace kiv
