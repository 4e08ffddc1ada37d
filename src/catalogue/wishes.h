// The wish table: names, glyphs, effects, and the texts of the wish-list menu and its pages.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

std::string WishName(int w);
std::string WishGlyph(int w);
std::string WishEffect(int w);

// Menu caption of entry w (1..12): glyph and " ？" until revealed, glyph, a space and the name
// after.
std::string WishMenuCaption(int w, bool revealed);

// The text the wish list shows for entry w, before the unrevealed replacement.
std::string WishPageText(int w);

} // namespace vern
