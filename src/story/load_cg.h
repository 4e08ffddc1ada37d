// LoadCG: a picture of the CG folder into Image1, with the built-in fallback.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// Reads folder/name.bmp of the program's CG folder into Image1. A missing, unreadable or
// broken file gives the fallback picture silently; any other error is reported once and
// Image1 keeps what it held.
void LoadCG(Game& g, const std::string& folder, const std::string& name);

// The checks behind LoadCG, for a file path: 0 and the size on success, else the error
// number (53 file not found, 76 path not found, 481 invalid picture, others as the platform
// reports them).
int ReadBitmapInfo(const std::string& path, int& widthPx, int& heightPx);

} // namespace vern
