// The information page. Not built yet: a pick shows the unit's wish page.
#include "catalogue/info.h"

#include "catalogue/wishes.h"

namespace vern {

void ShowInfo(Game& g, int, int wish, int) {
    願い_Click(g, wish);
}

void InfoPick(Game& g, int i) {
    g.s.InfoSlot = static_cast<Byte>(i);
    ShowInfo(g, g.s.UnitRace[i], g.s.UnitWish[i], g.s.UnitKind[i]);
    if (i > 4) g.s.Misc[2] = 0;
}

} // namespace vern
