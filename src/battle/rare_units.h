// The rare named units that now and then take an ordinary enemy's place.
#pragma once

#include "state/game.h"

namespace vern {

// Replaces a freshly made enemy in slot by one of the rare named units.
void MakeRareUnit(Game& g, int slot);

} // namespace vern
