// Forecasts of a battle, each from a copy of the game run through the game's own rules.
#include "battle/preview.h"

#include "battle/attack.h"
#include "battle/command_input.h"
#include "battle/turn.h"
#include "state/quiet_services.h"

namespace vern {

namespace {

bool Acting(Byte state) {
    return state == 2 || state == 5 || state == 7;
}

// Whether the phase's hits are fixed: every order given, the phase ready to step or stepping.
bool Prepared(const Game& g) {
    return g.s.GameMode == 7 && g.s.ClickState == 2 && g.s.SelSlot == 10;
}

// Resolves slot i's action alone on the copy and tells what it did against `before`.
ActionForecast ResolveAlone(Game& copy, const Game& before, int i, bool prepared) {
    auto& s = copy.s;
    ActionForecast f;
    f.actor = i;
    f.target = s.SlotTarget[i];
    f.heals = s.SlotHeals[i] == 1;
    f.getsUp = s.SlotCross[i] == 1;
    f.spent = !f.getsUp && s.SlotState[f.target] == 4;
    f.targetBefore = before.s.UnitHP[f.target];
    f.actorBefore = before.s.UnitHP[i];
    if (!prepared) PrepareActions(copy);
    ResolveAction(copy, i);
    f.targetAfter = s.UnitHP[f.target];
    f.actorAfter = s.UnitHP[i];
    f.knocksDown = s.SlotCrossNext[f.target] == 1 && before.s.SlotCrossNext[f.target] == 0;
    // A fall: the game's own settling tells death from an extra life or a creature's return.
    const auto falls = [&](int j, bool& dies, bool* revives) {
        if (s.UnitHP[j] >= 1 || s.SlotState[j] == 4) return;
        SettleDeath(copy, j);
        dies = s.SlotState[j] == 4;
        if (revives) *revives = !dies;
    };
    if (!f.getsUp && !f.spent) falls(f.target, f.targetDies, &f.targetRevives);
    if (f.target != i) falls(i, f.actorDies, nullptr);
    return f;
}

} // namespace

bool InTurn(const Game& g) {
    const Int16 m = g.s.GameMode;
    return !g.f.Picture2.Visible && (m == 6 || m == 7 || m == 15 || m == 65 || m == 66);
}

ActionForecast ForecastAction(const Game& g, int i) {
    GameCopy copy(g);
    return ResolveAlone(copy.game(), g, i, Prepared(g));
}

std::optional<ActionForecast> ForecastPick(const Game& g, int slot) {
    const auto& s = g.s;
    if (slot < 0 || slot > 9 || s.ClickState != 2 || s.SelSlot > 4 || s.TeachOn == 1 ||
        (s.PickState != 1 && s.PickState != 4) || g.f.Picture2.Visible)
        return std::nullopt;
    const int actor = s.SelSlot;
    GameCopy copy(g);
    PickTarget(copy.game(), slot);
    // A pick the game takes moves the order input on; one it refuses changes nothing.
    if (copy.game().s.SelSlot == s.SelSlot) return std::nullopt;
    return ResolveAlone(copy.game(), g, actor, false);
}

std::vector<Intent> ForecastIntents(const Game& g) {
    std::vector<Intent> intents;
    if (!InTurn(g)) return intents;
    const auto& s = g.s;
    for (int e = 5; e <= 9; ++e) {
        if (!Acting(s.SlotState[e]) || s.UnitHP[e] <= 0) continue;
        Intent in;
        in.enemy = e;
        in.target = s.SlotTarget[e];
        in.heals = s.SlotHeals[e] == 1;
        in.getsUp = s.SlotCross[e] == 1;
        const int we = s.UnitWish[e], wt = s.UnitWish[in.target];
        in.holds = !in.heals && we == 3;
        in.doubled = !in.heals && we == 1;
        in.drains = !in.heals && we == 4;
        in.halved = !in.heals && wt == 7;
        in.thirded = !in.heals && wt == 15;
        in.effect = ForecastAction(g, e);
        intents.push_back(in);
    }
    return intents;
}

TurnOrder ForecastOrder(const Game& g) {
    TurnOrder order;
    if (!InTurn(g)) return order;
    GameCopy copy(g);
    Game& c = copy.game();
    int phase = 0;
    // The phase under way: the units that have not acted in it yet.
    bool underWay = false;
    for (int i = 0; i <= 9; ++i)
        if (Acting(c.s.SlotState[i])) underWay = true;
    if (underWay) {
        ++phase;
        for (int i = 0; i <= 9; ++i)
            if (Acting(c.s.SlotState[i])) {
                order.phases[i].push_back(phase);
                FinishAction(c, i);
            }
    }
    // Then the turn-order rule, phase after phase, with the hit points as they stand.
    while (phase < 64 && ChoosePhase(c) > 0) {
        ++phase;
        for (int i = 0; i <= 9; ++i)
            if (Acting(c.s.SlotState[i])) {
                order.phases[i].push_back(phase);
                FinishAction(c, i);
            }
    }
    return order;
}

std::optional<PhaseForecast> ForecastPhase(const Game& g) {
    if (!Prepared(g) || g.f.Picture2.Visible) return std::nullopt;
    GameCopy copy(g);
    Game& c = copy.game();
    // Every "＞" of the phase: its actions in slot order, then its end, one death a click.
    for (int guard = 0; guard < 64; ++guard) {
        const int i = NextActor(c);
        if (i >= 0)
            ResolveAction(c, i);
        else if (SettlePhaseEnd(c))
            break;
    }
    PhaseForecast f;
    for (int i = 0; i <= 9; ++i) {
        f.hp[i] = c.s.UnitHP[i];
        f.dead[i] = c.s.SlotState[i] == 4;
        f.knockedDown[i] = c.s.SlotCross[i] == 1;
    }
    f.nextMode = ModeAfterPhase(c);
    if (f.nextMode == 7) {
        if (ChoosePhase(c) == 0) {
            f.newTurn = true;
            TurnStart(c);
            ChoosePhase(c);
        }
        for (int i = 0; i <= 9; ++i) f.actsNext[i] = Acting(c.s.SlotState[i]);
    }
    return f;
}

} // namespace vern
