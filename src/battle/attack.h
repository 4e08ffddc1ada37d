// Stepping through a phase's actions: the attack, the end of the phase with its knock-downs
// and deaths, and the hand-over to the next screen.
#pragma once

#include "state/game.h"

namespace vern {

// Slot p's attack on its target.
void 攻撃(Game& g, int p);
// One "＞" click of a prepared phase: the next action, or one end-of-phase event. Returns true
// when the phase has been handed over to the next screen (mode 7, 8 or 9), false when the click
// resolved an action or settled a death.
bool StepPhase(Game& g);
// The death of slot i: extra lives, a destroyed creature, or death.
void SettleDeath(Game& g, int i);

// The pieces of StepPhase, for a copy of the game that looks ahead (battle/preview.h):
// The lowest slot that may still act in this phase; -1 when all have acted.
int NextActor(const Game& g);
// Slot i's action of the phase (the attack, the heal, or getting up from a knock-down), then
// its state moves on (FinishAction) and the board shows it.
void ResolveAction(Game& g, int i);
// Slot i has acted: 2 → 1 (a second action to come) or 3, 5 → 6 or 3, 7 → 3.
void FinishAction(Game& g, int i);
// One end-of-phase click once every action is done: knock-downs take effect, heals are cut to
// the maximum, and one death is settled. True when nothing is left to settle.
bool SettlePhaseEnd(Game& g);
// The screen a settled phase hands over to: 8 (the party is beaten), 9 (the enemies are) or 7.
Int16 ModeAfterPhase(const Game& g);

} // namespace vern
