// The application as the desktop knows it: its names (which also name the settings file and the
// data folder), the desktop entry it belongs to, and its icon.
#pragma once

#include <string>

namespace vern::qt {

// Call once, after the QApplication is made. version is the program's version ("0.9.0").
void IdentifyApplication(const std::string& version);

} // namespace vern::qt
