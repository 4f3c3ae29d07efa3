#include "platform/sdl/ttf_font.h"

#include <SDL2/SDL_ttf.h>
#ifndef __EMSCRIPTEN__
#include <fontconfig/fontconfig.h>
#endif

#include <strings.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "platform/sdl/sdl_handles.h"

namespace kiv {

namespace {

#ifndef __EMSCRIPTEN__
// Looks a family up through fontconfig; with exactFamily, a match of another family (the
// silent fallback fontconfig makes for unknown names) counts as not found.
std::string FindFontFile(const char* family, bool exactFamily) {
    std::string path;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (!pattern) return path;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return path;
    bool familyOk = !exactFamily;
    FcChar8* value = nullptr;
    for (int i = 0; !familyOk && FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i)
        familyOk = strcasecmp(reinterpret_cast<const char*>(value), family) == 0;
    if (familyOk && FcPatternGetString(match, FC_FILE, 0, &value) == FcResultMatch)
        path = reinterpret_cast<const char*>(value);
    FcPatternDestroy(match);
    return path;
}
#endif

class FontCache {
public:
    static FontCache& Get() {
        static FontCache cache;
        return cache;
    }

    bool Available() const { return ready_; }

    // The font at a pixel height and slant, opened on first use; null without a font.
    TTF_Font* Open(int pixelHeight, bool italic) {
        if (!ready_) return nullptr;
        auto key = std::make_pair(pixelHeight, italic);
        auto it = fonts_.find(key);
        if (it != fonts_.end()) return it->second.get();
        sdl::FontHandle font(TTF_OpenFont(file_.c_str(), pixelHeight));
        if (!font) {
            std::fprintf(stderr, "kiv: cannot open font %s: %s\n", file_.c_str(), TTF_GetError());
        } else {
            // Small Japanese UI text of the era was drawn without antialiasing.
            TTF_SetFontHinting(font.get(), TTF_HINTING_MONO);
            if (italic) TTF_SetFontStyle(font.get(), TTF_STYLE_ITALIC);
        }
        return (fonts_[key] = std::move(font)).get();
    }

    // Runs at exit: closing everything keeps leak checkers quiet. The fonts go before the
    // library that opened them.
    ~FontCache() {
        fonts_.clear();
        if (initialised_) TTF_Quit();
#ifndef __EMSCRIPTEN__
        FcFini();
#endif
    }

private:
    FontCache() {
        if (TTF_Init() != 0) {
            std::fprintf(stderr, "kiv: font engine unavailable (%s); text is not drawn\n", TTF_GetError());
            return;
        }
        initialised_ = true;
#ifdef __EMSCRIPTEN__
        // The page brings the font, cut down to the game's characters.
        file_ = "/kiv-web/font.ttf";
#else
        file_ = FindFontFile("IPAPGothic", true);
        if (file_.empty()) file_ = FindFontFile("IPAGothic", true);
        if (file_.empty()) {
            file_ = FindFontFile("IPAPGothic", false);
            if (!file_.empty()) std::fprintf(stderr, "kiv: no Japanese Gothic font found; using %s\n", file_.c_str());
        }
#endif
        if (file_.empty()) {
            std::fprintf(stderr, "kiv: no font found; text is not drawn\n");
            return;
        }
        ready_ = true;
    }

    bool initialised_ = false;
    bool ready_ = false;
    std::string file_;
    std::map<std::pair<int, bool>, sdl::FontHandle> fonts_;
};

int ClampHeight(int pixelHeight) { return std::clamp(pixelHeight, 1, 256); }

int MeasureTextRun(std::string_view utf8, int pixelHeight, bool italic) {
    pixelHeight = ClampHeight(pixelHeight);
    std::string text(utf8);
    TTF_Font* font = FontCache::Get().Open(pixelHeight, italic);
    if (!font) return FixedAdvanceWidth(text, pixelHeight);
    if (text.empty()) return 0;
    int w = 0, h = 0;
    if (TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return 0;
    return std::max(w, 0);
}

TextRun RenderTextRun(std::string_view utf8, int pixelHeight, bool italic) {
    pixelHeight = ClampHeight(pixelHeight);
    TextRun run;
    run.Width = MeasureTextRun(utf8, pixelHeight, italic);
    run.Height = pixelHeight;
    // A run far wider than any surface (an endless line of text) is left blank rather than
    // rendered into a huge buffer.
    constexpr int kMaxRunWidth = 1 << 16;
    TTF_Font* font = FontCache::Get().Open(pixelHeight, italic);
    std::string text(utf8);
    if (!font || text.empty() || run.Width == 0 || run.Width > kMaxRunWidth) return run;
    run.Ink.assign(size_t(run.Width) * size_t(run.Height), 0);

    SDL_Color white{255, 255, 255, 255};
    sdl::SurfaceHandle rendered(TTF_RenderUTF8_Solid(font, text.c_str(), white));
    if (!rendered || rendered->format->BytesPerPixel != 1) return run;
    SDL_Surface* glyphs = rendered.get();
    // The renderer puts the baseline at the font's own ascent; move it to 0.859 of the cell.
    int cellAscent = (pixelHeight * 859 + 500) / 1000;
    int rowShift = std::max(0, TTF_FontAscent(font) - cellAscent);
    if (SDL_LockSurface(glyphs) == 0) {
        int w = std::min(glyphs->w, run.Width);
        for (int y = 0; y < run.Height; ++y) {
            int sy = y + rowShift;
            if (sy < 0 || sy >= glyphs->h) continue;
            const uint8_t* src = static_cast<const uint8_t*>(glyphs->pixels) + size_t(sy) * glyphs->pitch;
            // The solid renderer gives 8-bit pixels: index 0 is the background.
            for (int x = 0; x < w; ++x)
                if (src[x] != 0) run.Ink[size_t(y) * run.Width + x] = 1;
        }
        SDL_UnlockSurface(glyphs);
    }
    return run;
}

class TtfFontRenderer : public FontRenderer {
public:
    TextRun Render(std::string_view utf8, int pixelHeight, bool italic) override {
        return RenderTextRun(utf8, pixelHeight, italic);
    }
    int Measure(std::string_view utf8, int pixelHeight, bool italic) override {
        return MeasureTextRun(utf8, pixelHeight, italic);
    }
    bool Available() override { return FontCache::Get().Available(); }
};

}  // namespace

FontRenderer& TtfFonts() {
    static TtfFontRenderer fonts;
    return fonts;
}

}  // namespace kiv
