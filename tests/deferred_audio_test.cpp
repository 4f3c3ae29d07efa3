// The sound device that opens on its own thread: what the game asks before it is open reaches
// it afterwards, in order; effects of that moment are dropped; no device means silence.
#include "platform/deferred_audio.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace kiv {
namespace {

// Records every call it gets.
struct LogAudio : AudioDevice {
    explicit LogAudio(std::vector<std::string>& log) : log_(log) {}
    void PlayEffectFile(const std::string& p) override { log_.push_back("effect " + p); }
    bool OpenWave(int n, const std::string& p) override {
        log_.push_back("open " + std::to_string(n) + " " + p);
        return p != "bad.wav";
    }
    void PlayWave(int n) override { log_.push_back("play " + std::to_string(n)); }
    void StopWave(int n) override { log_.push_back("stop " + std::to_string(n)); }
    void CloseWave(int n) override { log_.push_back("close " + std::to_string(n)); }
    bool OpenMusic(const std::string& p) override {
        log_.push_back("music " + p);
        return true;
    }
    bool PlayMusicFromStart() override {
        log_.push_back("music play");
        return true;
    }
    void StopMusic() override { log_.push_back("music stop"); }
    void CloseMusic() override { log_.push_back("music close"); }
    int64_t MusicLengthMs() override { return 1234; }
    bool MusicPlaying() override { return false; }
    void Beep() override { log_.push_back("beep"); }
    std::vector<std::string>& log_;
};

// An opener that waits until the test lets it finish.
struct Gate {
    std::mutex m;
    std::condition_variable cv;
    bool open = false;
    void Release() {
        std::lock_guard<std::mutex> lock(m);
        open = true;
        cv.notify_all();
    }
    void Wait() {
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [this] { return open; });
    }
};

TEST(DeferredAudio, CallsMadeWhileOpeningReachTheDeviceInOrderAndEffectsAreDropped) {
    std::vector<std::string> log;
    Gate gate;
    DeferredAudio audio([&] {
        gate.Wait();
        return std::unique_ptr<AudioDevice>(new LogAudio(log));
    });
    audio.PlayEffectFile("click.wav");
    EXPECT_TRUE(audio.OpenMusic("title.mid"));
    EXPECT_TRUE(audio.PlayMusicFromStart());
    EXPECT_TRUE(audio.MusicPlaying()) << "music waiting for the device has not ended";
    EXPECT_EQ(audio.MusicLengthMs(), -1);
    EXPECT_TRUE(audio.OpenWave(2, "v.wav"));
    audio.PlayWave(2);
    audio.Beep();
    EXPECT_TRUE(log.empty());

    gate.Release();
    ASSERT_TRUE(audio.WaitUntilOpen());
    EXPECT_EQ(log, (std::vector<std::string>{"music title.mid", "music play", "open 2 v.wav", "play 2"}));

    // Once open, calls go straight through and answer for themselves.
    log.clear();
    audio.PlayEffectFile("click.wav");
    EXPECT_FALSE(audio.OpenWave(3, "bad.wav"));
    EXPECT_EQ(audio.MusicLengthMs(), 1234);
    EXPECT_FALSE(audio.MusicPlaying());
    EXPECT_EQ(log, (std::vector<std::string>{"effect click.wav", "open 3 bad.wav"}));
}

TEST(DeferredAudio, NoDeviceMeansSilenceAndWhatWaitedIsDropped) {
    DeferredAudio audio([] { return std::unique_ptr<AudioDevice>(); });
    audio.OpenMusic("title.mid");
    EXPECT_FALSE(audio.WaitUntilOpen());
    EXPECT_TRUE(audio.OpenMusic("title.mid"));
    EXPECT_TRUE(audio.PlayMusicFromStart());
    audio.PlayEffectFile("x.wav");
}

TEST(DeferredAudio, ADeviceStillOpeningAtTheEndIsWaitedFor) {
    std::vector<std::string> log;
    Gate gate;
    {
        DeferredAudio audio([&] {
            gate.Wait();
            return std::unique_ptr<AudioDevice>(new LogAudio(log));
        });
        audio.OpenMusic("a.mid");
        gate.Release();
    }  // joins the thread; nothing leaks, nothing is touched after the end
    EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace kiv
