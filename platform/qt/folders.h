// Where the game finds its pictures and keeps its save, for the window started without --dir.
//
// The program folder is the folder of the executable when it holds the pictures (CG/), as in
// the build tree; an installed program finds them in PREFIX/share/vernadora beside its
// PREFIX/bin. The save goes into the program folder when the player may write there, else into
// the user's data folder ($XDG_DATA_HOME, or ~/.local/share, then "vernadora").
#pragma once

#include <string>

namespace vern::qt {

struct Folders {
    std::string program; // CG/ and, when writable, save.dat
    std::string save;    // where save.dat goes
};

// For an executable in exeFolder; dir, when not empty, is the --dir option and is both.
Folders FindFolders(const std::string& exeFolder, const std::string& dir);

} // namespace vern::qt
