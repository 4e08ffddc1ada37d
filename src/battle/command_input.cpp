// The party's orders for a phase: the target pick on the board, "戻る" back to an earlier unit,
// the heal, summon and release dialogs, the "＞" clicks that step the phase, and the
// confirmation buttons of a recruit or trade.
#include "battle/command_input.h"

#include <string>

#include "battle/attack.h"
#include "battle/effects.h"
#include "battle/turn.h"
#include "catalogue/units.h"
#include "catalogue/wishes.h"
#include "screen/command_bar.h"
#include "screen/info.h"
#include "screen/panels.h"

namespace vern {

namespace {

bool MayOrder(const Game& g, int slot) {
    const Byte st = g.s.SlotState[slot];
    return (st == 2 || st == 5 || st == 7) && g.s.SlotCross[slot] == 0;
}

std::string AttackQuestion(const Game& g, int u) {
    return g.s.UnitName[u] + "は誰を攻撃しますか？";
}

// The prompt text again with the given fourth button, back in order input.
void BackToOrders(Game& g, const std::string& fourth) {
    g.f.Label1.Caption = AttackQuestion(g, g.s.SelSlot);
    SetButtons4(g, "決定", "戻る", "", fourth);
    g.s.PickState = 1;
    g.s.ClickState = 2;
}

void RacePrompt(Game& g) {
    g.f.Label1.Caption = g.s.UnitName[g.s.SelSlot] + "は何を召喚しますか？";
    SetButtons4(g, "戻る", "", "他", RaceName(g.s.SummonRace));
    g.s.ClickState = 6;
}

void WishPrompt(Game& g) {
    const auto& s = g.s;
    g.f.Label1.Caption = RaceName(s.SummonRace) + "の願いを選択して下さい。" + CR + "≪" +
                         WishName(s.SummonWish) + "≫";
    SetButtons4(g, "戻る", "", "他", WishGlyph(s.SummonWish));
    g.s.ClickState = 8;
}

void ConfirmSummon(Game& g, const std::string& what) {
    g.f.Label1.Caption =
        g.s.UnitName[g.s.SelSlot] + "は" + what + "を召喚します。" + CR + "よろしいですか？";
    SetButtons4(g, "はい", "いいえ", "", "情報");
    g.s.ClickState = 7;
}

// Wishes a 流祖 (race 5) or 祖神 (race 6) can be summoned with.
int FirstWish(int race) {
    return race == 5 ? 1 : 13;
}
int LastWish(int race) {
    return race == 5 ? 10 : 15;
}

// The first wish of the race whose pact is held; 0 when there is none.
int FirstPact(const Game& g, int race) {
    for (int w = FirstWish(race); w <= LastWish(race); ++w)
        if (g.s.PactWish[w] == 1) return w;
    return 0;
}

// After a summon or a release: on to the next unit, or the phase is ready to step.
void LeaveDialog(Game& g) {
    auto& s = g.s;
    bool more = false;
    for (int i = 0; i <= 4; ++i) {
        const Byte st = s.SlotState[i];
        if (st == 2 || st == 5 || st == 7) more = true;
    }
    if (more) {
        s.ClickState = 9;
    } else {
        PrepareActions(g);
        s.SelSlot = 10;
        s.ClickState = 2;
    }
    ASTshow(g);
}

void OrderClick(Game& g, int i) {
    auto& s = g.s;
    if (i == 0) return; // stepping is handled by the caller
    if (i == 1) {
        const int start = s.SelSlot == 10 ? 5 : s.SelSlot;
        int back = -1;
        for (int k = start - 1; k >= 0; --k)
            if (MayOrder(g, k)) {
                back = k;
                break;
            }
        if (back < 0) return;
        const int old = s.SelSlot;
        s.SelSlot = static_cast<Byte>(back);
        if (old < 10) g.f.Shape1[old].FillColor = colors::kRed;
        g.f.Line2[back].Visible = false;
        g.f.Label6[back].Caption = "";
        s.SlotHeals[back] = 0;
        UnitPrompt(g, back);
        return;
    }
    if (i != 3 || s.SelSlot == 10) return;
    const int u = s.SelSlot;
    if (s.SlotSummoned[u] == 1) {
        g.f.Label1.Caption = s.UnitName[u] + "を解放しますか？";
        SetButtons(g, "はい", "いいえ");
        s.PickState = 0;
        s.ClickState = 10;
    } else if (s.PickState == 1) {
        if (s.UnitWish[u] == 6) {
            g.f.Label1.Caption = s.UnitName[u] + "は誰を回復しますか？";
            SetButtons4(g, "決定", "戻る", "", "攻撃");
            s.PickState = 4;
            return;
        }
        int race = 0;
        for (int r = 1; r <= 6 && race == 0; ++r)
            if (s.ControlledRace[r] == 1) race = r;
        s.PickState = 0;
        if (race != 0) {
            s.SummonRace = static_cast<Byte>(race);
            RacePrompt(g);
        } else {
            g.f.Label1.Caption = "支配下のユニットがありません。";
            SetButtons4(g, "", "", "", "戻る");
            s.ClickState = 5;
        }
    } else {
        g.f.Label1.Caption = AttackQuestion(g, u);
        SetButtons4(g, "決定", "戻る", "", "回復");
        s.PickState = 1;
    }
}

void ChooseRace(Game& g, int i) {
    auto& s = g.s;
    if (i == 0) {
        BackToOrders(g, "召喚");
    } else if (i == 2) {
        // The race shown is controlled, so the round always ends on a controlled race.
        int r = s.SummonRace;
        for (int n = 0; n < 6; ++n) {
            r = r % 6 + 1;
            if (s.ControlledRace[r] == 1) break;
        }
        s.SummonRace = static_cast<Byte>(r);
        g.f.Command1[3].Caption = RaceName(r);
    } else if (i == 3) {
        if (s.SummonRace >= 5) {
            // A founder needs a pact of its own race: without one there is nothing to call.
            const int w = FirstPact(g, s.SummonRace);
            if (w == 0) {
                g.svc.Beep();
                return;
            }
            s.SummonWish = static_cast<Byte>(w);
            WishPrompt(g);
        } else {
            s.SummonWish = 0;
            ConfirmSummon(g, RaceName(s.SummonRace));
        }
    }
}

void ChooseWish(Game& g, int i) {
    auto& s = g.s;
    if (i == 0) {
        RacePrompt(g);
    } else if (i == 2) {
        // The wish shown has its pact, so the round always ends on a held pact.
        int w = s.SummonWish;
        for (int n = 0; n < 10; ++n) {
            ++w;
            if (w == 11) w = 1;
            if (w == 16) w = 13;
            if (s.PactWish[w] == 1) break;
        }
        s.SummonWish = static_cast<Byte>(w);
        WishPrompt(g);
    } else if (i == 3) {
        ConfirmSummon(g, SummonName(s.SummonRace, s.SummonWish));
    }
}

void CancelRecruit(Game& g) {
    auto& s = g.s;
    g.f.Label1.Caption = "誰を誘いますか？";
    g.f.Label2[s.RecruitSlot].BackColor = colors::kNameBack;
    if (s.ClickState == 3) g.f.Label2[s.TradeSlot].BackColor = colors::kNameBack;
    SetSingleButton(g, "やめる");
    s.ClickState = 1;
    s.PickState = 2;
}

// An order for SelSlot: heal party slot i.
void HealOrder(Game& g, int i) {
    auto& s = g.s;
    s.SlotHeals[s.SelSlot] = 1;
    s.SlotTarget[s.SelSlot] = static_cast<Byte>(i);
    g.f.Label6[s.SelSlot].Caption = std::to_string(i + 1);
    対象入力(g);
}

} // namespace

void UnitPrompt(Game& g, int u) {
    auto& s = g.s;
    g.f.Label1.Caption = AttackQuestion(g, u);
    if (s.UnitWish[u] == 12)
        SetButtons4(g, "決定", "戻る", "", "召喚");
    else if (s.UnitWish[u] == 6)
        SetButtons4(g, "決定", "戻る", "", "回復");
    else
        SetButtons(g, "決定", "戻る");
    if (s.SlotSummoned[u] == 1) SetButtons4(g, "決定", "戻る", "", "解放");
    s.PickState = 1;
}

void 対象入力(Game& g) {
    auto& s = g.s;
    const int old = s.SelSlot;
    for (int k = old + 1; k <= 4; ++k) {
        if (!MayOrder(g, k)) continue;
        s.SelSlot = static_cast<Byte>(k);
        g.f.Shape1[old].FillColor = colors::kRed;
        UnitPrompt(g, k);
        return;
    }
    s.SelSlot = 10;
    g.f.Shape1[old].FillColor = colors::kRed;
    g.f.Label1.Caption = "よろしいですか？";
    s.ClickState = 2;
    s.PickState = 0;
    PrepareActions(g);
}

void PickTarget(Game& g, int i) {
    auto& s = g.s;
    if (s.PickState == 1) {
        if (i >= 5) {
            if (s.SelSlot > 4) return;
            // An attack order: a heal left over from earlier in the turn does not carry over.
            s.SlotHeals[s.SelSlot] = 0;
            s.SlotTarget[s.SelSlot] = static_cast<Byte>(i);
            g.f.Line2[s.SelSlot].Y2 = (i - 5) * 600 + 1680;
            g.f.Line2[s.SelSlot].Visible = true;
            対象入力(g);
        } else if (s.UnitWish[s.SelSlot] != 6) {
            g.svc.Beep();
        } else if (s.SelSlot <= 4) {
            HealOrder(g, i); // a 白僧 may heal an ally straight from the attack prompt
        }
    } else if (s.PickState == 4) {
        if (i >= 5)
            g.svc.Beep();
        else if (s.SelSlot <= 4)
            HealOrder(g, i);
    }
}

bool BattleCommand(Game& g, int i) {
    auto& s = g.s;
    switch (s.ClickState) {
    case 2:
        if (i == 0) {
            if (s.SelSlot != 10) return true;
            return StepPhase(g);
        }
        OrderClick(g, i);
        break;
    case 3:
        if (i == 1)
            TradeUnit(g);
        else if (i == 0)
            CancelRecruit(g);
        break;
    case 4:
        if (i == 1)
            RecruitUnit(g);
        else if (i == 0)
            CancelRecruit(g);
        break;
    case 5: BackToOrders(g, "召喚"); break;
    case 6: ChooseRace(g, i); break;
    case 7:
        if (i == 0) {
            SummonUnit(g);
            LeaveDialog(g);
        } else if (i == 1) {
            RacePrompt(g);
        } else if (i == 3) {
            ShowInfo(g, s.SummonRace, s.SummonWish, 0);
        }
        break;
    case 8: ChooseWish(g, i); break;
    case 9:
        SetButtons(g, "決定", "戻る");
        対象入力(g);
        s.ClickState = 2;
        ASTshow(g);
        break;
    case 10:
        if (i == 0) {
            ReleaseUnit(g);
            LeaveDialog(g);
        } else if (i == 1) {
            BackToOrders(g, "解放");
        }
        break;
    default: break;
    }
    return true;
}

} // namespace vern
