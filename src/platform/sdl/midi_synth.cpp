#include "platform/sdl/midi_synth.h"

#include <fluidsynth.h>

#include <cstdio>
#include <vector>

namespace kiv {

struct MidiSynth::Parts {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    std::vector<int16_t> buffer;
};

namespace {

// The synthesizer's own diagnostics stay quiet; the game says what matters in one line.
void QuietLog(int, const char*, void*) {}

}  // namespace

std::unique_ptr<MidiSynth> MidiSynth::Load(const std::string& soundfont, int sampleRate) {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, QuietLog, nullptr);
    std::unique_ptr<MidiSynth> m(new MidiSynth);
    m->parts_ = std::make_unique<Parts>();
    Parts& p = *m->parts_;
    p.settings = new_fluid_settings();
    if (!p.settings) return nullptr;
    fluid_settings_setnum(p.settings, "synth.sample-rate", sampleRate);
    // The player moves on as the music is rendered: no timer thread of its own.
    fluid_settings_setstr(p.settings, "player.timing-source", "sample");
    p.synth = new_fluid_synth(p.settings);
    if (!p.synth || fluid_synth_sfload(p.synth, soundfont.c_str(), 1) == FLUID_FAILED) {
        std::fprintf(stderr, "kiv: cannot load the soundfont %s: the music stays silent\n", soundfont.c_str());
        return nullptr;
    }
    // The synthesizer's default gain of 0.2 is far quieter than the effects.
    fluid_synth_set_gain(p.synth, 1.2f);
    return m;
}

MidiSynth::~MidiSynth() {
    if (!parts_) return;
    DropPlayer();
    if (parts_->synth) delete_fluid_synth(parts_->synth);
    if (parts_->settings) delete_fluid_settings(parts_->settings);
}

void MidiSynth::DropPlayer() {
    if (!parts_->player) return;
    fluid_player_stop(parts_->player);
    delete_fluid_player(parts_->player);
    parts_->player = nullptr;
    fluid_synth_all_sounds_off(parts_->synth, -1);
}

bool MidiSynth::Open(std::string bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    DropPlayer();
    tune_.clear();
    if (bytes.size() < 14 || bytes.compare(0, 4, "MThd") != 0) return false;
    tune_ = std::move(bytes);
    return true;
}

bool MidiSynth::PlayFromStart() {
    std::lock_guard<std::mutex> lock(mutex_);
    DropPlayer();
    if (tune_.empty()) return false;
    // A fresh player starts at the first event with the synthesizer's channels reset.
    fluid_synth_system_reset(parts_->synth);
    parts_->player = new_fluid_player(parts_->synth);
    if (!parts_->player) return false;
    if (fluid_player_add_mem(parts_->player, tune_.data(), tune_.size()) != FLUID_OK ||
        fluid_player_play(parts_->player) != FLUID_OK) {
        DropPlayer();
        return false;
    }
    return true;
}

void MidiSynth::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    DropPlayer();
}

void MidiSynth::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    DropPlayer();
    tune_.clear();
}

bool MidiSynth::Playing() {
    std::lock_guard<std::mutex> lock(mutex_);
    return parts_->player && fluid_player_get_status(parts_->player) == FLUID_PLAYER_PLAYING;
}

void MidiSynth::Render(int16_t* out, int frames) {
    std::lock_guard<std::mutex> lock(mutex_);
    // Nothing to play: the synthesizer is not asked for silence.
    if (!parts_->player) return;
    std::vector<int16_t>& b = parts_->buffer;
    b.resize(static_cast<size_t>(frames) * 2);
    fluid_synth_write_s16(parts_->synth, frames, b.data(), 0, 2, b.data(), 1, 2);
    for (size_t i = 0; i < b.size(); ++i) {
        const int v = out[i] + b[i];
        out[i] = static_cast<int16_t>(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
    }
}

}  // namespace kiv
