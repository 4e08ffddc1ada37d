// Turn start and phases: in each phase the units owed an action with the highest speed act
// together, the enemies plan on projected hit points, and the party's orders are asked for.
#include "battle/turn.h"

#include <algorithm>
#include <limits>

#include "battle/command_input.h"
#include "screen/command_bar.h"
#include "screen/panels.h"

namespace vern {

namespace {

bool Acting(Byte state) {
    return state == 2 || state == 5 || state == 7;
}

// Among the slots of the pass in state `from`, those of the top power above zero go to `to`.
// Returns the power chosen, 0 when none.
Long Choose(Game& g, bool quickOnly, Byte from, Byte to) {
    auto& s = g.s;
    Long best = 0;
    for (int i = 0; i <= 9; ++i) {
        if (quickOnly && s.UnitWish[i] != 8) continue;
        if (s.SlotState[i] == from && UnitPower(g, i) > best) best = UnitPower(g, i);
    }
    if (best > 0)
        for (int i = 0; i <= 9; ++i) {
            if (quickOnly && s.UnitWish[i] != 8) continue;
            if (s.SlotState[i] == from && UnitPower(g, i) == best) s.SlotState[i] = to;
        }
    return best;
}

} // namespace

Long UnitPower(const Game& g, int slot) {
    return g.s.UnitWish[slot] == 9 ? g.s.UnitMaxHP[slot] : g.s.UnitHP[slot];
}

void TurnStart(Game& g) {
    auto& s = g.s;
    // The counter stops at its limit, as the story step counter does.
    if (s.TurnNo < std::numeric_limits<Int16>::max()) s.TurnNo = static_cast<Int16>(s.TurnNo + 1);
    for (int i = 0; i <= 9; ++i) {
        s.SlotState[i] = s.UnitHP[i] != 0 ? 0 : 4;
        s.SlotHeals[i] = 0;
        s.SlotCrossNext[i] = 0;
    }
}

Long ChoosePhase(Game& g) {
    // Quick units (wish 8) first, then everyone; then second and third actions.
    Long best = Choose(g, true, 0, 2);
    if (best == 0) best = Choose(g, false, 0, 2);
    if (best == 0) best = Choose(g, false, 1, 5);
    if (best == 0) best = Choose(g, false, 6, 7);
    return best;
}

std::string PhaseStep(Game& g) {
    auto& s = g.s;
    const Long best = ChoosePhase(g);
    ASTshow(g);
    if (best == 0) {
        SetChoice1(g, 6);
        ASTshow(g);
        return "ターン終了";
    }
    s.PhasePower = best;
    for (int i = 0; i <= 9; ++i) {
        s.PhaseHP[i] = s.UnitHP[i];
        s.SlotHeld[i] = 0;
    }
    for (int e = 5; e <= 9; ++e)
        if (Acting(s.SlotState[e])) PlanEnemy(g, e);
    for (int p = 0; p <= 4; ++p) {
        if (!Acting(s.SlotState[p]) || s.SlotCross[p] != 0) continue;
        s.SelSlot = static_cast<Byte>(p);
        UnitPrompt(g, p);
        s.ClickState = 2;
        return g.f.Label1.Caption;
    }
    PrepareActions(g);
    s.ClickState = 2;
    return "";
}

void PrepareActions(Game& g) {
    auto& s = g.s;
    for (int i = 0; i <= 9; ++i) {
        s.PhaseHPChange[i] = 0;
        if (!Acting(s.SlotState[i])) continue;
        if (s.UnitWish[i] == 1)
            s.ActPower[i] = SaturateToLong(2LL * s.PhasePower);
        else if (s.UnitWish[i] == 4)
            s.ActPower[i] = s.UnitHP[s.SlotTarget[i]];
        else
            s.ActPower[i] = s.PhasePower;
    }
}

void PlanEnemy(Game& g, int e) {
    auto& s = g.s;
    const int we = s.UnitWish[e];
    const auto heldOrDown = [&](int j) { return s.SlotCross[j] + s.SlotHeld[j] != 0; };
    const auto stillToAct = [&](int j) { return s.SlotState[j] == 0 || s.SlotState[j] == 1; };

    int blocked = 0;
    for (int j = 0; j <= 4; ++j)
        if (s.PhaseHP[j] < 1 || heldOrDown(j)) ++blocked;

    double best = 0;
    int target = 0;
    for (int j = 0; j <= 4; ++j) {
        const int wj = s.UnitWish[j];
        double score;
        if ((we == 5 || we == 7 || we == 14 || we == 15) && wj == 3)
            score = static_cast<double>(Int(s.PhaseHP[j] / 2.0)) + s.UnitHP[e];
        else if ((we == 2 || we == 9 || we == 13) && wj == 4)
            score = s.UnitHP[e];
        else
            score = s.PhaseHP[j];
        if (s.PhaseHP[j] == 0) score = 0;
        score *= stillToAct(j) ? 4 : 2;
        if (heldOrDown(j)) {
            if (blocked < 5 && we == 3)
                score = 0;
            else
                score /= 2;
        }
        // Equal scores go to the higher slot; with nothing worth a blow, slot 0 stays.
        if (score >= best && score > 0) {
            target = j;
            best = score;
        }
    }
    if (we == 6) {
        for (int j = 5; j <= 9; ++j) {
            double score =
                (static_cast<double>(s.UnitMaxHP[j]) - s.PhaseHP[j]) * (stillToAct(j) ? 6 : 3);
            if (heldOrDown(j)) score /= 2;
            if (score > best && s.SlotState[j] != 4) {
                target = j;
                best = score;
                s.SlotHeals[e] = 1;
            }
        }
    }
    s.SlotTarget[e] = static_cast<Byte>(target);
    if (we == 3) s.SlotHeld[target] = 1;
    if (s.SlotHeals[e] == 1) {
        s.PhaseHP[target] = SaturateToLong(static_cast<long long>(s.PhaseHP[target]) + s.UnitHP[e]);
        return;
    }
    long long hit = s.PhasePower;
    if (we == 1)
        hit = 2LL * s.PhasePower;
    else if (we == 4)
        hit = s.UnitHP[target];
    if (s.UnitWish[target] == 7)
        hit = Ceiling(hit / 2.0);
    else if (s.UnitWish[target] == 15)
        hit = Ceiling(hit / 3.0);
    s.PhaseHP[target] = SaturateToLong(s.PhaseHP[target] - hit);
}

} // namespace vern
