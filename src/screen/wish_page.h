// The wish list's pages, shown as a hint on the message panel.
#pragma once

#include "state/game.h"

namespace vern {

// Click on the wish-list menu entry w (0..12), and the page for a unit's wish (also 13..15).
void 願い_Click(Game& g, int w);

} // namespace vern
