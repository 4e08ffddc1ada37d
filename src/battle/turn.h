// Turns and phases: who acts next, and the enemies' plans.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// Speed and hitting power of a unit.
Long UnitPower(const Game& g, int slot);
// Turn start (mode 6): counter and per-turn flags.
void TurnStart(Game& g);
// The turn-order rule: the units owed an action with the highest power are marked to act in
// the next phase (states 0 → 2, 1 → 5, 6 → 7; quick units first). Returns that power, 0 when
// the turn has no phase left.
Long ChoosePhase(Game& g);
// Phase step (mode 7); returns the text for the message panel.
std::string PhaseStep(Game& g);
// Fixes every acting slot's hit for the phase.
void PrepareActions(Game& g);
// The enemy planner for acting enemy e.
void PlanEnemy(Game& g, int e);

} // namespace vern
