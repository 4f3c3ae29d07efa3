#include "platform/deferred_audio.h"

namespace kiv {

namespace {
// Far more calls than a start-up makes; a device that never opens cannot make memory grow.
constexpr size_t kMaxWaiting = 256;
}  // namespace

DeferredAudio::DeferredAudio(Opener open) {
    thread_ = std::thread([this, open = std::move(open)] {
        opened_ = open();
        done_.store(true, std::memory_order_release);
    });
}

DeferredAudio::~DeferredAudio() {
    if (thread_.joinable()) thread_.join();
}

void DeferredAudio::Adopt() {
    thread_.join();
    present_ = opened_ != nullptr;
    device_ = present_ ? std::move(opened_) : std::make_unique<SilentAudio>();
    for (Call& call : waiting_) call(*device_);
    waiting_.clear();
}

AudioDevice* DeferredAudio::Device() {
    if (!device_ && done_.load(std::memory_order_acquire)) Adopt();
    return device_.get();
}

bool DeferredAudio::WaitUntilOpen() {
    if (!device_) Adopt();
    return present_;
}

void DeferredAudio::Later(Call call) {
    if (waiting_.size() < kMaxWaiting) waiting_.push_back(std::move(call));
}

void DeferredAudio::PlayEffectFile(const std::string& path) {
    if (AudioDevice* d = Device()) d->PlayEffectFile(path);
}

bool DeferredAudio::OpenWave(int player, const std::string& path) {
    if (AudioDevice* d = Device()) return d->OpenWave(player, path);
    Later([player, path](AudioDevice& d) { d.OpenWave(player, path); });
    return true;
}

void DeferredAudio::PlayWave(int player) {
    if (AudioDevice* d = Device()) return d->PlayWave(player);
    Later([player](AudioDevice& d) { d.PlayWave(player); });
}

void DeferredAudio::StopWave(int player) {
    if (AudioDevice* d = Device()) return d->StopWave(player);
    Later([player](AudioDevice& d) { d.StopWave(player); });
}

void DeferredAudio::CloseWave(int player) {
    if (AudioDevice* d = Device()) return d->CloseWave(player);
    Later([player](AudioDevice& d) { d.CloseWave(player); });
}

bool DeferredAudio::OpenMusic(const std::string& path) {
    if (AudioDevice* d = Device()) return d->OpenMusic(path);
    Later([path](AudioDevice& d) { d.OpenMusic(path); });
    return true;
}

bool DeferredAudio::PlayMusicFromStart() {
    if (AudioDevice* d = Device()) return d->PlayMusicFromStart();
    Later([](AudioDevice& d) { d.PlayMusicFromStart(); });
    return true;
}

void DeferredAudio::StopMusic() {
    if (AudioDevice* d = Device()) return d->StopMusic();
    Later([](AudioDevice& d) { d.StopMusic(); });
}

void DeferredAudio::CloseMusic() {
    if (AudioDevice* d = Device()) return d->CloseMusic();
    Later([](AudioDevice& d) { d.CloseMusic(); });
}

int64_t DeferredAudio::MusicLengthMs() {
    if (AudioDevice* d = Device()) return d->MusicLengthMs();
    return -1;
}

bool DeferredAudio::MusicPlaying() {
    // Music that waits for the device has not ended.
    if (AudioDevice* d = Device()) return d->MusicPlaying();
    return true;
}

void DeferredAudio::Beep() {
    if (AudioDevice* d = Device()) d->Beep();
}

}  // namespace kiv
