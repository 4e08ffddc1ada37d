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

} // namespace vern
