#include "media/sound.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "data/data_files.h"
#include "data/strings.h"
#include "media/midi_length.h"

namespace kiv {

namespace {

constexpr int kEffectSlots = 9;
constexpr int kMusicSlots = 23;
constexpr uint32_t kRetryMs = 1000;          // a music start that failed is tried again after this
constexpr size_t kMaxMidiBytes = 16u << 20;  // far beyond any tune; no reading of a huge file
constexpr int64_t kMaxWaveBytes = 64 << 20;  // minutes of CD sound; a larger file is not a game's sound

void TraceMusic(const SoundPorts& ports, std::string_view action, std::string_view file) {
    ports.P.TraceEvent("music", {{"action", Trace::Str(action)}, {"file", Trace::Str(file)}});
}

// A missing optional file is named once per run, so a sound played every frame cannot flood stderr.
void ReportMissing(const SoundPorts& ports, const std::string& name) {
    if (ports.State.MissingReported.insert(name).second)
        std::fprintf(stderr, "kiv: no sound file %s in %s: it stays silent\n", name.c_str(), ports.Cfg.AppDir.c_str());
}

// Starts the open music from position 0 and sets the time of its next start.
bool StartMusic(const SoundPorts& ports, int32_t lengthMs) {
    SoundState& s = ports.State;
    bool ok = ports.P.Audio().PlayMusicFromStart();
    s.MusicStartTick = ports.P.TickCount();
    s.MusicWaitMs = ok ? static_cast<uint32_t>(lengthMs) : kRetryMs;
    return ok;
}

// A wave file too large for a game's sound is refused like a damaged one (named once), rather
// than decoded whole in the frame that plays it.
bool UsableWave(const SoundPorts& ports, const std::string& path, const std::string& name) {
    if (FileSize(path) <= kMaxWaveBytes) return true;
    if (ports.State.MissingReported.insert(name).second)
        std::fprintf(stderr, "kiv: the sound file %s is too large (over 64 MB): it stays silent\n", name.c_str());
    return false;
}

}  // namespace

int64_t MidiFileLengthMs(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxMidiBytes)) return -1;
    return MidiLengthMs(bytes);
}

void PlaySoundEffect(const SoundPorts& ports, int slot) {
    if (slot < 0 || slot >= kEffectSlots) return;
    std::string name(1, 'Q');  // not "Q" + ...: GCC 12 warns falsely on a literal + string temporary
    name += ZeroPad(2, ports.Cfg.SoundNumbers[static_cast<size_t>(slot)]) + ".wav";
    const std::string path = FindDataFile(ports.Cfg.AppDir, name);
    const bool usable = !path.empty() && UsableWave(ports, path, name);
    // Even a missing file cuts off the effect that plays: one effect at a time.
    ports.P.Audio().PlayEffectFile(usable ? path : std::string());
    if (path.empty()) ReportMissing(ports, name);
    if (!usable) return;
    ports.P.TraceEvent("effect", {{"slot", Trace::Num(slot)}, {"file", Trace::Str(name)}});
}

void LoadStageVoices(const SoundPorts& ports, int stageNumber) {
    AudioDevice& audio = ports.P.Audio();
    const std::string stage = ZeroPad(2, stageNumber);
    for (int n = 0; n < 10; ++n) {
        WavePlayer& w = ports.State.WavePlayers[static_cast<size_t>(n)];
        audio.CloseWave(n);
        w = WavePlayer{};
        // A stage may leave some of its lines unspoken: a missing voice is no fault.
        const std::string name = "V" + stage + std::to_string(n) + ".wav";
        const std::string path = FindDataFile(ports.Cfg.AppDir, name);
        if (path.empty() || !UsableWave(ports, path, name) || !audio.OpenWave(n, path)) continue;
        w.FileName = path;
        w.Name = name;
    }
}

void PlayVoice(const SoundPorts& ports, int index) {
    if (index < 1 || index > 10) return;
    SoundState& s = ports.State;
    if (s.WavePlayers[static_cast<size_t>(index - 1)].FileName.empty()) return;
    AudioDevice& audio = ports.P.Audio();
    for (int n = 0; n < 10; ++n)
        if (!s.WavePlayers[static_cast<size_t>(n)].FileName.empty()) audio.StopWave(n);
    audio.PlayEffectFile("");
    audio.PlayWave(index - 1);
    ports.P.TraceEvent("voice", {{"player", Trace::Num(index - 1)},
                                 {"file", Trace::Str(s.WavePlayers[static_cast<size_t>(index - 1)].Name)}});
}

void PlayMusic(const SoundPorts& ports, int slot) {
    if (slot < 0 || slot >= kMusicSlots) return;
    SoundState& s = ports.State;
    const ShortString<255>& wanted = ports.Cfg.MusicFiles[static_cast<size_t>(slot)];
    if (s.CurMusicName == wanted) return;  // the music that runs goes on
    s.MusicLengthMs = 0;
    s.MusicLoopsAtEnd = false;
    AudioDevice& audio = ports.P.Audio();
    audio.CloseMusic();
    if (!s.CurMusicName.Empty()) TraceMusic(ports, "stop", s.CurMusicName.View());
    s.CurMusicName = wanted;
    if (s.CurMusicName.Empty()) return;

    const std::string name = s.CurMusicName.Str();
    const std::string path = FindDataFile(ports.Cfg.AppDir, name);
    if (path.empty()) {
        ReportMissing(ports, name);
        return;
    }
    if (!audio.OpenMusic(path)) return;  // the device has said why; silence
    int64_t len = audio.MusicLengthMs();
    if (len < 0) len = MidiFileLengthMs(path);
    if (len < 0) {
        // The player took the file, so it is heard; with no length to count, it starts again
        // when the player reports its end.
        std::fprintf(stderr, "kiv: the length of the music %s cannot be read: it loops when it ends\n", name.c_str());
        s.MusicLoopsAtEnd = true;
        if (StartMusic(ports, 0)) TraceMusic(ports, "play", name);
        return;
    }
    const int32_t lengthMs = static_cast<int32_t>(std::min<int64_t>(len, std::numeric_limits<int32_t>::max()));
    if (StartMusic(ports, lengthMs)) TraceMusic(ports, "play", name);
    s.MusicLengthMs = lengthMs;
}

void KeepMusicLooping(const SoundPorts& ports) {
    SoundState& s = ports.State;
    const uint32_t since = static_cast<uint32_t>(ports.P.TickCount() - s.MusicStartTick);
    if (s.MusicLoopsAtEnd) {
        // At most one try a second, so a player that refuses to start is not asked every frame.
        if (since < kRetryMs || ports.P.Audio().MusicPlaying()) return;
        if (StartMusic(ports, 0)) TraceMusic(ports, "loop", s.CurMusicName.View());
        return;
    }
    if (s.MusicLengthMs == 0) return;
    if (since < s.MusicWaitMs) return;
    if (StartMusic(ports, s.MusicLengthMs)) TraceMusic(ports, "loop", s.CurMusicName.View());
}

void ReleaseSound(const SoundPorts& ports) {
    AudioDevice& audio = ports.P.Audio();
    for (int n = 0; n < 10; ++n) {
        audio.CloseWave(n);
        ports.State.WavePlayers[static_cast<size_t>(n)] = WavePlayer{};
    }
    audio.PlayEffectFile("");
    // The music player goes with the window.
    audio.CloseMusic();
    if (!ports.State.CurMusicName.Empty()) TraceMusic(ports, "stop", ports.State.CurMusicName.View());
    ports.State.CurMusicName = "";
    ports.State.MusicLengthMs = 0;
    ports.State.MusicLoopsAtEnd = false;
}

}  // namespace kiv
