// A tune of any bytes: its length is a number of milliseconds the music loop can count with,
// or -1 for a file that is not a Standard MIDI File.
#include <string_view>

#include "fuzz_support.h"
#include "media/midi_length.h"

namespace kiv::fuzz {

void MidiInput(const uint8_t* data, size_t size) {
    const int64_t ms = MidiLengthMs(std::string_view(reinterpret_cast<const char*>(data), size));
    Require(ms >= -1 && ms <= int64_t(9.0e15), "a length is -1 or a number of milliseconds");
    if (size < 14) Require(ms == -1, "a file shorter than its header has no length");
}

}  // namespace kiv::fuzz

KIV_FUZZ_ENTRY(kiv::fuzz::MidiInput)
