// Battle orders and action stepping. Not built yet: the battle ends at once.
#include "battle/command_input.h"

namespace vern {

bool BattleCommand(Game&, int) {
    return true;
}
void PickTarget(Game&, int) {}
void 対象入力(Game&) {}
void UnitPrompt(Game&, int) {}

} // namespace vern
