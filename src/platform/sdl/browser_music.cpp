#include "platform/sdl/browser_music.h"

#include <emscripten.h>

// The tune's state lives in the page: the decoded buffer, the source that plays it, and a serial
// number that lets a decoding finished after a change of tune be dropped. The audio context is
// the one the mixer plays on, so the player's first gesture starts both.
// clang-format off
EM_JS(void, kiv_music_install, (), {
    if (Module["kivMusic"]) return;
    var m = Module["kivMusic"] = {serial: 0, buffer: null, source: null, wanted: false, askedAt: 0};
    m.start = function (offset) {
        if (offset >= m.buffer.duration) {
            m.wanted = false;
            return;
        }
        var source = m.context.createBufferSource();
        source.buffer = m.buffer;
        source.connect(m.context.destination);
        source.onended = function () {
            if (m.source !== source) return;
            m.source = null;
            m.wanted = false;
        };
        m.source = source;
        source.start(0, offset);
    };
    m.stop = function () {
        m.wanted = false;
        var source = m.source;
        m.source = null;
        if (!source) return;
        source.onended = null;
        try {
            source.stop();
        } catch (e) {
        }
        source.disconnect();
    };
    m.open = function (path) {
        m.stop();
        ++m.serial;
        m.buffer = null;
        var sdl = Module["SDL2"];
        m.context = sdl && sdl.audioContext;
        var bytes;
        try {
            bytes = FS.readFile(path);
        } catch (e) {
            return 0;
        }
        if (!m.context) return 0;
        var serial = m.serial;
        var data = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
        m.context.decodeAudioData(data).then(function (buffer) {
            if (m.serial !== serial) return;
            m.buffer = buffer;
            if (m.wanted && !m.source) m.start((performance.now() - m.askedAt) / 1000);
        }, function () {
            if (m.serial !== serial) return;
            m.wanted = false;
            console.error("kiv: cannot play the music " + path + ": the browser cannot decode it");
        });
        return 1;
    };
    m.play = function () {
        m.stop();
        m.wanted = true;
        m.askedAt = performance.now();
        if (m.buffer) m.start(0);
    };
});

EM_JS(int, kiv_music_open, (const char* path), { return Module["kivMusic"].open(UTF8ToString(path)); });
EM_JS(void, kiv_music_play, (), { Module["kivMusic"].play(); });
EM_JS(void, kiv_music_stop, (), { Module["kivMusic"].stop(); });
EM_JS(void, kiv_music_close, (), {
    var m = Module["kivMusic"];
    m.stop();
    ++m.serial;
    m.buffer = null;
});
EM_JS(int, kiv_music_playing, (), { return Module["kivMusic"].wanted ? 1 : 0; });
// clang-format on

namespace kiv {

BrowserMusic::BrowserMusic() { kiv_music_install(); }

bool BrowserMusic::Open(const std::string& path) { return kiv_music_open(path.c_str()) != 0; }

void BrowserMusic::PlayFromStart() { kiv_music_play(); }

void BrowserMusic::Stop() { kiv_music_stop(); }

void BrowserMusic::Close() { kiv_music_close(); }

bool BrowserMusic::Playing() const { return kiv_music_playing() != 0; }

}  // namespace kiv
