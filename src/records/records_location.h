#pragma once

#include <string>

namespace kiv {

// Where Kiv.ini lives. It stays in the game folder when the player may write there. A game
// folder that is read-only (an installed game, a read-only medium, a folder whose permissions
// let nobody write, whoever runs the game) or that is shared by every user (the installed
// demo) keeps its records in the player's own data folder instead:
// $XDG_DATA_HOME/kiv/<name>/, or ~/.local/share/kiv/<name>/, where <name> is made from the
// game folder's path so that every game folder has its own.
struct RecordsLocation {
    std::string Dir;          // the folder Kiv.ini is written to, with its trailing '/'
    bool UserFolder = false;  // Dir is the player's data folder, not the game folder
};

// gameDir ends in '/'; shared: the game folder belongs to every user of the machine.
RecordsLocation ChooseRecordsLocation(const std::string& gameDir, bool shared);

// The player's data folder for the records of gameDir (not created here).
std::string UserRecordsDir(const std::string& gameDir);

// True when the current user may create files in dir and its permissions let someone write.
bool FolderWritable(const std::string& dir);

}  // namespace kiv
