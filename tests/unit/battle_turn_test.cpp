// Turns and phases: who acts in a phase, the enemies' plans and the hits fixed for the phase.
#include <gtest/gtest.h>

#include "battle/turn.h"
#include "battle_fixture.h"
#include "screen/command_bar.h"

namespace vern::test {
namespace {

using Row = std::array<int, 10>;

struct PhaseCase {
    const char* what;
    Row hp; // current hit points (maximum 100 unless maxHP says otherwise)
    Row wish;
    Row state;  // SlotState before the phase step
    Row after;  // SlotState after it
    Long power; // PhasePower, 0 when the turn ends
    Row maxHP = {100, 100, 100, 100, 100, 100, 100, 100, 100, 100};
};

const PhaseCase kPhases[] = {
    {"the top speed acts, ties on both sides together",
     {50, 30, 50, 10, 10, 50, 40, 20, 20, 20},
     {},
     {},
     {2, 0, 2, 0, 0, 2, 0, 0, 0, 0},
     50},
    {"a quick unit acts first whatever its speed",
     {50, 30, 10, 10, 10, 50, 40, 20, 20, 5},
     {0, 0, 8, 0, 0, 0, 0, 0, 0, 8},
     {},
     {0, 0, 2, 0, 0, 0, 0, 0, 0, 0},
     10},
    {"once the quick have acted the others go by speed",
     {50, 30, 10, 10, 10, 50, 40, 20, 20, 5},
     {0, 0, 8, 0, 0, 0, 0, 0, 0, 8},
     {0, 0, 3, 0, 0, 0, 0, 0, 0, 3},
     {2, 0, 3, 0, 0, 2, 0, 0, 0, 3},
     50},
    {"a MAX unit's speed is its maximum",
     {50, 30, 5, 10, 10, 50, 40, 20, 20, 20},
     {0, 0, 9, 0, 0, 0, 0, 0, 0, 0},
     {},
     {0, 0, 2, 0, 0, 0, 0, 0, 0, 0},
     300,
     {100, 100, 300, 100, 100, 100, 100, 100, 100, 100}},
    {"waiting units come before second actions",
     {90, 30, 10, 10, 10, 50, 40, 20, 20, 20},
     {},
     {1, 0, 3, 3, 3, 3, 3, 3, 3, 3},
     {1, 2, 3, 3, 3, 3, 3, 3, 3, 3},
     30},
    {"second actions by speed: code 1 becomes 5",
     {90, 30, 10, 10, 10, 90, 40, 20, 20, 20},
     {},
     {1, 1, 3, 3, 3, 1, 6, 3, 3, 3},
     {5, 1, 3, 3, 3, 5, 6, 3, 3, 3},
     90},
    {"third actions last: code 6 becomes 7",
     {90, 30, 10, 10, 10, 90, 40, 20, 20, 40},
     {},
     {3, 3, 3, 3, 3, 3, 6, 3, 4, 6},
     {3, 3, 3, 3, 3, 3, 7, 3, 4, 7},
     40},
    {"a unit at 0 or below is never chosen: the turn ends",
     {0, -5, 10, 10, 10, 0, 40, 20, 20, 20},
     {},
     {0, 0, 3, 3, 3, 0, 3, 3, 3, 3},
     {0, 0, 3, 3, 3, 0, 3, 3, 3, 3},
     0},
};

void PrintTo(const PhaseCase& c, std::ostream* os) {
    *os << c.what;
}

struct PhaseChoice : BattleBoard, ::testing::WithParamInterface<PhaseCase> {};

TEST_P(PhaseChoice, ChoosesTheUnitsOfThePhase) {
    const PhaseCase& c = GetParam();
    for (int i = 0; i <= 9; ++i) {
        Unit(i, c.maxHP[i], c.wish[i]);
        s.UnitHP[i] = c.hp[i];
        s.SlotState[i] = static_cast<Byte>(c.state[i]);
    }
    s.PhasePower = 777;
    const std::string text = PhaseStep(g);
    for (int i = 0; i <= 9; ++i) EXPECT_EQ(s.SlotState[i], c.after[i]) << "slot " << i;
    if (c.power == 0) {
        EXPECT_EQ(text, "ターン終了");
        EXPECT_EQ(s.ClickState, 1);
        EXPECT_EQ(s.ButtonMode[0], 6);
        EXPECT_EQ(s.PhasePower, 777);
    } else {
        EXPECT_EQ(s.PhasePower, c.power);
        EXPECT_EQ(s.ClickState, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Turn, PhaseChoice, ::testing::ValuesIn(kPhases),
                         [](const auto& param) { return "case" + std::to_string(param.index); });

TEST_F(BattleBoard, TheFirstPartyUnitThatMayActIsAskedForItsOrder) {
    for (int i = 0; i <= 9; ++i) Unit(i, 50);
    s.SlotCross[0] = 1; // knocked down: gives no order
    s.UnitWish[1] = 12;
    SetSingleButton(g, "＞");
    EXPECT_EQ(PhaseStep(g), "u1は誰を攻撃しますか？");
    EXPECT_EQ(s.SelSlot, 1);
    EXPECT_EQ(s.ClickState, 2);
    EXPECT_EQ(s.PickState, 1);
    EXPECT_EQ(Captions(), (std::array<std::string, 4>{"決定", "戻る", "", "召喚"}));
}

TEST_F(BattleBoard, APhaseWithoutPartyOrdersIsPreparedAtOnce) {
    for (int i = 0; i <= 9; ++i) Unit(i, 20);
    Unit(0, 50);
    s.SlotCross[0] = 1;
    Unit(7, 50, 1); // 聖剣師: twice the phase's power
    s.PhaseHPChange[3] = 9;
    EXPECT_EQ(PhaseStep(g), "");
    EXPECT_EQ(s.SelSlot, 10);
    EXPECT_EQ(s.ClickState, 2);
    EXPECT_EQ(s.ActPower[0], 50);
    EXPECT_EQ(s.ActPower[7], 100);
    EXPECT_EQ(s.PhaseHPChange[3], 0);
}

TEST_F(BattleBoard, PreparedHitsFollowTheWishes) {
    for (int i = 0; i <= 9; ++i) Unit(i, 40);
    s.PhasePower = 40;
    s.SlotState[0] = 2; // plain
    Unit(1, 40, 1);     // 聖剣師
    s.SlotState[1] = 5;
    Unit(2, 40, 4); // アンチライフ: the target's current hit points
    s.SlotState[2] = 7;
    s.SlotTarget[2] = 6;
    s.UnitHP[6] = 333;
    Unit(3, 40, 1);
    s.SlotState[3] = 3; // not acting: left alone
    s.ActPower[3] = -1;
    PrepareActions(g);
    EXPECT_EQ(s.ActPower[0], 40);
    EXPECT_EQ(s.ActPower[1], 80);
    EXPECT_EQ(s.ActPower[2], 333);
    EXPECT_EQ(s.ActPower[3], -1);
}

TEST_F(BattleBoard, LaterEnemiesPlanOnTheProjectedHitPoints) {
    const Long hp[10] = {60, 50, 10, 10, 10, 45, 45, 45, 10, 10};
    for (int i = 0; i <= 9; ++i) Unit(i, hp[i]);
    for (int i = 0; i <= 4; ++i) s.SlotState[i] = 3; // the party has acted
    EXPECT_EQ(PhaseStep(g), "");
    EXPECT_EQ(s.PhasePower, 45);
    EXPECT_EQ(s.SlotTarget[5], 0); // 60 → 15
    EXPECT_EQ(s.SlotTarget[6], 1); // 50 → 5
    EXPECT_EQ(s.SlotTarget[7], 0); // 15 beats 10, 10, 10 and 5
    EXPECT_EQ(s.PhaseHP[0], 60 - 45 - 45);
    EXPECT_EQ(s.PhaseHP[1], 5);
    EXPECT_EQ(s.UnitHP[0], 60) << "planning changes no real hit points";
}

// One enemy (slot 5) plans against a party at PhaseHP = UnitHP.
struct PlanCase {
    const char* what;
    int enemyWish;
    Long enemyHP;
    Long power;
    Row party; // party hit points in 0..4, enemy side hit points in 5..9 (maximum 100)
    Row wish;  // party wishes
    Row state; // party SlotState
    Row cross; // SlotCross + SlotHeld of the party
    int target;
    bool heals;
    Long projected; // PhaseHP of the target afterwards
};

const PlanCase kPlans[] = {
    {"highest score, ties to the higher slot",
     0,
     40,
     40,
     {10, 50, 30, 50, 20, 100, 100, 100, 100, 100},
     {},
     {},
     {},
     3,
     false,
     10},
    {"a unit still to act counts double",
     0,
     40,
     40,
     {10, 50, 30, 60, 20, 100, 100, 100, 100, 100},
     {},
     {0, 1, 0, 3, 0},
     {},
     1,
     false,
     10},
    {"nothing worth a blow: slot 0",
     0,
     40,
     40,
     {0, 0, 0, 0, 0, 100, 100, 100, 100, 100},
     {},
     {},
     {},
     0,
     false,
     -40},
    {"held or down halves the score",
     0,
     40,
     40,
     {30, 50, 0, 0, 0, 100, 100, 100, 100, 100},
     {},
     {},
     {0, 1, 0, 0, 0},
     0,
     false,
     -10},
    {"a stampede ignores held units while others stand",
     3,
     40,
     40,
     {10, 50, 0, 0, 0, 100, 100, 100, 100, 100},
     {},
     {},
     {0, 1, 0, 0, 0},
     0,
     false,
     -30},
    {"a stampede halves them once all five are blocked",
     3,
     40,
     40,
     {0, 50, 0, 0, 0, 100, 100, 100, 100, 100},
     {},
     {},
     {0, 1, 0, 0, 0},
     1,
     false,
     10},
    {"a 黒僧 weighs a stampede by its own HP (odd half down)",
     7,
     31,
     31,
     {41, 50, 0, 0, 0, 100, 100, 100, 100, 100},
     {3, 0, 0, 0, 0},
     {},
     {},
     0,
     false,
     10},
    {"... and a tie of 200 goes to the higher slot",
     7,
     30,
     30,
     {41, 50, 0, 0, 0, 100, 100, 100, 100, 100},
     {3, 0, 0, 0, 0},
     {},
     {},
     1,
     false,
     20},
    {"a 魔剣師 weighs an アンチライフ by its own HP",
     2,
     35,
     35,
     {10, 30, 0, 0, 0, 100, 100, 100, 100, 100},
     {4, 0, 0, 0, 0},
     {},
     {},
     0,
     false,
     -25},
    {"聖剣師 projects twice the power",
     1,
     30,
     30,
     {10, 0, 0, 0, 0, 100, 100, 100, 100, 100},
     {},
     {},
     {},
     0,
     false,
     -50},
    {"アンチライフ projects the target's HP",
     4,
     30,
     30,
     {10, 70, 0, 0, 0, 100, 100, 100, 100, 100},
     {},
     {},
     {},
     1,
     false,
     0},
    {"a 黒僧 target takes the ceiling of half",
     0,
     45,
     45,
     {10, 70, 0, 0, 0, 100, 100, 100, 100, 100},
     {0, 7, 0, 0, 0},
     {},
     {},
     1,
     false,
     47},
    {"a 楽園 target takes the ceiling of a third",
     0,
     10,
     10,
     {10, 70, 0, 0, 0, 100, 100, 100, 100, 100},
     {0, 15, 0, 0, 0},
     {},
     {},
     1,
     false,
     66},
    {"a healer heals when the heal scores more",
     6,
     25,
     25,
     {10, 0, 0, 0, 0, 100, 100, 90, 100, 100},
     {},
     {},
     {},
     7,
     true,
     115},
    {"a healer attacks when the scores are equal",
     6,
     25,
     25,
     {15, 0, 0, 0, 0, 100, 100, 90, 100, 100},
     {},
     {},
     {},
     0,
     false,
     -10},
};

void PrintTo(const PlanCase& c, std::ostream* os) {
    *os << c.what;
}

struct Planner : BattleBoard, ::testing::WithParamInterface<PlanCase> {};

TEST_P(Planner, ScoresAndProjects) {
    const PlanCase& c = GetParam();
    for (int j = 0; j <= 9; ++j) {
        Unit(j, 100, j <= 4 ? c.wish[j] : 0);
        s.UnitHP[j] = s.PhaseHP[j] = c.party[j];
        s.SlotHeld[j] = 0;
    }
    for (int j = 0; j <= 4; ++j) {
        s.SlotState[j] = static_cast<Byte>(c.state[j]);
        s.SlotCross[j] = static_cast<Byte>(c.cross[j]);
    }
    Unit(5, c.enemyHP, c.enemyWish);
    s.PhaseHP[5] = c.enemyHP;
    s.SlotState[5] = 2;
    s.PhasePower = c.power;
    PlanEnemy(g, 5);
    EXPECT_EQ(s.SlotTarget[5], c.target);
    EXPECT_EQ(s.SlotHeals[5], c.heals ? 1 : 0);
    EXPECT_EQ(s.PhaseHP[c.target], c.projected);
    EXPECT_EQ(s.SlotHeld[c.target], c.enemyWish == 3 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Turn, Planner, ::testing::ValuesIn(kPlans),
                         [](const auto& param) { return "case" + std::to_string(param.index); });

TEST_F(BattleBoard, AHealerSkipsTheDead) {
    for (int j = 0; j <= 9; ++j) Unit(j, 100);
    for (int j = 0; j <= 4; ++j) s.PhaseHP[j] = 10;
    for (int j = 5; j <= 9; ++j) s.PhaseHP[j] = 100;
    Unit(5, 100, 6);
    s.UnitHP[8] = s.PhaseHP[8] = 0;
    s.SlotState[8] = 4;
    s.PhasePower = 100;
    PlanEnemy(g, 5);
    EXPECT_EQ(s.SlotHeals[5], 0);
    EXPECT_EQ(s.SlotTarget[5], 4);
}

TEST_F(BattleBoard, TurnStartWakesTheLivingAndMarksTheDown) {
    for (int i = 0; i <= 9; ++i) Unit(i, 10);
    s.UnitHP[3] = 0;
    s.UnitHP[6] = -4; // never left below 0 by a settled death, but only 0 counts as down
    s.SlotHeals[2] = 1;
    s.SlotCrossNext[7] = 1;
    s.TurnNo = 4;
    TurnStart(g);
    EXPECT_EQ(s.TurnNo, 5);
    EXPECT_EQ(s.SlotState[3], 4);
    EXPECT_EQ(s.SlotState[6], 0);
    EXPECT_EQ(s.SlotHeals[2], 0);
    EXPECT_EQ(s.SlotCrossNext[7], 0);
    // The counter stops at its limit instead of turning negative.
    s.TurnNo = 32767;
    TurnStart(g);
    EXPECT_EQ(s.TurnNo, 32767);
}

} // namespace
} // namespace vern::test
