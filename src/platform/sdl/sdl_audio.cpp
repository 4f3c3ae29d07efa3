#include "platform/sdl/sdl_audio.h"

#ifdef __EMSCRIPTEN__
#include "platform/sdl/browser_music.h"
#else
#include "platform/sdl/midi_synth.h"
#endif
#include "platform/sdl/sdl_handles.h"

#include <SDL.h>
#include <SDL_mixer.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#else
#include <alsa/asoundlib.h>
#endif
#include <sys/stat.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace kiv {

namespace {

constexpr int kEffectChannel = 0;
constexpr int kFirstVoiceChannel = 1;
constexpr int kVoices = 10;
constexpr off_t kMaxWaveBytes = 64 << 20;  // a larger file is refused, not decoded whole

// Counted on the mixer's own thread when a channel ends or is cut off.
std::array<std::atomic<int>, kFirstVoiceChannel + kVoices> gChannelEnds{};

#ifdef __EMSCRIPTEN__
// In the browser the mixer's callback runs on the page's main thread, a few dozen times a
// second, whether anything plays or not. While no sound plays its node is taken off the audio
// context, and nothing is called; the music plays on by itself.
// clang-format off
EM_JS(void, kiv_sound_node_connect, (int on), {
    var sdl = Module["SDL2"];
    var node = sdl && sdl.audio && sdl.audio.scriptProcessorNode;
    if (!node || !sdl.audioContext) return;
    var connected = sdl.kivSoundConnected !== false;  // SDL connects it when it opens
    if (on && !connected) node.connect(sdl.audioContext.destination);
    if (!on && connected) node.disconnect();
    sdl.kivSoundConnected = !!on;
});
// clang-format on

// A while after the last sound ends (what the browser holds of it has played by then), the
// mixer's node is taken off, unless a sound plays again. The page's own timer asks, not
// emscripten's, which would keep the engine from ending while it waits.
constexpr int kQuietAfterMs = 300;

// clang-format off
EM_JS(void, kiv_sound_check_later, (int ms), {
    setTimeout(function () {
        if (!ABORT && (typeof runtimeExited == "undefined" || !runtimeExited)) Module["_kiv_sound_quiet_check"]();
    }, ms);
});
// clang-format on

void SoundStarted() { kiv_sound_node_connect(1); }
#else
void SoundStarted() {}
#endif

void CountChannelEnd(int channel) {
    if (channel >= 0 && channel < static_cast<int>(gChannelEnds.size())) ++gChannelEnds[static_cast<size_t>(channel)];
#ifdef __EMSCRIPTEN__
    kiv_sound_check_later(kQuietAfterMs);
#endif
}

#ifndef __EMSCRIPTEN__
// General MIDI soundfonts where Debian's packages put them, best first.
constexpr std::array<const char*, 5> kSoundFonts = {
    "/usr/share/sounds/sf3/default-GM.sf3", "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2"};

bool IsFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
#endif

void Put16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, static_cast<uint16_t>(v & 0xFFFF));
    Put16(s, static_cast<uint16_t>(v >> 16));
}

// The beep: 120 ms of an 880 Hz tone, mono 16-bit, as a WAV file in memory.
std::string BeepWav() {
    constexpr uint32_t kRate = 22050;
    constexpr uint32_t kSamples = kRate * 120 / 1000;
    constexpr uint32_t kRamp = kRate * 5 / 1000;  // soft edges: no click
    std::string pcm;
    for (uint32_t i = 0; i < kSamples; ++i) {
        double env = 1.0;
        if (i < kRamp) env = static_cast<double>(i) / kRamp;
        if (kSamples - i < kRamp) env = static_cast<double>(kSamples - i) / kRamp;
        double v = 9000.0 * env * std::sin(2.0 * M_PI * 880.0 * i / kRate);
        Put16(pcm, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v))));
    }
    std::string wav = "RIFF";
    Put32(wav, static_cast<uint32_t>(36 + pcm.size()));
    wav += "WAVEfmt ";
    Put32(wav, 16);
    Put16(wav, 1);  // PCM
    Put16(wav, 1);  // mono
    Put32(wav, kRate);
    Put32(wav, kRate * 2);
    Put16(wav, 2);
    Put16(wav, 16);
    wav += "data";
    Put32(wav, static_cast<uint32_t>(pcm.size()));
    return wav + pcm;
}

// ALSA prints a page of its own diagnostics when it finds no card; the game says what matters
// in one line. Only ALSA's reports are silenced: the device is opened on a thread of its own
// while the game starts, so stderr itself stays open for the game's messages.
#ifndef __EMSCRIPTEN__
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}
#endif

#ifdef __EMSCRIPTEN__
// The browser's own sample format: SDL converts nothing between the mixer and the page.
constexpr Uint16 kMixFormat = AUDIO_F32SYS;
#else
constexpr Uint16 kMixFormat = MIX_DEFAULT_FORMAT;
#endif

// Opens the mixer on the default sound device. False when there is none; SDL's silent
// "dummy" driver counts as none unless acceptSilent (the back end's own tests play on it).
bool OpenMixer(bool acceptSilent) {
    std::string reason;
#ifdef __EMSCRIPTEN__
    // The browser's sound runs at the desktop's rate: the browser resamples on its own audio
    // thread, and nothing is resampled on the page's main thread (SDL would take the
    // browser's default rate, often 48 kHz, and resample every tune as it plays).
    // clang-format off
    EM_ASM({
        var sdl = Module["SDL2"] = Module["SDL2"] || {};
        if (sdl.audioContext || typeof AudioContext === "undefined") return;
        try {
            sdl.audioContext = new AudioContext({sampleRate: 44100});
            autoResumeAudioContext(sdl.audioContext);
        } catch (e) {
        }
    });
    // clang-format on
#else
    snd_lib_error_set_handler(QuietAlsa);
#endif
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        const char* driver = SDL_GetCurrentAudioDriver();
        if (!acceptSilent && driver && std::strcmp(driver, "dummy") == 0) {
            reason = "only the silent driver";
        } else if (Mix_OpenAudio(44100, kMixFormat, 2, 2048) == 0) {
            return true;
        } else {
            reason = Mix_GetError();
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    } else {
        reason = SDL_GetError();
    }
    std::fprintf(stderr, "kiv: no sound device (%s): playing without sound\n", reason.c_str());
    return false;
}

#ifndef __EMSCRIPTEN__
// The first General MIDI soundfont that is a file: SDL_SOUNDFONTS (';'-separated) first, then
// where Debian's packages put them. Looked at, not opened: the synthesizer reads it once.
std::string FindSoundFont() {
    if (const char* env = SDL_getenv("SDL_SOUNDFONTS")) {
        std::string all(env);
        size_t from = 0;
        while (from <= all.size()) {
            size_t end = all.find(';', from);
            if (end == std::string::npos) end = all.size();
            if (end > from && IsFile(all.substr(from, end - from))) return all.substr(from, end - from);
            from = end + 1;
        }
    }
    for (const char* path : kSoundFonts)
        if (IsFile(path)) return path;
    return std::string();
}
#endif

#ifndef __EMSCRIPTEN__
// The music under the mix, rendered by the synthesizer on the device's thread.
void MusicHook(void* synth, Uint8* stream, int len) {
    static_cast<MidiSynth*>(synth)->Render(reinterpret_cast<int16_t*>(stream), len / 4);
}
#endif

bool ReadTune(const std::string& path, std::string& bytes) {
    constexpr long kMaxTuneBytes = 16L << 20;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buf[65536];
    size_t n;
    bytes.clear();
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && static_cast<long>(bytes.size()) <= kMaxTuneBytes)
        bytes.append(buf, n);
    const bool ok = !std::ferror(f) && static_cast<long>(bytes.size()) <= kMaxTuneBytes;
    std::fclose(f);
    return ok;
}

// The open mixer, closed with the audio subsystem once every chunk it played is freed.
class MixerSession {
public:
    MixerSession() = default;
    MixerSession(const MixerSession&) = delete;
    MixerSession& operator=(const MixerSession&) = delete;
    ~MixerSession() {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

class SdlAudio : public AudioDevice {
public:
    SdlAudio() {
        Mix_AllocateChannels(kFirstVoiceChannel + kVoices);
        Mix_ChannelFinished(CountChannelEnd);
        int rate = 0, channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&rate, &format, &channels);
#ifdef __EMSCRIPTEN__
        kiv_sound_check_later(kQuietAfterMs);
#else
        const std::string font = FindSoundFont();
        if (font.empty()) {
            std::fprintf(stderr, "kiv: no General MIDI soundfont found: the music stays silent\n");
        } else if (channels != 2 || format != AUDIO_S16SYS) {
            std::fprintf(stderr, "kiv: the sound device is not 16-bit stereo: the music stays silent\n");
        } else if ((synth_ = MidiSynth::Load(font, rate))) {
            Mix_HookMusic(MusicHook, synth_.get());
        }
#endif
    }

    // Nothing plays and the music hook is gone before the synthesizer and the chunks are freed,
    // and the mixer closes after them.
    ~SdlAudio() override {
        Mix_HaltChannel(-1);
        Mix_ChannelFinished(nullptr);
#ifdef __EMSCRIPTEN__
        CloseMusic();
#else
        Mix_HookMusic(nullptr, nullptr);
#endif
    }

    void PlayEffectFile(const std::string& path) override {
        Mix_HaltChannel(kEffectChannel);
        if (path.empty()) return;
        if (Mix_Chunk* chunk = Effect(path)) {
            SoundStarted();
            Mix_PlayChannel(kEffectChannel, chunk, 0);
        }
    }

    bool OpenWave(int player, const std::string& path) override {
        if (!ValidPlayer(player)) return false;
        CloseWave(player);
        waves_[static_cast<size_t>(player)] = LoadWav(path);
        return waves_[static_cast<size_t>(player)] != nullptr;
    }

    void PlayWave(int player) override {
        if (!ValidPlayer(player) || !waves_[static_cast<size_t>(player)]) return;
        // Playing on the player's own channel starts it from its beginning.
        SoundStarted();
        Mix_PlayChannel(kFirstVoiceChannel + player, waves_[static_cast<size_t>(player)].get(), 0);
    }

    void StopWave(int player) override {
        if (ValidPlayer(player)) Mix_HaltChannel(kFirstVoiceChannel + player);
    }

    void CloseWave(int player) override {
        if (!ValidPlayer(player)) return;
        Mix_HaltChannel(kFirstVoiceChannel + player);
        waves_[static_cast<size_t>(player)].reset();
    }

#ifdef __EMSCRIPTEN__
    // In the browser each tune was rendered from its MIDI file when the site was packed, with
    // the desktop's soundfont, into /kiv-web/music/NAME.ogg; the MIDI file stays the tune's
    // own (it gives the length), so one that is not MIDI is refused as on the desktop.
    bool OpenMusic(const std::string& path) override {
        CloseMusic();
        std::string bytes;
        if (!ReadTune(path, bytes) || bytes.size() < 14 || bytes.compare(0, 4, "MThd") != 0) {
            std::fprintf(stderr, "kiv: cannot play the music %s: not a readable MIDI file\n", path.c_str());
            return false;
        }
        const size_t slash = path.find_last_of('/');
        const std::string ogg = "/kiv-web/music/" + path.substr(slash == std::string::npos ? 0 : slash + 1) + ".ogg";
        if (!music_.Open(ogg)) {
            std::fprintf(stderr, "kiv: cannot play the music %s: it was not packed into the site\n", path.c_str());
            return false;
        }
        musicPath_ = path;
        return true;
    }

    bool PlayMusicFromStart() override {
        if (musicPath_.empty()) return false;
        music_.PlayFromStart();
        return true;
    }

    void StopMusic() override { music_.Stop(); }

    void CloseMusic() override {
        music_.Close();
        musicPath_.clear();
    }

    bool MusicPlaying() override { return !musicPath_.empty() && music_.Playing(); }
#else
    bool OpenMusic(const std::string& path) override {
        CloseMusic();
        std::string bytes;
        if (!synth_) return false;  // said once, at start
        if (!ReadTune(path, bytes) || !synth_->Open(std::move(bytes))) {
            std::fprintf(stderr, "kiv: cannot play the music %s: not a readable MIDI file\n", path.c_str());
            return false;
        }
        musicPath_ = path;
        playFailReported_ = false;
        return true;
    }

    bool PlayMusicFromStart() override {
        if (!synth_ || musicPath_.empty()) return false;
        if (synth_->PlayFromStart()) return true;
        // A refusal is retried every second: name it once.
        if (!playFailReported_) std::fprintf(stderr, "kiv: cannot start the music %s\n", musicPath_.c_str());
        playFailReported_ = true;
        return false;
    }

    void StopMusic() override {
        if (synth_) synth_->Stop();
    }

    void CloseMusic() override {
        if (synth_) synth_->Close();
        musicPath_.clear();
    }

#endif

    // A MIDI file's length is the game's to count.
    int64_t MusicLengthMs() override { return -1; }

#ifndef __EMSCRIPTEN__
    bool MusicPlaying() override { return synth_ && synth_->Playing(); }
#endif

    void Beep() override {
        if (!beep_) {
            static const std::string wav = BeepWav();
            beep_.reset(Mix_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size())), 1));
        }
        if (!beep_) return;
        SoundStarted();
        Mix_PlayChannel(kEffectChannel, beep_.get(), 0);
    }

private:
    static bool ValidPlayer(int player) { return player >= 0 && player < kVoices; }

    static sdl::ChunkHandle LoadWav(const std::string& path) {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && st.st_size > kMaxWaveBytes) {
            std::fprintf(stderr, "kiv: cannot play the sound %s: larger than 64 MB\n", path.c_str());
            return nullptr;
        }
        sdl::ChunkHandle chunk(Mix_LoadWAV(path.c_str()));
        if (!chunk) std::fprintf(stderr, "kiv: cannot play the sound %s: %s\n", path.c_str(), Mix_GetError());
        return chunk;
    }

    // Effects are short and played again and again: each file is loaded (or found bad) once.
    Mix_Chunk* Effect(const std::string& path) {
        auto it = effects_.find(path);
        if (it == effects_.end()) it = effects_.emplace(path, LoadWav(path)).first;
        return it->second.get();
    }

    MixerSession mixer_;  // first: closed after everything below
    std::map<std::string, sdl::ChunkHandle> effects_;
    std::array<sdl::ChunkHandle, kVoices> waves_;
    sdl::ChunkHandle beep_;
#ifdef __EMSCRIPTEN__
    BrowserMusic music_;
#else
    std::unique_ptr<MidiSynth> synth_;
    bool playFailReported_ = false;
#endif
    std::string musicPath_;
};

}  // namespace

SdlMixerState ProbeSdlMixer() {
    SdlMixerState st;
    st.channels = Mix_AllocateChannels(-1);
    if (st.channels > 0) st.effectPlaying = Mix_Playing(kEffectChannel) != 0;
    for (int n = 0; n < kVoices; ++n)
        st.voicePlaying[static_cast<size_t>(n)] =
            st.channels > kFirstVoiceChannel + n && Mix_Playing(kFirstVoiceChannel + n) != 0;
    for (size_t c = 0; c < gChannelEnds.size(); ++c) st.channelEnds[c] = gChannelEnds[c].load();
    return st;
}

std::unique_ptr<AudioDevice> MakeSdlAudio() {
    if (!OpenMixer(true)) return std::make_unique<SilentAudio>();
    return std::make_unique<SdlAudio>();
}

std::unique_ptr<AudioDevice> OpenSdlSoundDevice() {
    if (!OpenMixer(false)) return nullptr;
    return std::make_unique<SdlAudio>();
}

}  // namespace kiv

#ifdef __EMSCRIPTEN__
// Called by the page's timer (kiv_sound_check_later).
extern "C" EMSCRIPTEN_KEEPALIVE void kiv_sound_quiet_check() {
    if (Mix_Playing(-1) == 0) kiv::kiv_sound_node_connect(0);
}
#endif
