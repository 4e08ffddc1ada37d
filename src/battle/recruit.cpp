// Recruiting after a victory. Not built yet: a pick does nothing.
#include "battle/recruit.h"

namespace vern {

void RecruitPick(Game&, int) {}

} // namespace vern
