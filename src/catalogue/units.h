// Unit names, races, summoned creatures and the unit definitions of the story's beings.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// The default name of story character n (1..10); records NameKind as a by-product.
std::string DefaultName(Game& g, int n);
// True when text is the default name of a character other than no.
bool NameTaken(Game& g, int no, const std::string& text);

// Name number n (0..299) of the three name pools; "" when there is none or when a unit on the
// board (slots 0..9) already bears it.
std::string UnitNameById(Game& g, long long n);

std::string RaceName(int race);
std::string SummonName(int race, int wish);
Long SummonHP(int race);
Long PartyMaxHPSum(const Game& g);

struct UnitDef {
    std::string text;
    std::string folder;
    std::string name;
};
UnitDef UnitDefinition(Game& g, int kind);

// The growth stage (0..9) of kind 91 for maximum HP m, or -1 above 99999.
int BesuraStage(Long m);

} // namespace vern
