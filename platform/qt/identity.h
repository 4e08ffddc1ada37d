// The application as the desktop knows it: its names (which also name the settings file and the
// data folder), the desktop entry it belongs to, and its icon.
#pragma once

#include <string>

namespace vern::qt {

// Call once, after the QApplication is made. version is the program's version ("0.9.0"). The
// windows get the small icon built into the program, which costs next to nothing to read.
void IdentifyApplication(const std::string& version);

// The icon in full: the icon theme's where the game is installed, else every size built into
// the program. Call once the game's window is drawn: looking in the theme and reading the
// large picture take several milliseconds, by which the first paint would come later.
void UseFullIcon();

} // namespace vern::qt
