#include "platform/sdl/wav_reader.h"

#include <SDL.h>

#include <climits>

namespace kiv {

bool DecodableWav(const uint8_t* data, size_t size, std::string& why) {
    if (!data || size == 0) {
        why = "empty file";
        return false;
    }
    if (size > size_t(INT_MAX)) {
        why = "file is too large";
        return false;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data, int(size));
    SDL_AudioSpec spec;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!rw || !SDL_LoadWAV_RW(rw, 1, &spec, &samples, &length)) {
        why = SDL_GetError();
        if (why.empty()) why = "not a WAV file";
        return false;
    }
    SDL_FreeWAV(samples);
    return true;
}

}  // namespace kiv
