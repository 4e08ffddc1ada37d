// Story battles, recruitment encounters and unit changes.
#pragma once

#include "state/game.h"

namespace vern {

void SetFormation(Game& g, int n);
void StartEncounter(Game& g, int n);
void ChangeUnit(Game& g, int slot, int change);
void ScalePartyMaxHP(Game& g, double factor);

} // namespace vern
