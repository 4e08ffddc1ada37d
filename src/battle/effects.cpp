// Heals during a phase, summoning and releasing creatures, and the recruits and trades that
// follow a victory; a trade also passes a unit's wish to the hero and reveals it in the menu.
#include "battle/effects.h"

#include <algorithm>
#include <string>

#include "catalogue/units.h"
#include "catalogue/wishes.h"
#include "screen/command_bar.h"
#include "screen/panels.h"
#include "screen/start.h"

namespace vern {

namespace {

constexpr Color kHealName = RGB(0, 255, 128);
constexpr Color kHealValue = RGB(128, 255, 192);

// The sought wish has been revealed: seek another unrevealed one, or none when all are.
void NextSoughtWish(Game& g) {
    auto& s = g.s;
    if (s.NextWish == 0 || s.WishKnown[s.NextWish] != 2) return;
    bool anyUnmet = false;
    for (int w = 1; w <= 10; ++w)
        if (s.WishKnown[w] == 0) anyUnmet = true;
    if (!anyUnmet) {
        s.NextWish = 0;
        return;
    }
    do {
        s.NextWish = static_cast<Byte>(Int(g.Rnd() * 10) + 1);
    } while (s.WishKnown[s.NextWish] != 0);
}

} // namespace

void 回復(Game& g, int p) {
    auto& s = g.s;
    const int t = s.SlotTarget[p];
    if (s.SlotState[t] == 4) {
        g.f.Label1.Caption = s.UnitName[p] + "は再生を願った！！" + CR + "しかし" + s.UnitName[t] +
                             "は死んでいる！！";
        return;
    }
    const Long a = s.ActPower[p];
    g.f.Label1.Caption = s.UnitName[p] + "は回復を願った！！" + CR + s.UnitName[t] + "の力が" +
                         std::to_string(a) + "回復した！！";
    g.ui.Cue(Sound::Heal);
    s.UnitHP[t] = SaturateToLong(static_cast<long long>(s.UnitHP[t]) + a);
    s.PhaseHPChange[t] = SaturateToLong(static_cast<long long>(s.PhaseHPChange[t]) + a);
    g.f.Label2[t].BackColor = kHealName;
    g.f.Label3[t].BackColor = kHealValue;
}

void MoveUnit(Game& g, int from, int to) {
    auto& s = g.s;
    s.UnitName[to] = s.UnitName[from];
    s.UnitAttr[to] = s.UnitAttr[from];
    s.UnitKind[to] = s.UnitKind[from];
    s.UnitMaxHP[to] = s.UnitMaxHP[from];
    s.UnitHP[to] = s.UnitHP[from];
    s.UnitWish[to] = s.UnitWish[from];
    s.UnitWishState[to] = s.UnitWishState[from];
    s.UnitRace[to] = s.UnitRace[from];
}

void SummonUnit(Game& g) {
    auto& s = g.s;
    const int slot = s.SelSlot;
    g.f.Label1.Caption = "召喚しました。";
    g.ui.Cue(Sound::Summon);
    s.ControlledRace[s.SummonRace] = 0;
    if (s.SummonRace > 4) s.PactWish[s.SummonWish] = 0;
    s.SlotSummoned[slot] = 1;
    MoveUnit(g, slot, slot + 10);
    s.UnitName[slot] = SummonName(s.SummonRace, s.SummonWish);
    s.UnitAttr[slot] = 2;
    s.UnitKind[slot] = 0;
    s.UnitMaxHP[slot] = SummonHP(s.SummonRace);
    s.UnitHP[slot] = SummonHP(s.SummonRace);
    s.UnitWish[slot] = s.SummonWish;
    s.UnitWishState[slot] = 0;
    s.UnitRace[slot] = s.SummonRace;
    s.SlotState[slot] = 0;
    SetSingleButton(g, "＞");
}

void ReleaseUnit(Game& g) {
    auto& s = g.s;
    const int slot = s.SelSlot;
    g.f.Label1.Caption = s.UnitName[slot] + "を解放しました。";
    g.ui.Cue(Sound::Release);
    s.SlotSummoned[slot] = 0;
    MoveUnit(g, slot + 10, slot);
    s.SlotState[slot] = 0;
}

void RecruitUnit(Game& g) {
    auto& s = g.s;
    const int r = s.RecruitSlot;
    g.f.Label1.Caption = "こんにちは" + s.UnitName[r] + "。";
    s.ControlledRace[s.UnitRace[r]] = 1;
    SetSingleButton(g, "＞");
    SetChoice1(g, 12);
}

void TradeUnit(Game& g) {
    auto& s = g.s;
    const int r = s.RecruitSlot;
    const int t = s.TradeSlot;
    if (t != 0) {
        g.f.Label1.Caption =
            "さよなら" + s.UnitName[t] + "、" + CR + "こんにちは" + s.UnitName[r] + "。";
        s.UnitName[t] = s.UnitName[r];
        s.UnitAttr[t] = s.UnitAttr[r];
        s.UnitKind[t] = s.UnitKind[r];
        if (s.UnitWish[r] == 11) {
            s.UnitMaxHP[t] = static_cast<Long>(RoundHalfEven(2.0 * s.UnitMaxHP[r] / 3));
            s.GrowthCap[t] = RandomGrowthCap(g);
        } else {
            s.UnitMaxHP[t] = s.UnitMaxHP[r];
        }
        if (s.UnitMaxHP[t] > 99999)
            s.UnitMaxHP[t] = static_cast<Long>(Int((s.UnitMaxHP[t] - 99999) / 11.0) + 99999);
    } else if (s.UnitWish[r] == s.UnitWish[0]) {
        g.f.Label1.Caption = s.UnitName[0] + "の願いは" + "変化しなかった。";
    } else if (s.UnitWish[r] != 0) {
        g.f.Label1.Caption = s.UnitName[0] + "は" + CR + s.UnitName[r] + "の願い『" +
                             WishName(s.UnitWish[r]) + "』を得た！！";
    } else {
        g.f.Label1.Caption = s.UnitName[0] + "は願いを" + "失った。";
    }
    s.UnitWish[t] = s.UnitWish[r];
    const int w = s.UnitWish[t];
    if (w < 13) g.f.願い[w].Caption = WishMenuCaption(w, true);
    if (w != 0) {
        if (w < 13) s.WishKnown[w] = 2;
        NextSoughtWish(g);
    }
    // The board shows the trade at once, so it never shows a unit that has left.
    ASTshow(g);
    SetSingleButton(g, "＞");
    SetChoice1(g, 12);
}

} // namespace vern
