// kiv_content: writes the bundled demo game (Kiv.txt, pictures, sounds, music) into a folder.
// Usage: kiv_content DIR [ICON_DIR]; the program's icons go into ICON_DIR/hicolor/.
// Set KIV_NO_SPEECH=1 to use the murmur instead of espeak-ng.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "art.h"
#include "kiv_text.h"
#include "music.h"
#include "sound_files.h"

namespace {

bool HaveSpeech() {
    const char* off = std::getenv("KIV_NO_SPEECH");
    if (off && *off && std::string(off) != "0") return false;
    return std::system("espeak-ng --version >/dev/null 2>&1") == 0;
}

void WriteText(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kiv::demo;
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: kiv_content DIR [ICON_DIR]\n");
        return 2;
    }
    try {
        std::string dir = argv[1];
        std::filesystem::create_directories(dir);
        if (dir.back() != '/') dir += '/';

        WriteText(dir + "Kiv.txt", BuildKivText());

        Sprite parts = BuildPartsSheet();
        WriteBmp24(dir + "Ptit.bmp", parts.picture);
        WriteBmp24(dir + "Ptitm.bmp", parts.mask);
        EmblemSheets emblem = BuildEmblemSheets();
        WriteBmp24(dir + "Pchz.bmp", emblem.open);
        WriteBmp24(dir + "Pchzd.bmp", emblem.closed);
        WriteBmpMono(dir + "Pchzm.bmp", emblem.mask);
        if (argc == 3) WriteIcons(argv[2]);

        WriteStagePictures(dir);
        WriteEndingPictures(dir);

        WriteEffects(dir);
        bool speech = HaveSpeech();
        int spoken = WriteVoices(dir, speech);
        if (!speech)
            std::fprintf(stderr, "kiv_content: espeak-ng not used; the voices are murmurs\n");
        else
            std::printf("kiv_content: %d voices spoken by espeak-ng\n", spoken);
        WriteMusic(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kiv_content: %s\n", e.what());
        return 1;
    }
    return 0;
}
