// Start: the window and the whole game state put into the new-game state.
#pragma once

#include "state/game.h"

namespace vern {

void Start(Game& g);

// Int(100^(1-r) × 1000 + 9999) capped at 99999: a personal growth ceiling.
Long RandomGrowthCap(Game& g);

} // namespace vern
