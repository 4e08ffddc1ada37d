// What heals, summons, releases, recruits and trades do to the board and the party.
#pragma once

#include "state/game.h"

namespace vern {

// Slot p's heal of its target.
void 回復(Game& g, int p);
// Copies a whole unit (all eight fields) from one unit slot to another.
void MoveUnit(Game& g, int from, int to);
// The summon of SummonRace / SummonWish into SelSlot, once confirmed.
void SummonUnit(Game& g);
// The creature in SelSlot goes back and the displaced unit returns.
void ReleaseUnit(Game& g);
// A race unit in RecruitSlot comes under the hero's control.
void RecruitUnit(Game& g);
// The unit in RecruitSlot takes the place of the party member in TradeSlot (for the hero: only
// its wish passes over).
void TradeUnit(Game& g);

} // namespace vern
