#pragma once

// The BMP reading the game had while it decoded pictures with SDL 2's reader (SDL_LoadBMP_RW),
// kept word for word as the reference the game's own decoder is held to. Links SDL: only for the
// SDL test binary and the parity fuzz target, never for the core library.

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "media/image_bmp.h"
#include "media/surface.h"

namespace kiv::sdl_reference {

namespace detail {

inline uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
inline uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

// What the file's headers promise, checked against the file's real length.
inline bool CheckHeader(const uint8_t* data, size_t size, int maxSide, int64_t maxPixels, std::string& error) {
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') {
        error = "not a bitmap file";
        return false;
    }
    const uint32_t offBits = Le32(data + 10);
    const uint32_t infoSize = Le32(data + 14);
    int64_t width, height;
    uint32_t bits, compression = 0, planes;
    if (infoSize == 12) {
        width = Le16(data + 18);
        height = Le16(data + 20);
        planes = Le16(data + 22);
        bits = Le16(data + 24);
    } else if (infoSize >= 40 && infoSize <= 124 && size >= 14 + size_t(infoSize)) {
        width = int32_t(Le32(data + 18));
        height = int32_t(Le32(data + 22));
        planes = Le16(data + 26);
        bits = Le16(data + 28);
        compression = Le32(data + 30);
    } else {
        error = "unknown bitmap header";
        return false;
    }
    const int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0) {
        error = "picture of no size";
        return false;
    }
    if (width > maxSide || rows > maxSide || width * rows > maxPixels) {
        error = "picture of " + std::to_string(width) + " x " + std::to_string(rows) + " pixels is too large";
        return false;
    }
    if (planes != 1 || !(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) {
        error = "unsupported bitmap format";
        return false;
    }
    const bool rle = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
    const bool plain = compression == 0 || (compression == 3 && (bits == 16 || bits == 32));
    if (!rle && !plain) {
        error = "unsupported bitmap compression";
        return false;
    }
    if (offBits > size) {
        error = "file is cut short";
        return false;
    }
    if (rle && uint64_t(size) < uint64_t(width) * uint64_t(rows) / 256) {
        // A run codes at most 255 pixels in two bytes and a line ends with two more, so a file
        // written line by line is far longer; one this short only claims a size to be allocated.
        error = "file too short for a run-length picture of " + std::to_string(width) + " x " + std::to_string(rows) +
                " pixels";
        return false;
    }
    if (plain) {
        const uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
        uint64_t start = offBits;
        if (start == 0) {
            const uint64_t colours = bits <= 8 ? (uint64_t(1) << bits) : 0;
            start = 14 + uint64_t(infoSize) + colours * (infoSize == 12 ? 3 : 4);
        }
        if (start + stride * uint64_t(rows) > size) {
            error = "file is cut short";
            return false;
        }
    }
    return true;
}

// A channel of n bits widened to 8 by repeating its bits, as the system's bitmap copies do
// (5 bits v give v << 3 | v >> 2, so full intensity stays 255).
inline uint32_t Widen(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0, bits = 0;
    while (!((mask >> shift) & 1)) ++shift;
    while (shift + bits < 32 && ((mask >> (shift + bits)) & 1)) ++bits;
    const uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return v >> (bits - 8);
    uint32_t out = 0;
    int have = 0;
    while (have < 8) {
        out = (out << bits) | v;
        have += bits;
    }
    return out >> (have - 8);
}

// The loaded picture (8-bit with a colour table, or 16, 24 or 32 bits with channel masks) as
// 0x00RRGGBB pixels.
inline bool ToRgb(SDL_Surface* s, BmpPixels& out, std::string& error) {
    const SDL_PixelFormat* f = s->format;
    const int bytes = f->BytesPerPixel;
    if (s->w <= 0 || s->h <= 0 || !(bytes >= 1 && bytes <= 4) ||
        (bytes == 1 && (!f->palette || f->palette->ncolors <= 0))) {
        error = "unexpected bitmap layout";
        return false;
    }
    out.Width = s->w;
    out.Height = s->h;
    out.Pixels.resize(size_t(s->w) * size_t(s->h));
    if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + size_t(y) * size_t(s->pitch);
        uint32_t* dst = out.Pixels.data() + size_t(y) * size_t(s->w);
        for (int x = 0; x < s->w; ++x) {
            const uint8_t* p = row + size_t(x) * size_t(bytes);
            if (bytes == 1) {
                // The reader has already refused indices outside the table.
                const int i = std::min<int>(p[0], f->palette->ncolors - 1);
                const SDL_Color c = f->palette->colors[i];
                dst[x] = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
                continue;
            }
            uint32_t v = 0;
            for (int k = 0; k < bytes; ++k) v |= uint32_t(p[k]) << (8 * k);  // surfaces are little-endian here
            dst[x] = Widen(v, f->Rmask) << 16 | Widen(v, f->Gmask) << 8 | Widen(v, f->Bmask);
        }
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    return true;
}

}  // namespace detail

inline bool DecodeBmpWithSdl(const uint8_t* data, size_t size, int maxSide, int64_t maxPixels, BmpPixels& out,
                             std::string& error) {
    out = BmpPixels{};
    if (!data || !detail::CheckHeader(data, size, maxSide, maxPixels, error)) return false;
    if (size > size_t(INT32_MAX)) {
        error = "file is too large";
        return false;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data, int(size));
    SDL_Surface* loaded = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    if (!loaded) {
        error = std::string("damaged bitmap: ") + SDL_GetError();
        return false;
    }
    const bool ok = detail::ToRgb(loaded, out, error);
    SDL_FreeSurface(loaded);
    if (!ok) out = BmpPixels{};
    return ok;
}

// Empty when the game's decoder gives what the reference gives for these bytes (the same
// picture, or a refusal from both), otherwise what differs.
inline std::string ParityDifference(const uint8_t* data, size_t size, int maxSide = kMaxSurfaceSide,
                                    int64_t maxPixels = kMaxSurfacePixels) {
    BmpPixels ours, theirs;
    std::string ourWhy, theirWhy;
    const bool ourOk = DecodeBmp(data, size, maxSide, maxPixels, ours, ourWhy);
    const bool theirOk = DecodeBmpWithSdl(data, size, maxSide, maxPixels, theirs, theirWhy);
    if (ourOk != theirOk)
        return ourOk ? "decoded, where SDL refused (" + theirWhy + ")" : "refused (" + ourWhy + "), where SDL decoded";
    if (!ourOk) return ourWhy.empty() ? "refused without a reason" : std::string();
    if (ours.Width != theirs.Width || ours.Height != theirs.Height)
        return "size " + std::to_string(ours.Width) + " x " + std::to_string(ours.Height) + ", SDL's " +
               std::to_string(theirs.Width) + " x " + std::to_string(theirs.Height);
    for (size_t i = 0; i < ours.Pixels.size(); ++i)
        if (ours.Pixels[i] != theirs.Pixels[i]) {
            char text[96];
            std::snprintf(text, sizeof text, "pixel (%d, %d) is %06X, SDL's %06X", int(i % size_t(ours.Width)),
                          int(i / size_t(ours.Width)), unsigned(ours.Pixels[i]), unsigned(theirs.Pixels[i]));
            return text;
        }
    return std::string();
}

}  // namespace kiv::sdl_reference
