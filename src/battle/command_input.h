// Battle orders, the summon and release dialogs, recruit and trade confirmations, and the
// stepping of a phase's actions.
#pragma once

#include "state/game.h"

namespace vern {

// Command1_Click for ClickState 2..10. Returns false when the click stepped an action or
// settled a death: such a click runs no deferred request.
bool BattleCommand(Game& g, int i);
// Label2_Click for PickState 1 and 4.
void PickTarget(Game& g, int i);
// Moves the order input to the next party unit that may act.
void 対象入力(Game& g);
// The order prompt for party slot u.
void UnitPrompt(Game& g, int u);

} // namespace vern
