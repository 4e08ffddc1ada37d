// Turn start and phases.
#include "battle/turn.h"

#include "battle/command_bar.h"

namespace vern {

Long UnitPower(const Game& g, int slot) {
    return g.s.UnitWish[slot] == 9 ? g.s.UnitMaxHP[slot] : g.s.UnitHP[slot];
}

void TurnStart(Game& g) {
    auto& s = g.s;
    s.TurnNo = static_cast<Int16>(s.TurnNo + 1);
    for (int i = 0; i <= 9; ++i) {
        s.SlotState[i] = s.UnitHP[i] != 0 ? 0 : 4;
        s.SlotHeals[i] = 0;
        s.SlotCrossNext[i] = 0;
    }
}

// Phases are not built yet: every turn ends at once.
std::string PhaseStep(Game& g) {
    SetChoice1(g, 6);
    return "ターン終了";
}

void PrepareActions(Game&) {}
void PlanEnemy(Game&, int) {}

} // namespace vern
