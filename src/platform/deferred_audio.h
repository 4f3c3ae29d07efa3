#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/audio.h"

namespace kiv {

// A sound device that opens on a thread of its own, so that opening it (finding a device,
// loading a soundfont) never holds up the window's first frame. Until it is open, voices and
// music are remembered and handed to it in order once it is; effects and beeps of that moment
// are dropped, as a sound that comes late is worse than none. The opener may return null (no
// sound device): the game then plays in silence. All calls come from the game's thread.
class DeferredAudio : public AudioDevice {
public:
    using Opener = std::function<std::unique_ptr<AudioDevice>()>;
    explicit DeferredAudio(Opener open);
    ~DeferredAudio() override;
    DeferredAudio(const DeferredAudio&) = delete;
    DeferredAudio& operator=(const DeferredAudio&) = delete;

    // Waits until the device is open (or known to be missing); true when there is one.
    bool WaitUntilOpen();

    void PlayEffectFile(const std::string& path) override;
    bool OpenWave(int player, const std::string& path) override;
    void PlayWave(int player) override;
    void StopWave(int player) override;
    void CloseWave(int player) override;
    bool OpenMusic(const std::string& path) override;
    bool PlayMusicFromStart() override;
    void StopMusic() override;
    void CloseMusic() override;
    int64_t MusicLengthMs() override;
    bool MusicPlaying() override;
    void Beep() override;

private:
    using Call = std::function<void(AudioDevice&)>;
    // The open device, once the thread is done (handing it what waited); null before.
    AudioDevice* Device();
    void Adopt();
    void Later(Call call);

    std::thread thread_;
    std::atomic<bool> done_{false};
    std::unique_ptr<AudioDevice> opened_;  // written by the thread before done_
    std::unique_ptr<AudioDevice> device_;  // the game thread's, after adoption
    bool present_ = false;
    std::vector<Call> waiting_;
};

}  // namespace kiv
