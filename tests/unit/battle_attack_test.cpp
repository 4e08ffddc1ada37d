// Resolving a phase: the attack and its arithmetic, the stepping from slot to slot, and the end
// of the phase with knock-downs, the heal cap, deaths one click at a time and the outcome.
#include <gtest/gtest.h>

#include "battle/attack.h"
#include "battle/effects.h"
#include "battle/game_mode.h"
#include "battle_fixture.h"
#include "screen/command_bar.h"

namespace vern::test {

namespace {

// Slot 1 attacks slot 6 with ActPower hit.
struct AttackCase {
    const char* what;
    int attackerWish;
    Long hit;
    int targetWish;
    Long targetHP;
    std::string message;
    Long targetAfter;
    Long attackerAfter; // from 200
    Long attackerChange;
};

void PrintTo(const AttackCase& c, std::ostream* os) {
    *os << c.what;
}

const AttackCase kAttacks[] = {
    {"plain", 0, 30, 0, 100, "u1の攻撃、\ru6に30のダメージ！", 70, 200, 0},
    {"聖剣師 slashes", 1, 30, 0, 100, "u1の斬撃、\ru6に30のダメージ！", 70, 200, 0},
    {"魔剣師 slashes", 2, 30, 0, 100, "u1の斬撃、\ru6に30のダメージ！", 70, 200, 0},
    {"邪剣師 slashes", 13, 30, 0, 100, "u1の斬撃、\ru6に30のダメージ！", 70, 200, 0},
    {"黒僧 takes the ceiling of half", 0, 31, 7, 100, "u1の攻撃、\ru6に16のダメージ！", 84, 200, 0},
    {"楽園 takes the ceiling of a third", 0, 10, 15, 100, "u1の攻撃、\ru6に4のダメージ！", 96, 200,
     0},
    {"楽園: a hit of 1 stays 1", 0, 1, 15, 100, "u1の攻撃、\ru6に1のダメージ！", 99, 200, 0},
    {"hit points may fall below zero", 0, 130, 0, 100, "u1の攻撃、\ru6に130のダメージ！", -30, 200,
     0},
    {"アンチライフ on a 黒僧: half of the half comes back", 4, 101, 7, 101,
     "u1の暗撃、\ru6に51のダメージ！\rしかしu1に26の痛みが反射した！！", 50, 174, -26},
    {"アンチライフ on a 楽園 with 1: reflection 1", 4, 1, 15, 1,
     "u1の暗撃、\ru6に1のダメージ！\rしかしu1に1の痛みが反射した！！", 0, 199, -1},
    {"アンチライフ: an even hit reflects exactly half", 4, 80, 0, 80,
     "u1の暗撃、\ru6に80のダメージ！\rしかしu1に40の痛みが反射した！！", 0, 160, -40},
    {"喰師 reports the whole hit and eats what was left", 10, 100, 0, 30,
     "u1の喰撃、\ru6に100のダメージ！\ru1は30の力を得た！！", 0, 230, 0},
    {"喰師 eats the whole hit when there is enough", 10, 20, 0, 30,
     "u1の喰撃、\ru6に20のダメージ！\ru1は20の力を得た！！", 10, 220, 0},
    {"喰師 gets nothing from a target already below zero", 10, 20, 0, -5,
     "u1の喰撃、\ru6に20のダメージ！\ru1は0の力を得た！！", -5, 200, 0},
};

struct Attack : BattleBoard, ::testing::WithParamInterface<AttackCase> {};

TEST_P(Attack, DealsAndReports) {
    const AttackCase& c = GetParam();
    Unit(1, 200, c.attackerWish);
    Unit(6, 200, c.targetWish);
    s.UnitHP[6] = c.targetHP;
    s.SlotTarget[1] = 6;
    s.ActPower[1] = c.hit;
    g.rng.Script({0.0}); // the first reflection word
    攻撃(g, 1);
    EXPECT_EQ(Message(), c.message);
    EXPECT_EQ(s.UnitHP[6], c.targetAfter);
    EXPECT_EQ(s.PhaseHPChange[6], c.targetAfter - c.targetHP);
    EXPECT_EQ(s.UnitHP[1], c.attackerAfter);
    EXPECT_EQ(s.PhaseHPChange[1], c.attackerChange);
    EXPECT_EQ(g.f.Label2[6].BackColor, RGB(255, 128, 128));
    EXPECT_EQ(g.f.Label3[6].BackColor, RGB(255, 192, 192));
}

INSTANTIATE_TEST_SUITE_P(Battle, Attack, ::testing::ValuesIn(kAttacks),
                         [](const auto& param) { return "case" + std::to_string(param.index); });

TEST_F(BattleBoard, AnAttackOnTheDeadIsSpent) {
    Unit(1, 50);
    Unit(6, 0);
    s.SlotTarget[1] = 6;
    s.ActPower[1] = 50;
    攻撃(g, 1);
    EXPECT_EQ(Message(), "u1の攻撃、\rしかしu6は死んでいる！！");
    EXPECT_EQ(s.UnitHP[6], 0);
    EXPECT_EQ(g.f.Label2[6].BackColor, colors::kNameBack);
}

TEST_F(BattleBoard, ReflectionWordsAndKnockDownLinesFollowTheDraw) {
    const char* pains[5] = {"痛み", "傷", "苦痛", "悪夢", "呪い"};
    for (int w = 0; w < 5; ++w) {
        Unit(1, 100, 4);
        Unit(6, 100);
        s.SlotTarget[1] = 6;
        s.ActPower[1] = 10;
        g.rng.Script({w / 5.0 + 0.01});
        攻撃(g, 1);
        EXPECT_EQ(Message(), std::string("u1の暗撃、\ru6に10のダメージ！\rしかしu1に5の") +
                                 pains[w] + "が反射した！！");
    }
    const char* falls[4] = {"をの意識をぶっ飛ばした！！", "をぶっコカした！！",
                            "をすっ転ばした！！", "の腰を抜かした！！"};
    for (int r = 0; r < 4; ++r) {
        Unit(2, 100, 3);
        Unit(7, 100);
        s.SlotTarget[2] = 7;
        s.ActPower[2] = 10;
        g.rng.Script({r / 4.0 + 0.01});
        攻撃(g, 2);
        EXPECT_EQ(Message(), std::string("u2の攻撃、\ru7に10のダメージ！\ru7") + falls[r]);
        EXPECT_EQ(s.SlotCrossNext[7], 1);
        EXPECT_EQ(s.SlotCross[7], 0) << "the knock-down waits for the end of the phase";
    }
    EXPECT_TRUE(g.rng.ScriptDone());
}

TEST_F(BattleBoard, AKnockedDownTargetIsNotKnockedDownAgain) {
    Unit(2, 100, 3);
    Unit(7, 100);
    s.SlotCross[7] = 1;
    s.SlotTarget[2] = 7;
    s.ActPower[2] = 10;
    攻撃(g, 2);
    EXPECT_EQ(Message(), "u2の攻撃、\ru7に10のダメージ！");
    EXPECT_EQ(s.SlotCrossNext[7], 0);
}

// The next stepping click of a unit in state `from` with wish `wish`.
struct StepCase {
    int from;
    int wish;
    int to;
};

class Stepping : public BattleBoard, public ::testing::WithParamInterface<StepCase> {};

TEST_P(Stepping, MovesTheActorOn) {
    const StepCase& c = GetParam();
    for (int i = 0; i <= 9; ++i) Unit(i, 100);
    Unit(3, 100, c.wish);
    for (int i = 0; i <= 9; ++i) s.SlotState[i] = 3;
    s.SlotState[3] = static_cast<Byte>(c.from);
    s.SlotTarget[3] = 8;
    s.ActPower[3] = 5;
    g.f.Line2[3].Visible = true;
    g.f.Label6[3].Caption = "9";
    g.rng.Script({0.0, 0.0});
    EXPECT_FALSE(StepPhase(g));
    EXPECT_EQ(s.SlotState[3], c.to);
    EXPECT_FALSE(g.f.Line2[3].Visible);
    EXPECT_EQ(g.f.Label6[3].Caption, "");
    EXPECT_EQ(Captions(), (std::array<std::string, 4>{"＞", "", "", ""}));
}

INSTANTIATE_TEST_SUITE_P(Battle, Stepping,
                         ::testing::Values(StepCase{2, 0, 3}, StepCase{2, 2, 1}, StepCase{2, 13, 1},
                                           StepCase{5, 2, 3}, StepCase{5, 13, 6},
                                           StepCase{7, 13, 3}, StepCase{2, 4, 3}));

TEST_F(BattleBoard, ActionsGoInSlotOrderAndTheFallenStillStrike) {
    Unit(0, 40);
    Unit(5, 40);
    s.SlotState[0] = s.SlotState[5] = 2;
    s.SlotTarget[0] = 5;
    s.SlotTarget[5] = 0;
    s.ActPower[0] = s.ActPower[5] = 40;
    g.f.Label2[4].BackColor = RGB(1, 2, 3);
    EXPECT_FALSE(StepPhase(g));
    EXPECT_EQ(g.f.Label2[4].BackColor, colors::kNameBack) << "each click clears the colours";
    EXPECT_EQ(Message(), "u0の攻撃、\ru5に40のダメージ！");
    EXPECT_FALSE(StepPhase(g));
    EXPECT_EQ(Message(), "u5の攻撃、\ru0に40のダメージ！");
    EXPECT_EQ(g.f.Label2[5].BackColor, colors::kNameBack);
    // Both fall: one death a click, lower slot first, then defeat wins over victory.
    for (int i = 1; i <= 4; ++i) Unit(i, 0);
    for (int i = 6; i <= 9; ++i) Unit(i, 0);
    EXPECT_FALSE(StepPhase(g));
    EXPECT_EQ(Message(), "u0は死んだ！！");
    EXPECT_EQ(s.SlotState[0], 4);
    EXPECT_EQ(s.UnitHP[0], 0);
    EXPECT_FALSE(StepPhase(g));
    EXPECT_EQ(Message(), "u5は死んだ！！");
    EXPECT_TRUE(StepPhase(g));
    EXPECT_EQ(Message(), "全滅した･･････") << "defeat (the game starts over)";
    EXPECT_EQ(s.AskLoad, kTrue);
}

// A pending save waits through the clicks that resolve an action or settle a death; only the
// click that hands the phase over to the next screen runs it.
TEST_F(BattleBoard, OnlyTheHandOverClickRunsAPendingRequest) {
    Unit(0, 40);
    Unit(5, 30);
    s.SlotState[0] = 2;
    s.SlotTarget[0] = 5;
    s.ActPower[0] = 40;
    s.ClickState = 2;
    SetSingleButton(g, "＞");
    s.AskSave = kTrue;
    t.svc.answers.push_back(MsgAnswer::No);
    Command1_Click(g, 0);
    EXPECT_EQ(Message(), "u0の攻撃、\ru5に40のダメージ！");
    EXPECT_EQ(s.AskSave, kTrue);
    Command1_Click(g, 0);
    EXPECT_EQ(Message(), "u5は死んだ！！");
    EXPECT_EQ(s.AskSave, kTrue);
    EXPECT_TRUE(t.svc.boxes.empty());
    Command1_Click(g, 0);
    EXPECT_EQ(s.GameMode, 9);
    EXPECT_EQ(s.AskSave, 0);
    ASSERT_EQ(t.svc.boxes.size(), 1u);
    EXPECT_EQ(t.svc.boxes[0].text, "セーブしますか？");
}

TEST_F(BattleBoard, AKnockedDownUnitStandsUpInsteadOfActing) {
    Unit(2, 40, 2);
    s.SlotState[2] = 2;
    s.SlotCross[2] = 1;
    s.SlotTarget[2] = 6;
    Unit(6, 40);
    EXPECT_FALSE(StepPhase(g));
    EXPECT_EQ(Message(), "u2は構え直した。");
    EXPECT_EQ(s.SlotCross[2], 0);
    EXPECT_EQ(s.UnitHP[6], 40);
    EXPECT_EQ(s.SlotState[2], 1);
}

TEST_F(BattleBoard, TheEndOfThePhaseSettlesKnockDownsAndCutsHeals) {
    for (int i = 0; i <= 9; ++i) Unit(i, 100);
    for (int i = 0; i <= 9; ++i) s.SlotState[i] = 3;
    s.SlotCrossNext[7] = 1;
    s.UnitHP[1] = 130; // healed this phase
    s.PhaseHPChange[1] = 40;
    s.UnitHP[2] = 130; // an eater's gain is not counted
    s.PhaseHPChange[2] = 0;
    s.UnitHP[3] = 130; // healed and hit: net loss
    s.PhaseHPChange[3] = -5;
    EXPECT_TRUE(StepPhase(g));
    EXPECT_EQ(s.SlotCross[7], 1);
    EXPECT_EQ(s.SlotCrossNext[7], 0);
    EXPECT_EQ(s.UnitHP[1], 100);
    EXPECT_EQ(s.UnitHP[2], 130);
    EXPECT_EQ(s.UnitHP[3], 130);
    EXPECT_EQ(s.GameMode, 7);
    EXPECT_TRUE(g.f.Label5[7].Visible);
}

TEST_F(BattleBoard, TheOutcomeOfThePhase) {
    struct {
        Long party, enemy;
        const char* message;
    } cases[] = {
        {10, 10, "u4は誰を攻撃しますか？"}, {10, 0, "勝った！！！"}, {0, 10, "全滅した･･････"}};
    for (const auto& c : cases) {
        SetUp();
        for (int i = 0; i <= 4; ++i) Unit(i, i == 4 ? c.party : 0);
        for (int i = 5; i <= 9; ++i) Unit(i, i == 9 ? c.enemy : 0);
        EXPECT_TRUE(StepPhase(g));
        EXPECT_EQ(Message(), c.message);
    }
}

// Lives used before the death, wish → lives after and whether the unit stands again.
struct DeathCase {
    const char* what;
    int wish;
    int livesUsed;
    bool revives;
    int livesAfter;
};

void PrintTo(const DeathCase& c, std::ostream* os) {
    *os << c.what;
}

const DeathCase kDeaths[] = {
    {"no wish", 0, 0, false, 0},
    {"ダブルライフ: first death", 5, 0, true, 2},
    {"ダブルライフ: second death is final", 5, 2, false, 2},
    {"トリプルライフ: first death", 14, 0, true, 1},
    {"トリプルライフ: second death", 14, 1, true, 2},
    {"トリプルライフ: third death is final", 14, 2, false, 2},
};

struct Death : BattleBoard, ::testing::WithParamInterface<DeathCase> {};

TEST_P(Death, SpendsAnExtraLifeOrDies) {
    const DeathCase& c = GetParam();
    Unit(6, 80, c.wish);
    s.UnitWishState[6] = static_cast<Byte>(c.livesUsed);
    s.UnitHP[6] = -12;
    s.SlotState[6] = 1;
    s.SlotCross[6] = 1;
    SettleDeath(g, 6);
    if (c.revives) {
        EXPECT_EQ(Message(), "u6は死んだ！！\rだがu6は、まだ命を持っている！！");
        EXPECT_EQ(s.UnitHP[6], 80);
        EXPECT_EQ(s.SlotState[6], 1) << "a revived unit keeps its state";
        EXPECT_EQ(s.SlotCross[6], 1);
    } else {
        EXPECT_EQ(Message(), "u6は死んだ！！");
        EXPECT_EQ(s.UnitHP[6], 0);
        EXPECT_EQ(s.SlotState[6], 4);
        EXPECT_EQ(s.SlotCross[6], 0);
    }
    EXPECT_EQ(s.UnitWishState[6], c.livesAfter);
}

INSTANTIATE_TEST_SUITE_P(Battle, Death, ::testing::ValuesIn(kDeaths),
                         [](const auto& param) { return "case" + std::to_string(param.index); });

TEST_F(BattleBoard, ADestroyedCreatureGivesItsSlotBack) {
    Unit(2, 35, 12);
    s.UnitHP[2] = 17;
    MoveUnit(g, 2, 12);
    s.UnitName[2] = "竜";
    s.UnitMaxHP[2] = 20000;
    s.UnitHP[2] = -3;
    s.UnitRace[2] = 2;
    s.UnitWish[2] = 0;
    s.SlotSummoned[2] = 1;
    s.SlotState[2] = 3;
    s.SlotCross[2] = 1;
    SettleDeath(g, 2);
    EXPECT_EQ(Message(), "竜は死んだ！！\r竜は破壊された！！");
    EXPECT_EQ(s.SlotSummoned[2], 0);
    EXPECT_EQ(s.UnitName[2], "u2");
    EXPECT_EQ(s.UnitHP[2], 17) << "back with the hit points it had";
    EXPECT_EQ(s.UnitMaxHP[2], 35);
    EXPECT_EQ(s.UnitWish[2], 12);
    EXPECT_EQ(s.UnitRace[2], 0);
    EXPECT_EQ(s.SlotState[2], 0);
    EXPECT_EQ(s.SlotCross[2], 0);
}

TEST_F(BattleBoard, ALastLifeComesBeforeTheCreaturesDestruction) {
    // A summoned トリプルライフ founder first spends its lives.
    Unit(1, 30);
    MoveUnit(g, 1, 11);
    Unit(1, 75000, 14);
    s.SlotSummoned[1] = 1;
    s.UnitHP[1] = 0;
    SettleDeath(g, 1);
    EXPECT_EQ(s.SlotSummoned[1], 1);
    EXPECT_EQ(s.UnitHP[1], 75000);
}

} // namespace
} // namespace vern::test
