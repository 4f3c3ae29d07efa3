#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kiv {

// The sound devices the game plays through: one effect player (a new effect cuts the old one
// off), ten wave players for the stage voices, and one MIDI player. Every call is safe without
// a device: it then plays nothing. Paths are full file paths.
class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // Plays a WAV file as the one sound effect, stopping the one that plays; "" only stops.
    virtual void PlayEffectFile(const std::string& path) = 0;

    // Wave player n (0..9): open a WAV file (false when it cannot be used), play it from its
    // start, stop, close.
    virtual bool OpenWave(int player, const std::string& path) = 0;
    virtual void PlayWave(int player) = 0;
    virtual void StopWave(int player) = 0;
    virtual void CloseWave(int player) = 0;

    // The MIDI player: open a file (false when it cannot be used), play from the start (false
    // when the device refuses), stop, close. MusicLengthMs is -1 when the back end cannot tell.
    virtual bool OpenMusic(const std::string& path) = 0;
    virtual bool PlayMusicFromStart() = 0;
    virtual void StopMusic() = 0;
    virtual void CloseMusic() = 0;
    virtual int64_t MusicLengthMs() = 0;
    // False once the started music has come to its end (or was stopped).
    virtual bool MusicPlaying() = 0;

    // The system's default beep.
    virtual void Beep() = 0;
};

// Whether the sound back end can play a WAV file held in memory; false with the reason when not.
using WaveProbe = bool (*)(const uint8_t* data, size_t size, std::string& why);

// Plays nothing: the headless platform, and the fallback when no sound device opens.
class SilentAudio : public AudioDevice {
public:
    void PlayEffectFile(const std::string&) override {}
    bool OpenWave(int, const std::string&) override { return true; }
    void PlayWave(int) override {}
    void StopWave(int) override {}
    void CloseWave(int) override {}
    bool OpenMusic(const std::string&) override { return true; }
    bool PlayMusicFromStart() override { return true; }
    void StopMusic() override {}
    void CloseMusic() override {}
    int64_t MusicLengthMs() override { return -1; }
    bool MusicPlaying() override { return true; }  // nothing ends that is never heard
    void Beep() override {}
};

}  // namespace kiv
