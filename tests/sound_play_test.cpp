#include "media/sound.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "game/game.h"
#include "game/game_media.h"
#include "platform/headless/headless_platform.h"
#include "sound_midi.h"
#include "test_support.h"

namespace kiv {
namespace {

// Keeps what the devices would be doing, and every call made to them.
class RecordingAudio : public AudioDevice {
public:
    void PlayEffectFile(const std::string& path) override {
        calls.push_back("effect " + Base(path));
        effect = Base(path);
    }
    bool OpenWave(int player, const std::string& path) override {
        calls.push_back("open-wave " + std::to_string(player) + " " + Base(path));
        waveOpen.at(static_cast<size_t>(player)) = Base(path);
        return true;
    }
    void PlayWave(int player) override {
        calls.push_back("play-wave " + std::to_string(player));
        wavePlaying.at(static_cast<size_t>(player)) = true;
    }
    void StopWave(int player) override { wavePlaying.at(static_cast<size_t>(player)) = false; }
    void CloseWave(int player) override {
        waveOpen.at(static_cast<size_t>(player)).clear();
        wavePlaying.at(static_cast<size_t>(player)) = false;
    }
    bool OpenMusic(const std::string& path) override {
        calls.push_back("open-music " + Base(path));
        music = Base(path);
        return !openFails;
    }
    bool PlayMusicFromStart() override {
        calls.push_back("play-music");
        ++musicStarts;
        return !playFails;
    }
    void StopMusic() override { calls.push_back("stop-music"); }
    void CloseMusic() override {
        if (!music.empty()) calls.push_back("close-music");
        music.clear();
    }
    int64_t MusicLengthMs() override { return reportedLength; }
    bool MusicPlaying() override { return musicPlaying; }
    void Beep() override {}

    std::vector<std::string> TakeCalls() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
    std::string effect, music;
    std::array<std::string, 10> waveOpen;
    std::array<bool, 10> wavePlaying{};
    int musicStarts = 0;
    int64_t reportedLength = -1;
    bool openFails = false, playFails = false;
    bool musicPlaying = true;

private:
    static std::string Base(const std::string& path) { return path.substr(path.rfind('/') + 1); }
};

class RecordingPlatform : public HeadlessPlatform {
public:
    AudioDevice& Audio() override { return audio; }
    RecordingAudio audio;
};

class Sound : public ::testing::Test {
protected:
    Sound() { g.Cfg.AppDir = dir.Path(); }

    TempDir dir;
    RecordingPlatform p;
    Game g{p};
    RecordingAudio& audio = p.audio;
};

using Calls = std::vector<std::string>;

TEST_F(Sound, MusicSwitchesOnlyWhenTheFileChanges) {
    dir.Write("Kv01.mid", midi::TuneOfMs(2000));
    dir.Write("Kv05.mid", midi::TuneOfMs(1000));
    g.Cfg.MusicFiles[1] = "Kv01.mid";
    g.Cfg.MusicFiles[12] = "Kv01.mid";  // two slots, one file
    g.Cfg.MusicFiles[2] = "Kv05.mid";

    PlayMusic(Sounds(g), 1);
    EXPECT_EQ(audio.TakeCalls(), (Calls{"open-music Kv01.mid", "play-music"}));
    EXPECT_EQ(g.Sound.CurMusicName, "Kv01.mid");
    EXPECT_EQ(g.Sound.MusicLengthMs, 2000);

    PlayMusic(Sounds(g), 1);
    PlayMusic(Sounds(g), 12);
    EXPECT_TRUE(audio.TakeCalls().empty()) << "the same file goes on without a restart";

    PlayMusic(Sounds(g), 2);
    EXPECT_EQ(audio.TakeCalls(), (Calls{"close-music", "open-music Kv05.mid", "play-music"}));
    EXPECT_EQ(g.Sound.MusicLengthMs, 1000);

    PlayMusic(Sounds(g), 3);  // an empty slot: silence
    EXPECT_EQ(audio.TakeCalls(), (Calls{"close-music"}));
    EXPECT_TRUE(g.Sound.CurMusicName.Empty());
    EXPECT_EQ(g.Sound.MusicLengthMs, 0);
    PlayMusic(Sounds(g), 4);
    EXPECT_TRUE(audio.TakeCalls().empty());

    PlayMusic(Sounds(g), 12);  // back to the first tune: reopened from its start
    EXPECT_EQ(audio.TakeCalls(), (Calls{"open-music Kv01.mid", "play-music"}));

    PlayMusic(Sounds(g), 23);  // no such slot
    PlayMusic(Sounds(g), -1);
    EXPECT_TRUE(audio.TakeCalls().empty());
}

TEST_F(Sound, MusicRestartsOnceItsLengthHasPassedEvenAcrossTheTickWrap) {
    dir.Write("Kv01.mid", midi::TuneOfMs(1000));
    g.Cfg.MusicFiles[1] = "Kv01.mid";
    p.SetTick(0xFFFFFF00u);  // 256 ms before the tick wraps to 0
    PlayMusic(Sounds(g), 1);
    ASSERT_EQ(audio.musicStarts, 1);

    auto at = [&](uint32_t elapsed) {
        p.SetTick(0xFFFFFF00u + elapsed);
        KeepMusicLooping(Sounds(g));
        return audio.musicStarts;
    };
    EXPECT_EQ(at(40), 1);
    EXPECT_EQ(at(300), 1);  // past the wrap, not yet at the end
    EXPECT_EQ(at(999), 1);
    EXPECT_EQ(at(1000), 2);
    EXPECT_EQ(at(1040), 2);
    EXPECT_EQ(at(1999), 2);
    EXPECT_EQ(at(2010), 3);  // a late frame: the next round is counted from this restart
    EXPECT_EQ(at(3009), 3);
    EXPECT_EQ(at(3010), 4);

    PlayMusic(Sounds(g), 0);  // silence: nothing left to loop
    EXPECT_EQ(at(9000), 4);
}

TEST_F(Sound, DeviceLengthWinsAndAFailedStartIsRetriedEverySecond) {
    dir.Write("Kv01.mid", midi::TuneOfMs(1000));
    g.Cfg.MusicFiles[1] = "Kv01.mid";
    audio.reportedLength = 5000;
    audio.playFails = true;
    p.SetTick(100);
    PlayMusic(Sounds(g), 1);
    EXPECT_EQ(g.Sound.MusicLengthMs, 5000);
    auto at = [&](uint32_t tick) {
        p.SetTick(tick);
        KeepMusicLooping(Sounds(g));
        return audio.musicStarts;
    };
    EXPECT_EQ(at(1099), 1);
    EXPECT_EQ(at(1100), 2);
    audio.playFails = false;
    EXPECT_EQ(at(2100), 3);  // started at last: now its full length
    EXPECT_EQ(at(7099), 3);
    EXPECT_EQ(at(7100), 4);
}

TEST_F(Sound, MusicWithoutAReadableLengthLoopsWhenThePlayerSaysItEnded) {
    using namespace midi;
    const std::string notes = Event(0, {0x90, 60, 100}) + Event(480, {0x80, 60, 0}) + EndOfTrack(0);
    std::string moreTracks = File(1, 480, {notes});  // the header claims three tracks, the file holds one
    moreTracks[11] = 3;
    const std::string pastEnd = File(0, 480, {notes}).substr(0, 30);        // the track chunk runs past the end
    const std::string stray = File(0, 480, {Event(0, {0xF1, 0}) + notes});  // a stray system status byte
    dir.Write("Kv01.mid", moreTracks);
    dir.Write("Kv02.mid", pastEnd);
    dir.Write("Kv03.mid", stray);
    for (int slot : {1, 2, 3}) {
        const std::string name = "Kv0" + std::to_string(slot) + ".mid";
        g.Cfg.MusicFiles[size_t(slot)] = name;
        p.SetTick(1000);
        audio.musicPlaying = true;
        const int starts = audio.musicStarts;
        PlayMusic(Sounds(g), slot);
        const Calls opened = {"open-music " + name, "play-music"};
        const Calls switched = {"close-music", "open-music " + name, "play-music"};
        EXPECT_EQ(audio.TakeCalls(), slot == 1 ? opened : switched) << name;
        EXPECT_EQ(audio.music, name);
        EXPECT_EQ(audio.musicStarts, starts + 1) << name;
        EXPECT_EQ(g.Sound.CurMusicName, name);
        EXPECT_EQ(g.Sound.MusicLengthMs, 0) << name;
        // While the player plays, nothing happens however long; once it has ended, the next
        // frame starts it again from the beginning.
        for (uint32_t tick : {2000u, 100000u, 5000000u}) {
            p.SetTick(tick);
            KeepMusicLooping(Sounds(g));
        }
        EXPECT_EQ(audio.musicStarts, starts + 1) << name;
        audio.musicPlaying = false;
        p.SetTick(5000040u);
        KeepMusicLooping(Sounds(g));
        EXPECT_EQ(audio.musicStarts, starts + 2) << name << " starts again at its end";
        // A player that refuses to go on is asked again once a second, not every frame.
        p.SetTick(5000080u);
        KeepMusicLooping(Sounds(g));
        EXPECT_EQ(audio.musicStarts, starts + 2) << name;
        p.SetTick(5001040u);
        KeepMusicLooping(Sounds(g));
        EXPECT_EQ(audio.musicStarts, starts + 3) << name;
        audio.TakeCalls();
        PlayMusic(Sounds(g), slot);
        EXPECT_TRUE(audio.TakeCalls().empty()) << "the same file goes on";
    }
    // A length from the device still counts, whatever the file's own bytes say.
    audio.reportedLength = 3000;
    g.Cfg.MusicFiles[4] = "Kv04.mid";
    dir.Write("Kv04.mid", moreTracks);
    PlayMusic(Sounds(g), 4);
    EXPECT_EQ(g.Sound.MusicLengthMs, 3000);
    EXPECT_FALSE(g.Sound.MusicLoopsAtEnd);
}

TEST_F(Sound, MusicThePlayerRefusesIsSilence) {
    dir.Write("Kv02.mid", midi::TuneOfMs(1000));
    g.Cfg.MusicFiles[2] = "Kv02.mid";
    g.Cfg.MusicFiles[3] = "Kv03.mid";  // vanished since the configuration was read
    audio.openFails = true;
    PlayMusic(Sounds(g), 2);
    PlayMusic(Sounds(g), 2);  // asking again does not hammer the device
    EXPECT_EQ(audio.TakeCalls(), (Calls{"open-music Kv02.mid"}));
    EXPECT_EQ(g.Sound.CurMusicName, "Kv02.mid");
    EXPECT_EQ(g.Sound.MusicLengthMs, 0);
    p.SetTick(100000);
    KeepMusicLooping(Sounds(g));
    EXPECT_EQ(audio.musicStarts, 0);

    audio.openFails = false;
    PlayMusic(Sounds(g), 3);
    EXPECT_EQ(audio.TakeCalls(), (Calls{"close-music"}));
    EXPECT_EQ(audio.musicStarts, 0);
}

TEST_F(Sound, AWaveFileTooLargeForAGameIsRefusedLikeADamagedOne) {
    dir.Write("Q01.wav", "RIFF");
    dir.Write("Q02.wav", "");
    std::filesystem::resize_file(dir.File("Q02.wav"), (64u << 20) + 1);  // sparse: costs no disk
    g.Cfg.SoundNumbers = {1, 2, 0, 0, 0, 0, 0, 0, 0};
    PlaySoundEffect(Sounds(g), 0);
    EXPECT_EQ(audio.effect, "Q01.wav");
    testing::internal::CaptureStderr();
    PlaySoundEffect(Sounds(g), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Q02.wav"), std::string::npos);
    EXPECT_EQ(audio.effect, "") << "the old effect stops, the huge one never plays";

    g.Shell.SceneNo = 2;
    dir.Write("V010.wav", "RIFF");
    dir.Write("V011.wav", "");
    std::filesystem::resize_file(dir.File("V011.wav"), (64u << 20) + 1);
    testing::internal::CaptureStderr();
    LoadStageVoices(Sounds(g), g.Shell.SceneNo - 1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(audio.waveOpen[0], "V010.wav");
    EXPECT_EQ(audio.waveOpen[1], "");
    EXPECT_TRUE(g.Sound.WavePlayers[1].FileName.empty());
}

TEST_F(Sound, OneEffectAtATime) {
    dir.Write("Q07.wav", "RIFF");
    dir.Write("q00.WAV", "RIFF");  // a folder made on Windows mixes letter cases
    g.Cfg.SoundNumbers = {7, 0, 12, 107, 0, 0, 0, 0, 0};

    PlaySoundEffect(Sounds(g), 0);
    EXPECT_EQ(audio.effect, "Q07.wav");
    PlaySoundEffect(Sounds(g), 1);  // cuts the first one off
    EXPECT_EQ(audio.effect, "q00.WAV");
    PlaySoundEffect(Sounds(g), 3);  // "Q07.wav": two digits of 107
    EXPECT_EQ(audio.effect, "Q07.wav");
    PlaySoundEffect(Sounds(g), 2);  // no Q12.wav: silence, and the old effect stops all the same
    EXPECT_EQ(audio.effect, "");
    EXPECT_EQ(audio.TakeCalls(), (Calls{"effect Q07.wav", "effect q00.WAV", "effect Q07.wav", "effect "}));

    PlaySoundEffect(Sounds(g), 9);
    PlaySoundEffect(Sounds(g), -1);
    EXPECT_TRUE(audio.TakeCalls().empty());
}

TEST_F(Sound, StageVoicesSpeakOneAtATimeAndAMissingVoiceChangesNothing) {
    for (const char* name : {"V010.wav", "V012.wav", "V019.wav", "V100.wav"}) dir.Write(name, "RIFF");
    dir.Write("Q05.wav", "RIFF");
    g.Cfg.SoundNumbers[5] = 5;
    g.Shell.SceneNo = 2;
    LoadStageVoices(Sounds(g), g.Shell.SceneNo - 1);
    EXPECT_EQ(audio.waveOpen[0], "V010.wav");
    EXPECT_EQ(audio.waveOpen[1], "");
    EXPECT_EQ(audio.waveOpen[2], "V012.wav");
    EXPECT_EQ(audio.waveOpen[9], "V019.wav");

    PlayVoice(Sounds(g), 1);
    EXPECT_TRUE(audio.wavePlaying[0]);
    PlaySoundEffect(Sounds(g), 5);
    PlayVoice(Sounds(g), 2);  // no file for line 2: voice and effect go on
    EXPECT_TRUE(audio.wavePlaying[0]);
    EXPECT_EQ(audio.effect, "Q05.wav");
    PlayVoice(Sounds(g), 3);  // stops the voice and the effect
    EXPECT_FALSE(audio.wavePlaying[0]);
    EXPECT_TRUE(audio.wavePlaying[2]);
    EXPECT_EQ(audio.effect, "");
    PlayVoice(Sounds(g), 0);
    PlayVoice(Sounds(g), 11);
    EXPECT_TRUE(audio.wavePlaying[2]);

    g.Shell.SceneNo = 11;  // the tenth stage: "V100.wav" .. "V109.wav"
    LoadStageVoices(Sounds(g), g.Shell.SceneNo - 1);
    EXPECT_FALSE(audio.wavePlaying[2]);
    EXPECT_EQ(audio.waveOpen[0], "V100.wav");
    EXPECT_EQ(audio.waveOpen[2], "");
    PlayVoice(Sounds(g), 3);
    EXPECT_FALSE(audio.wavePlaying[2]);

    PlayVoice(Sounds(g), 1);
    PlaySoundEffect(Sounds(g), 5);
    ReleaseSound(Sounds(g));
    EXPECT_FALSE(audio.wavePlaying[0]);
    EXPECT_EQ(audio.waveOpen[0], "");
    EXPECT_EQ(audio.effect, "");
    PlayVoice(Sounds(g), 1);  // the players are closed now
    EXPECT_FALSE(audio.wavePlaying[0]);
}

TEST_F(Sound, TraceNamesEveryEffectVoiceAndMusicAction) {
    TempDir out;
    ASSERT_TRUE(g.Traces().Open(out.File("trace.jsonl")));
    dir.Write("Kv01.mid", midi::TuneOfMs(500));
    dir.Write("Q03.wav", "RIFF");
    dir.Write("V014.wav", "RIFF");
    g.Cfg.MusicFiles[1] = "Kv01.mid";
    g.Cfg.SoundNumbers[8] = 3;
    g.Shell.SceneNo = 2;
    p.SetTick(10);
    PlayMusic(Sounds(g), 1);
    PlaySoundEffect(Sounds(g), 8);
    PlaySoundEffect(Sounds(g), 7);  // missing: not heard, not traced
    LoadStageVoices(Sounds(g), g.Shell.SceneNo - 1);
    PlayVoice(Sounds(g), 5);
    p.SetTick(510);
    KeepMusicLooping(Sounds(g));
    ReleaseSound(Sounds(g));
    g.Traces().Open(out.File("other.jsonl"));  // closes the first file

    EXPECT_EQ(out.Read("trace.jsonl"),
              "{\"t\":10,\"frame\":0,\"ev\":\"music\",\"action\":\"play\",\"file\":\"Kv01.mid\"}\n"
              "{\"t\":10,\"frame\":0,\"ev\":\"effect\",\"slot\":8,\"file\":\"Q03.wav\"}\n"
              "{\"t\":10,\"frame\":0,\"ev\":\"voice\",\"player\":4,\"file\":\"V014.wav\"}\n"
              "{\"t\":510,\"frame\":0,\"ev\":\"music\",\"action\":\"loop\",\"file\":\"Kv01.mid\"}\n"
              "{\"t\":510,\"frame\":0,\"ev\":\"music\",\"action\":\"stop\",\"file\":\"Kv01.mid\"}\n");
}

}  // namespace
}  // namespace kiv
