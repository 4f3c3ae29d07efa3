#pragma once

#include <memory>

// Owners of the SDL, SDL_mixer and SDL_ttf objects the back end makes, each freed by its own
// function. The library itself must still be running when they go: a session object that
// quits it is declared before the handles it outlives.
struct SDL_Window;
struct SDL_Cursor;
struct SDL_Surface;
struct Mix_Chunk;
struct _TTF_Font;  // NOLINT(bugprone-reserved-identifier): SDL_ttf's own name for TTF_Font

namespace kiv::sdl {

void FreeWindow(SDL_Window* w);
void FreeCursor(SDL_Cursor* c);
void FreeSurface(SDL_Surface* s);
void FreeChunk(Mix_Chunk* c);
void FreeFont(_TTF_Font* f);  // NOLINT(bugprone-reserved-identifier)

template <typename T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const {
        if (p) Free(p);
    }
};

using WindowHandle = std::unique_ptr<SDL_Window, Deleter<SDL_Window, FreeWindow>>;
using CursorHandle = std::unique_ptr<SDL_Cursor, Deleter<SDL_Cursor, FreeCursor>>;
using SurfaceHandle = std::unique_ptr<SDL_Surface, Deleter<SDL_Surface, FreeSurface>>;
using ChunkHandle = std::unique_ptr<Mix_Chunk, Deleter<Mix_Chunk, FreeChunk>>;
using FontHandle = std::unique_ptr<_TTF_Font, Deleter<_TTF_Font, FreeFont>>;  // NOLINT(bugprone-reserved-identifier)

}  // namespace kiv::sdl
