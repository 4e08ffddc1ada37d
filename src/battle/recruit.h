// Picking a unit to recruit and the party member to trade away.
#pragma once

#include "state/game.h"

namespace vern {

// Label2_Click for PickState 2 (candidate) and 3 (trade partner).
void RecruitPick(Game& g, int i);

} // namespace vern
