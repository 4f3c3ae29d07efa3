#pragma once

#include <string>

namespace kiv {

// The music in the browser: each tune was rendered when the site was packed, and the browser
// decodes and plays it itself (Web Audio), off the page's main thread. Only the sound effects
// and voices go through the mixer, whose callback runs on the main thread there.
class BrowserMusic {
public:
    BrowserMusic();
    BrowserMusic(const BrowserMusic&) = delete;
    BrowserMusic& operator=(const BrowserMusic&) = delete;
    ~BrowserMusic() { Close(); }

    // Takes the rendered tune at path; false when there is no such file or no sound in the
    // page. The decoding runs on in the browser: a play asked for before it ends begins where
    // the tune would be by then, so the game's clock and the music stay together.
    bool Open(const std::string& path);
    void PlayFromStart();
    void Stop();
    void Close();
    // Playing or about to: asked to play and neither ended nor stopped.
    bool Playing() const;
};

}  // namespace kiv
