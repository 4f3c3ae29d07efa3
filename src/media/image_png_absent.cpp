// The browser's engine is built without libpng: drawing the stages into pictures is a tool for
// the desktop, so here it says so instead of writing anything.
#include "media/image_png.h"

namespace kiv {

bool EncodePng(const Surface&, std::string& bytes, std::string& why) {
    bytes.clear();
    why = "this build of Kiv writes no PNG pictures; use the desktop build for --render";
    return false;
}

}  // namespace kiv
