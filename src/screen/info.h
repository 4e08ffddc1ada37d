// The information page of a unit.
#pragma once

#include "state/game.h"

namespace vern {

void ShowInfo(Game& g, int race, int wish, int kind);
// Label2_Click for PickState 5.
void InfoPick(Game& g, int i);

} // namespace vern
