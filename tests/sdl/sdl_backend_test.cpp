// The SDL back end's own decisions: which mouse buttons reach the game, and what the mixer
// does when the game plays effects, voices and music (on SDL's silent "dummy" device).
#include "platform/sdl/sdl_audio.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "platform/sdl/sdl_platform.h"
#include "sound_midi.h"
#include "test_support.h"

namespace kiv {
namespace {

TEST(SdlBackEnd, OnlyLeftMiddleAndRightButtonsReachTheGame) {
    MouseButton b = MouseButton::Left;
    ASSERT_TRUE(GameMouseButton(1, b));
    EXPECT_EQ(b, MouseButton::Left);
    ASSERT_TRUE(GameMouseButton(2, b));
    EXPECT_EQ(b, MouseButton::Middle);
    ASSERT_TRUE(GameMouseButton(3, b));
    EXPECT_EQ(b, MouseButton::Right);
    // The side buttons (X1, X2) neither press nor release anything.
    EXPECT_FALSE(GameMouseButton(4, b));
    EXPECT_FALSE(GameMouseButton(5, b));
}

// Silence of `seconds`, 8-bit mono at 11025 Hz.
std::string SilentWav(double seconds) {
    const uint32_t n = static_cast<uint32_t>(11025 * seconds);
    auto le = [](uint32_t v, int bytes) {
        std::string s;
        for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    };
    return "RIFF" + le(36 + n, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(11025, 4) + le(11025, 4) +
           le(1, 2) + le(8, 2) + "data" + le(n, 4) + std::string(n, '\x80');
}

TEST(SdlBackEnd, TheMixerPlaysOneEffectAtATimeAndRestartsVoicesAndMusic) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    TempDir dir;
    dir.Write("a.wav", SilentWav(3));
    dir.Write("b.wav", SilentWav(3));
    dir.Write("tune.mid", midi::TuneOfMs(4000));
    std::unique_ptr<AudioDevice> audio = MakeSdlAudio();
    SdlMixerState st = ProbeSdlMixer();
    ASSERT_EQ(st.channels, 11) << "the effect and ten voices";

    audio->PlayEffectFile(dir.File("a.wav"));
    EXPECT_TRUE(ProbeSdlMixer().effectPlaying);
    const int ends = ProbeSdlMixer().channelEnds[0];
    audio->PlayEffectFile(dir.File("b.wav"));
    st = ProbeSdlMixer();
    EXPECT_TRUE(st.effectPlaying);
    EXPECT_EQ(st.channelEnds[0], ends + 1) << "the first effect was cut off";
    audio->PlayEffectFile("");
    EXPECT_FALSE(ProbeSdlMixer().effectPlaying);

    ASSERT_TRUE(audio->OpenWave(3, dir.File("a.wav")));
    ASSERT_TRUE(audio->OpenWave(4, dir.File("b.wav")));
    audio->PlayWave(3);
    audio->PlayWave(4);
    st = ProbeSdlMixer();
    EXPECT_TRUE(st.voicePlaying[3]);
    EXPECT_TRUE(st.voicePlaying[4]);
    // Voice n plays on channel n + 1, after the effect's.
    auto voiceEnds = [](const SdlMixerState& m, int n) { return m.channelEnds[static_cast<size_t>(n) + 1]; };
    const int ends3 = voiceEnds(st, 3), ends4 = voiceEnds(st, 4);
    audio->PlayWave(3);
    st = ProbeSdlMixer();
    EXPECT_TRUE(st.voicePlaying[3]);
    EXPECT_EQ(voiceEnds(st, 3), ends3 + 1) << "playing again ends the old play and starts over";
    EXPECT_TRUE(st.voicePlaying[4]) << "other voices are not the player's business";
    audio->StopWave(4);
    st = ProbeSdlMixer();
    EXPECT_FALSE(st.voicePlaying[4]);
    EXPECT_EQ(voiceEnds(st, 4), ends4 + 1);
    EXPECT_FALSE(audio->OpenWave(5, dir.File("missing.wav")));

    // Music needs a soundfont; without one the music part has nothing to check.
    if (audio->OpenMusic(dir.File("tune.mid"))) {
        EXPECT_FALSE(audio->MusicPlaying()) << "opened, not started";
        ASSERT_TRUE(audio->PlayMusicFromStart());
        EXPECT_TRUE(audio->MusicPlaying());
        audio->StopMusic();
        EXPECT_FALSE(audio->MusicPlaying());
        ASSERT_TRUE(audio->PlayMusicFromStart());
        EXPECT_TRUE(audio->MusicPlaying());
        audio->CloseMusic();
        EXPECT_FALSE(audio->MusicPlaying());
    }
    audio.reset();
}

// The sound device opens on a thread of its own while the game starts and reports on stderr;
// nothing the game writes there meanwhile may be lost, and the sound libraries' own pages of
// diagnostics stay out of it.
TEST(SdlBackEnd, MessagesWrittenWhileTheSoundDeviceOpensAreKept) {
    TempDir dir;
    const std::string log = dir.File("stderr.txt");
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(saved, 0);
    ASSERT_GE(fd, 0);
    ::dup2(fd, 2);
    ::close(fd);

    std::atomic<bool> opened{false};
    std::thread opener([&opened] {
        OpenSdlSoundDevice();  // opened and closed again; whether there is a device does not matter
        opened = true;
    });
    int written = 0;
    while (!opened) {
        const std::string line = "game line " + std::to_string(written++) + "\n";
        if (::write(2, line.data(), line.size()) < 0) break;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    opener.join();
    ::dup2(saved, 2);
    ::close(saved);

    std::ifstream in(log);
    std::string line;
    int kept = 0;
    while (std::getline(in, line)) {
        if (line.rfind("game line ", 0) == 0) {
            EXPECT_EQ(line, "game line " + std::to_string(kept)) << "lines lost before this one";
            ++kept;
        }
        EXPECT_EQ(line.find("ALSA lib"), std::string::npos) << line;
    }
    EXPECT_EQ(kept, written);
}

}  // namespace
}  // namespace kiv
