// The "＞" clicks of a phase: one action a click in slot order, then the end of the phase one
// event a click (knock-downs take effect, heals are cut to the maximum, deaths are settled one
// by one), and finally the next phase, defeat or victory.
#include "battle/attack.h"

#include <algorithm>
#include <string>

#include "battle/effects.h"
#include "battle/game_mode.h"
#include "screen/command_bar.h"
#include "screen/panels.h"

namespace vern {

namespace {

constexpr Color kHitName = RGB(255, 128, 128);
constexpr Color kHitValue = RGB(255, 192, 192);

std::string AttackWord(int wish) {
    switch (wish) {
    case 1:
    case 2:
    case 13: return "の斬撃、";
    case 4: return "の暗撃、";
    case 10: return "の喰撃、";
    default: return "の攻撃、";
    }
}

void Append(Game& g, const std::string& line) {
    g.f.Label1.Caption += CR;
    g.f.Label1.Caption += line;
}

// One click of the end of the phase; true when it handed over to the next screen.
bool EndOfPhase(Game& g) {
    if (!SettlePhaseEnd(g)) return false;
    ASTshow(g);
    g.s.GameMode = ModeAfterPhase(g);
    Mshow(g, g.s.GameMode);
    return true;
}

} // namespace

int NextActor(const Game& g) {
    for (int i = 0; i <= 9; ++i) {
        const Byte st = g.s.SlotState[i];
        if (st == 2 || st == 5 || st == 7) return i;
    }
    return -1;
}

void FinishAction(Game& g, int i) {
    auto& s = g.s;
    const int w = s.UnitWish[i];
    switch (s.SlotState[i]) {
    case 2: s.SlotState[i] = (w == 2 || w == 13) ? 1 : 3; break;
    case 5: s.SlotState[i] = w == 13 ? 6 : 3; break;
    default: s.SlotState[i] = 3; break;
    }
}

void ResolveAction(Game& g, int i) {
    auto& s = g.s;
    if (s.SlotCross[i] == 1) {
        g.f.Label1.Caption = s.UnitName[i] + "は構え直した。";
        s.SlotCross[i] = 0;
    } else if (s.SlotHeals[i] == 1) {
        回復(g, i);
    } else {
        攻撃(g, i);
    }
    FinishAction(g, i);
    if (i < 5) {
        g.f.Line2[i].Visible = false;
        g.f.Label6[i].Caption = "";
    }
    ASTshow(g);
    SetSingleButton(g, "＞");
}

bool SettlePhaseEnd(Game& g) {
    auto& s = g.s;
    for (int i = 0; i <= 9; ++i) {
        if (s.SlotCrossNext[i] == 1) {
            s.SlotCross[i] = 1;
            s.SlotCrossNext[i] = 0;
        }
        if (s.UnitHP[i] > s.UnitMaxHP[i] && s.PhaseHPChange[i] > 0) s.UnitHP[i] = s.UnitMaxHP[i];
    }
    for (int i = 0; i <= 9; ++i) {
        if (s.UnitHP[i] < 1 && s.SlotState[i] != 4) {
            SettleDeath(g, i);
            ASTshow(g);
            return false;
        }
    }
    return true;
}

Int16 ModeAfterPhase(const Game& g) {
    const auto& s = g.s;
    bool enemiesBeaten = true, partyBeaten = true;
    for (int i = 5; i <= 9; ++i)
        if (s.UnitHP[i] > 0) enemiesBeaten = false;
    for (int i = 0; i <= 4; ++i)
        if (s.UnitHP[i] > 0) partyBeaten = false;
    if (partyBeaten) return 8;
    if (enemiesBeaten) return 9;
    return 7;
}

void 攻撃(Game& g, int p) {
    auto& s = g.s;
    const int t = s.SlotTarget[p];
    const int wp = s.UnitWish[p];
    g.f.Label1.Caption = s.UnitName[p] + AttackWord(wp);
    if (s.SlotState[t] == 4) {
        Append(g, "しかし" + s.UnitName[t] + "は死んでいる！！");
        return;
    }
    long long d = s.ActPower[p];
    if (s.UnitWish[t] == 7)
        d = Ceiling(d / 2.0);
    else if (s.UnitWish[t] == 15)
        d = Ceiling(d / 3.0);
    Append(g, s.UnitName[t] + "に" + std::to_string(d) + "のダメージ！");
    g.ui.Cue(Sound::Hit);
    g.f.Label2[t].BackColor = kHitName;
    g.f.Label3[t].BackColor = kHitValue;
    // An eater takes no more than the target has left, and never less than nothing.
    if (wp == 10 && s.UnitHP[t] < d) d = std::max<long long>(s.UnitHP[t], 0);
    s.UnitHP[t] = SaturateToLong(s.UnitHP[t] - d);
    s.PhaseHPChange[t] = SaturateToLong(s.PhaseHPChange[t] - d);
    if (s.SlotCross[t] == 0 && wp == 3) {
        static const char* const kFalls[4] = {"をの意識をぶっ飛ばした！！", "をぶっコカした！！",
                                              "をすっ転ばした！！", "の腰を抜かした！！"};
        const long long r = Int(g.Rnd() * 4);
        Append(g, s.UnitName[t] + kFalls[r]);
        s.SlotCrossNext[t] = 1;
        g.ui.Cue(Sound::Knockdown);
    }
    if (wp == 4) {
        d = Int((d + 1) / 2.0);
        static const char* const kPains[5] = {"痛み", "傷", "苦痛", "悪夢", "呪い"};
        const long long w = Int(g.Rnd() * 5);
        Append(g, "しかし" + s.UnitName[p] + "に" + std::to_string(d) + "の" + kPains[w] +
                      "が反射した！！");
        s.UnitHP[p] = SaturateToLong(s.UnitHP[p] - d);
        s.PhaseHPChange[p] = SaturateToLong(s.PhaseHPChange[p] - d);
    } else if (wp == 10) {
        s.UnitHP[p] = SaturateToLong(s.UnitHP[p] + d);
        Append(g, s.UnitName[p] + "は" + std::to_string(d) + "の力を得た！！");
    }
}

bool StepPhase(Game& g) {
    for (int i = 0; i <= 9; ++i) {
        g.f.Label2[i].BackColor = colors::kNameBack;
        g.f.Label3[i].BackColor = colors::kWhite;
    }
    const int i = NextActor(g);
    if (i < 0) return EndOfPhase(g);
    ResolveAction(g, i);
    return false;
}

void SettleDeath(Game& g, int i) {
    auto& s = g.s;
    s.UnitHP[i] = 0;
    g.f.Label1.Caption = s.UnitName[i] + "は死んだ！！";
    g.ui.Cue(Sound::Death);
    const std::string stillAlive = "だが" + s.UnitName[i] + "は、まだ命を持っている！！";
    if ((s.UnitWishState[i] == 0 && s.UnitWish[i] == 5) ||
        (s.UnitWishState[i] == 1 && s.UnitWish[i] == 14)) {
        Append(g, stillAlive);
        s.UnitHP[i] = s.UnitMaxHP[i];
        s.UnitWishState[i] = 2;
    } else if (s.UnitWishState[i] == 0 && s.UnitWish[i] == 14) {
        Append(g, stillAlive);
        s.UnitHP[i] = s.UnitMaxHP[i];
        s.UnitWishState[i] = 1;
    } else if (s.SlotSummoned[i] == 1) {
        Append(g, s.UnitName[i] + "は破壊された！！");
        s.SlotSummoned[i] = 0;
        MoveUnit(g, i + 10, i);
        s.SlotCross[i] = 0;
        s.SlotState[i] = 0;
    } else {
        s.SlotCross[i] = 0;
        s.SlotState[i] = 4;
    }
}

} // namespace vern
