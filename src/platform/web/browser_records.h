#pragma once

namespace kiv {

// In the browser the player's records folder of the game on the command line (--data) is kept
// in IndexedDB, one database per game: this mounts it there and reads it back in before the
// game starts. Every fsync of a file there (the records' save makes one) writes it to
// IndexedDB, and fails with EIO when the browser refuses, so a save that does not last says so
// as on the desktop.
void MountBrowserRecords(int argc, const char* const* argv);

}  // namespace kiv
