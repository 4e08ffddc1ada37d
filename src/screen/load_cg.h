// LoadCG: a picture of the CG folder into Image1, with the built-in fallback.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// Reads folder/name.bmp of the program's CG folder into Image1. A missing, unreadable or
// broken file gives the fallback picture silently; any other error is reported once and
// Image1 keeps what it held.
void LoadCG(Game& g, const std::string& folder, const std::string& name);

// No picture of the game is larger than the story panel (6855 × 5505 twips); a header that
// claims more is not one of its pictures.
inline constexpr int kMaxPictureWidthPx = 6855 / 15;
inline constexpr int kMaxPictureHeightPx = 5505 / 15;

// The checks behind LoadCG, for a file path: 0 and the size on success, else the error
// number (53 file not found, 76 path not found, 481 invalid picture, others as the platform
// reports them).
int ReadBitmapInfo(const std::string& path, int& widthPx, int& heightPx);

} // namespace vern
