// The creation of every unit the game makes itself: the starting party and ordinary enemies.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// Fills slot (0..9) from a strength request (zero or less: copy a party member's strength).
// request is replaced by the drawn strength; an announcement line may replace text.
void AppearUnit(Game& g, int slot, double& request, std::string& text);

// Race band of a strength, before the cap by TopRaceBeaten.
int RaceBand(double strength);

} // namespace vern
