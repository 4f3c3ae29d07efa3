#include "platform/font.h"

#include <SDL2/SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <strings.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace kiv {

namespace {

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
        if (it != fonts_.end()) return it->second;
        TTF_Font* font = TTF_OpenFont(file_.c_str(), pixelHeight);
        if (!font) {
            std::fprintf(stderr, "kiv: cannot open font %s: %s\n", file_.c_str(), TTF_GetError());
        } else {
            // Small Japanese UI text of the era was drawn without antialiasing.
            TTF_SetFontHinting(font, TTF_HINTING_MONO);
            if (italic) TTF_SetFontStyle(font, TTF_STYLE_ITALIC);
        }
        fonts_[key] = font;
        return font;
    }

    // Runs at exit: closing everything keeps leak checkers quiet.
    ~FontCache() {
        for (auto& entry : fonts_)
            if (entry.second) TTF_CloseFont(entry.second);
        fonts_.clear();
        if (initialised_) TTF_Quit();
        FcFini();
    }

private:
    FontCache() {
        if (TTF_Init() != 0) {
            std::fprintf(stderr, "kiv: font engine unavailable (%s); text is not drawn\n", TTF_GetError());
            return;
        }
        initialised_ = true;
        file_ = FindFontFile("IPAPGothic", true);
        if (file_.empty()) file_ = FindFontFile("IPAGothic", true);
        if (file_.empty()) {
            file_ = FindFontFile("IPAPGothic", false);
            if (!file_.empty()) std::fprintf(stderr, "kiv: no Japanese Gothic font found; using %s\n", file_.c_str());
        }
        if (file_.empty()) {
            std::fprintf(stderr, "kiv: no font found; text is not drawn\n");
            return;
        }
        ready_ = true;
    }

    bool initialised_ = false;
    bool ready_ = false;
    std::string file_;
    std::map<std::pair<int, bool>, TTF_Font*> fonts_;
};

int ClampHeight(int pixelHeight) { return std::clamp(pixelHeight, 1, 256); }

// Without a font: half-width characters take half the height, the rest the full height.
int FixedAdvanceWidth(std::string_view utf8, int pixelHeight) {
    int width = 0;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        bool halfWidth = c < 0x80;
        // U+FF61..U+FF9F, the half-width katakana, are EF BD A1..EF BE 9F.
        if (len == 3 && i + 2 < utf8.size() && c == 0xEF) {
            unsigned char c1 = static_cast<unsigned char>(utf8[i + 1]);
            unsigned char c2 = static_cast<unsigned char>(utf8[i + 2]);
            halfWidth = (c1 == 0xBD && c2 >= 0xA1) || (c1 == 0xBE && c2 <= 0x9F);
        }
        width += halfWidth ? pixelHeight / 2 : pixelHeight;
        i += len;
    }
    return width;
}

}  // namespace

bool FontAvailable() { return FontCache::Get().Available(); }

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
    SDL_Surface* glyphs = TTF_RenderUTF8_Solid(font, text.c_str(), white);
    if (glyphs && glyphs->format->BytesPerPixel != 1) {
        SDL_FreeSurface(glyphs);
        glyphs = nullptr;
    }
    if (!glyphs) return run;
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
    SDL_FreeSurface(glyphs);
    return run;
}

}  // namespace kiv
