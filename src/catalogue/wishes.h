// The wish table (names, glyphs, effects), the wish-list menu and its texts.
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

// Click on the wish-list menu entry w (0..12), and the page for a unit's wish (also 13..15).
void 願い_Click(Game& g, int w);

} // namespace vern
