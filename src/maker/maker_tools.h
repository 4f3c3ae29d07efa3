#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "maker/overlay_canvas.h"

namespace kiv {
struct Game;

// What the overlay shows, read from the game after a frame: the overlay is drawn again only
// when it changes.
struct OverlayFacts {
    int Scene = -1;
    bool StageData = false;          // a stage is set up: its spots and check points are shown
    uint32_t Uncovered = 0;          // bit k: check point k + 1 is uncovered in the erase map
    int UncoveredTenths = 0;         // per mille of the erasable area that is uncovered
    int PointerX = 0, PointerY = 0;  // the pointer's game position, once the mouse has moved
    bool PointerKnown = false;
    uint64_t Reloads = 0;  // the configuration read so far (the spots may have moved)
    std::vector<std::string> Errors;
    bool operator==(const OverlayFacts&) const = default;
};

// A file as last looked at: whether it was there, its modification time and its size.
struct FileStamp {
    bool Exists = false;
    int64_t ModifiedNs = 0;
    int64_t Size = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);

// The files of the game folder that the current scene of g uses: Kiv.txt, the start-up sheets,
// the scene's pictures (both a .jpg and a .bmp of each, as a new .jpg takes the place of a .bmp),
// masks, voices, sounds and music. Names as the folder holds them, without the folder.
std::vector<std::string> SceneFiles(const Game& g);

// The game maker's tools over a running game: the overlay of the stage's data, drawn over the
// window's picture only (F9, or a script's "overlay on"), and reading the game's files again
// when they change, on the real clock about once a second (with --maker) or when a script
// says "reload".
class MakerTools {
public:
    // makerMode: the --maker flag, which lets F9 show the overlay and the files be watched.
    // nowMs: the real clock in milliseconds (a steady one unless a test gives its own).
    MakerTools(Game& g, bool makerMode, std::function<int64_t()> nowMs = {});

    bool MakerMode() const { return makerMode_; }

    // After every frame: the overlay follows the game; the files are looked at when a second
    // has passed on the real clock since the last look.
    void AfterFrame();
    // The mouse moved to (x, y) of the game's picture.
    void PointerAt(int x, int y);
    // F9: shows or hides the overlay, with --maker only.
    void OverlayKey();
    void ShowOverlay(bool on);

    // Reads Kiv.txt again and starts the current stage (outside stage play, the current scene)
    // again with it, saying on stderr what was read. A configuration that cannot be played
    // (Kiv.txt malformed, a picture of the scene missing or damaged) is not taken: the errors
    // are said on stderr and in the overlay as the check words them, and the last good one
    // plays on. True when the new configuration was taken.
    bool Reload(const std::string& why);
    // The errors of the last broken edit; empty once an edit was taken.
    const std::vector<std::string>& Errors() const { return errors_; }

private:
    void LookAtFiles();
    void TakeStamps();
    // The share of the stage picture uncovered, counted after a frame (not on every move).
    void MeasureUncovered();
    // Draws the overlay again when what it shows has changed.
    void UpdateOverlay();
    OverlayFacts ReadFacts() const;
    void DrawOverlay(const OverlayFacts& f);
    void DrawStageData(const OverlayFacts& f);
    void RestartScene();

    Game& g_;
    bool makerMode_;
    std::function<int64_t()> nowMs_;
    int64_t lastLook_ = 0;
    int watchedScene_ = -1;
    std::vector<std::pair<std::string, FileStamp>> stamps_;
    std::vector<std::string> errors_;
    uint64_t reloads_ = 0;
    bool pointerKnown_ = false;
    int pointerX_ = 0, pointerY_ = 0;
    int uncoveredTenths_ = 0;
    bool drawn_ = false;  // facts_ is what the overlay shows
    OverlayFacts facts_;
    OverlayCanvas canvas_;
};

}  // namespace kiv
