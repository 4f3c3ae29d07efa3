#include "platform/sdl/sdl_handles.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

namespace kiv::sdl {

void FreeWindow(SDL_Window* w) { SDL_DestroyWindow(w); }
void FreeCursor(SDL_Cursor* c) { SDL_FreeCursor(c); }
void FreeSurface(SDL_Surface* s) { SDL_FreeSurface(s); }
void FreeChunk(Mix_Chunk* c) { Mix_FreeChunk(c); }
void FreeFont(TTF_Font* f) { TTF_CloseFont(f); }

}  // namespace kiv::sdl
