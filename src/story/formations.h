// Story battles, recruitment encounters, unit changes and the rare named units.
#pragma once

#include "state/game.h"

namespace vern {

void SetFormation(Game& g, int n);
void StartEncounter(Game& g, int n);
void ChangeUnit(Game& g, int slot, int change);
void ScalePartyMaxHP(Game& g, double factor);
// Replaces a freshly made enemy in slot by one of the rare named units.
void MakeRareUnit(Game& g, int slot);


} // namespace vern
