// AppearUnit: names, strength, race, wish and the special cases of scene 37.
#include "battle/appear.h"

#include "battle/rare_units.h"
#include "catalogue/units.h"
#include "catalogue/wishes.h"

namespace vern {

int RaceBand(double strength) {
    if (strength > 44000) return 6;
    if (strength > 38000) return 5;
    if (strength > 32000) return 4;
    if (strength > 26000) return 3;
    if (strength > 20000) return 2;
    if (strength > 9999) return 1;
    return 0;
}

void AppearUnit(Game& g, int slot, double& request, std::string& text) {
    auto& s = g.s;
    // 1. Name and attribute.
    if (slot > 0) {
        long long n = 0;
        do {
            n = Int(g.Rnd() * 300);
            s.UnitName[slot] = UnitNameById(g, n);
        } while (s.UnitName[slot].empty());
        if (n <= 99)
            s.UnitAttr[slot] = 0;
        else if (n <= 199)
            s.UnitAttr[slot] = 1;
        else
            s.UnitAttr[slot] = static_cast<Byte>(Int(g.Rnd() * 2));
        s.UnitKind[slot] = 0;
    } else {
        s.UnitAttr[0] = 2;
        s.UnitKind[0] = 1;
    }
    // 2. Strength.
    if (request > 0)
        request = static_cast<double>(Int(g.Rnd() * request + 1));
    else
        request = s.UnitMaxHP[Int(g.Rnd() * 5)];

    bool rare = false;
    // 3. A rare named unit takes over one enemy slot in twenty-five.
    if (slot > 4 && Int(g.Rnd() * 25) == 0) {
        MakeRareUnit(g, slot);
        s.UnitRace[slot] = 0;
        rare = true;
    }
    if (!rare) {
        // 4. Race, capped one above the highest race beaten, then drawn again below it.
        int race = RaceBand(request);
        if (s.TopRaceBeaten + 1 < race) race = s.TopRaceBeaten + 1;
        if (race != 0) race = static_cast<int>(Int(g.Rnd() * race + 1));
        s.UnitRace[slot] = static_cast<Byte>(race);
        // 5. Maximum HP and first wish.
        if (race != 0) {
            s.UnitMaxHP[slot] = SummonHP(race);
        } else {
            s.UnitMaxHP[slot] = SaturateToLong(request);
            s.UnitWish[slot] = slot > 4 ? static_cast<Byte>(Int(g.Rnd() * 12) + 1) : 0;
        }
    }
    // 6. Ordinary units keep only wishes met before, or the wish being sought.
    const int w = s.UnitWish[slot];
    if (s.UnitRace[slot] == 0 && w >= 1 && w <= 12) {
        if (s.WishKnown[w] != 0) {
            if (s.WishKnown[w] == 1) text = WishName(w) + "出現！！" + CR;
        } else if (w == s.NextWish) {
            if (Int(g.Rnd() * 2) > 0) {
                s.UnitWish[slot] = 0;
            } else {
                s.WishKnown[w] = 1;
                text = WishName(w) + "出現！！" + CR;
            }
        } else {
            s.UnitWish[slot] = 0;
        }
    }
    // 7. Race units.
    const int race = s.UnitRace[slot];
    if (race != 0) {
        s.UnitAttr[slot] = 2;
        if (race <= 4) {
            s.UnitWish[slot] = 0;
            s.UnitName[slot] = RaceName(race);
        } else if (race == 5) {
            s.UnitWish[slot] = static_cast<Byte>(Int(g.Rnd() * 10) + 1);
            s.UnitName[slot] = SummonName(5, s.UnitWish[slot]);
        } else {
            s.UnitWish[slot] = static_cast<Byte>(Int(g.Rnd() * 3) + 13);
            s.UnitName[slot] = SummonName(6, s.UnitWish[slot]);
        }
    }
    // 8. The フォーナイン bonus of enemies.
    if (s.UnitWish[slot] == 11 && slot > 4)
        s.UnitMaxHP[slot] = static_cast<Long>(RoundHalfEven(s.UnitMaxHP[slot] * 3.0 / 2.0));
    // 9. Scene 37.
    if (s.SceneNo == 37) {
        switch (Int(g.Rnd() * 4)) {
        case 0: s.UnitMaxHP[slot] = 0; break;
        case 2: s.UnitMaxHP[slot] = SaturateToLong(s.UnitMaxHP[slot] * 2.0); break;
        case 3: s.UnitMaxHP[slot] = SaturateToLong(s.UnitMaxHP[slot] * 5.0); break;
        default: break;
        }
    }
    // 10. Cap.
    if (s.UnitMaxHP[slot] > 9999999) s.UnitMaxHP[slot] = 9999999;
    // 11.
    s.UnitHP[slot] = s.UnitMaxHP[slot];
}

} // namespace vern
