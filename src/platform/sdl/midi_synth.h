#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace kiv {

// General MIDI music through one FluidSynth synthesizer: the soundfont is read once, when the
// synthesizer is made, and every tune after that plays on it. Rendering runs on the sound
// device's thread; the other calls come from the game's thread.
class MidiSynth {
public:
    // Null when the soundfont cannot be loaded (the reason goes to stderr).
    static std::unique_ptr<MidiSynth> Load(const std::string& soundfont, int sampleRate);
    ~MidiSynth();
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;

    // Takes a tune (the bytes of a standard MIDI file); false when it is not one.
    bool Open(std::string bytes);
    bool PlayFromStart();
    void Stop();
    void Close();
    // True from PlayFromStart until the tune's last event (or Stop).
    bool Playing();

    // Adds `frames` frames of interleaved 16-bit stereo to out (the music under the mix).
    void Render(int16_t* out, int frames);

private:
    MidiSynth() = default;
    void DropPlayer();

    std::mutex mutex_;
    struct Parts;
    std::unique_ptr<Parts> parts_;
    std::string tune_;
};

}  // namespace kiv
