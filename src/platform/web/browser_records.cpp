#include "platform/web/browser_records.h"

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/configuration.h"
#include "records/records_location.h"
#include "shell/launch.h"

// Mounts IndexedDB at dir and reads what it holds; null, or why it could not (malloc'ed).
// clang-format off
EM_JS(char*, kiv_mount_indexeddb, (const char* dir), {
    return Asyncify.handleSleep(function(wakeUp) {
        function done(e) { wakeUp(e ? allocateUTF8(String(e.message || e)) : 0); }
        try {
            var path = UTF8ToString(dir);
            FS.mkdirTree(path);
            FS.mount(IDBFS, {}, path);
            FS.syncfs(true, done);
        } catch (e) {
            done(e);
        }
    });
});
// clang-format on

namespace kiv {

void MountBrowserRecords(int argc, const char* const* argv) {
    LaunchOptions opt;
    std::string error;
    if (!ParseCommandLine(argc, argv, opt, error) || opt.headless || opt.check || opt.help || opt.version) return;
    bool shared = false;
    const std::string dir = UserRecordsDir(FindGameFolder(opt.dataDir, "/", shared));
    if (char* why = kiv_mount_indexeddb(dir.c_str())) {
        std::fprintf(stderr, "kiv: the browser keeps no records for this game (%s): they last until the page closes\n",
                     why);
        std::free(why);
    }
}

}  // namespace kiv
