// Where the game finds its pictures and keeps its save, for the window started without --dir.
//
// The kind of install decides, never a test of what may be written:
// - an installed game (its pictures in PREFIX/share/vernadora beside the PREFIX/bin of
//   cmake --install or the /usr/games of the Debian package) keeps save.dat in the user's data
//   folder ($XDG_DATA_HOME/vernadora, by default ~/.local/share/vernadora), also when run as
//   root;
// - a portable folder (the executable beside CG/, as in the build tree) keeps it beside the
//   program.
// A save that an earlier run kept in the other place is still found by ロード when there is none
// in the first. The data folder is made for the player alone (0700) and used only when it is
// the player's own and nobody else may write there; without any home folder there is no save
// folder at all (saving then fails with the game's message), never a shared name in /tmp.
#pragma once

#include <string>

namespace vern::qt {

struct Folders {
    std::string program;   // CG/
    std::string save;      // where save.dat is written; empty: nowhere (saving fails)
    std::string otherSave; // where an earlier run may have kept save.dat; empty: none
    bool installed = false;
};

// For an executable in exeFolder; dir, when not empty, is the --dir option and is both.
Folders FindFolders(const std::string& exeFolder, const std::string& dir);

// The user's data folder for the game, made when missing (when make is true); empty when there
// is none that is safe to use. xdgDataHome and home are the environment's; passwdHome is the
// home the password database gives (the last resort).
std::string UserDataFolder(const char* xdgDataHome, const char* home, const std::string& passwdHome,
                           bool make = true);

// The file of the story steps the player has read: in the user's data folder (made when
// missing), or in dir when the game runs with --dir; empty when there is no such folder.
std::string ReadRecordPath(const std::string& dir);

} // namespace vern::qt
