// The program: the game's shell over the SDL back end (its window, its TrueType font, its WAV
// reader as the test of a sound file).
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/ttf_font.h"
#include "platform/sdl/wav_reader.h"
#include "shell/launch.h"

#include <cstdlib>
#ifdef KIV_BROWSER
#include "platform/web/browser_records.h"
#endif

int main(int argc, char** argv) {
#ifdef KIV_BROWSER
    kiv::MountBrowserRecords(argc, argv);
#endif
    const kiv::Backend backend{&kiv::MakeSdlPlatform, &kiv::TtfFonts(), &kiv::DecodableWav};
    const int status = kiv::KivMain(argc, argv, backend);
#ifdef __EMSCRIPTEN__
    // In the browser main has given way to the page at its first wait, so what it returns at the
    // end would be lost and the page told 0: the status is handed over by exit instead.
    std::exit(status);
#endif
    return status;
}
