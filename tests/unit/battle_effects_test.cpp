// Heals during a phase, and the recruits and trades confirmed after a victory.
#include <gtest/gtest.h>

#include "battle/attack.h"
#include "battle/effects.h"
#include "battle/game_mode.h"
#include "battle_fixture.h"
#include "screen/command_bar.h"

namespace vern::test {
namespace {

TEST_F(BattleBoard, AHealIsCutToTheMaximumAtTheEndOfThePhase) {
    for (int i = 0; i <= 9; ++i) Unit(i, 100);
    for (int i = 0; i <= 9; ++i) s.SlotState[i] = 3;
    Unit(1, 100, 6);
    s.SlotState[1] = 2;
    s.SlotHeals[1] = 1;
    s.SlotTarget[1] = 3;
    s.ActPower[1] = 100;
    s.UnitHP[3] = 40;
    EXPECT_FALSE(StepPhase(g));
    EXPECT_EQ(Message(), "u1は回復を願った！！\ru3の力が100回復した！！");
    EXPECT_EQ(s.UnitHP[3], 140);
    EXPECT_EQ(s.PhaseHPChange[3], 100);
    EXPECT_EQ(g.f.Label2[3].BackColor, RGB(0, 255, 128));
    EXPECT_EQ(g.f.Label3[3].BackColor, RGB(128, 255, 192));
    EXPECT_TRUE(StepPhase(g));
    EXPECT_EQ(s.UnitHP[3], 100);
}

TEST_F(BattleBoard, HealingTheDeadChangesNothing) {
    Unit(1, 100, 6);
    Unit(3, 0);
    s.SlotTarget[1] = 3;
    s.ActPower[1] = 100;
    回復(g, 1);
    EXPECT_EQ(Message(), "u1は再生を願った！！\rしかしu3は死んでいる！！");
    EXPECT_EQ(s.UnitHP[3], 0);
    EXPECT_EQ(s.PhaseHPChange[3], 0);
}

TEST_F(BattleBoard, ARecruitedRaceComesUnderControl) {
    Unit(7, 20000);
    s.UnitName[7] = "竜";
    s.UnitRace[7] = 2;
    s.RecruitSlot = 7;
    RecruitUnit(g);
    EXPECT_EQ(Message(), "こんにちは竜。");
    EXPECT_EQ(s.ControlledRace[2], 1);
    EXPECT_EQ(s.UnitName[0], "u0") << "it does not join the party";
    EXPECT_EQ(Captions(), (std::array<std::string, 4>{"＞", "", "", ""}));
    EXPECT_EQ(s.ClickState, 1);
    EXPECT_EQ(s.ButtonMode[0], 12);
}

struct TradeCase {
    const char* what;
    int slot;      // TradeSlot
    Long maxHP;    // the newcomer's maximum
    int wish;      // the newcomer's wish
    int heroWish;  // the hero's wish before
    Long maxAfter; // UnitMaxHP of the slot after
    std::string message;
};

void PrintTo(const TradeCase& c, std::ostream* os) {
    *os << c.what;
}

const TradeCase kTrades[] = {
    {"a member leaves", 2, 300, 0, 0, 300, "さよならu2、\rこんにちはu8。"},
    {"a フォーナイン comes at two thirds", 2, 300, 11, 0, 200, "さよならu2、\rこんにちはu8。"},
    {"two thirds to the nearest", 3, 301, 11, 0, 201, "さよならu3、\rこんにちはu8。"},
    {"beyond 99999 a soft cap", 4, 100010, 0, 0, 100000, "さよならu4、\rこんにちはu8。"},
    {"far beyond", 4, 9999999, 0, 0, 99999 + (9999999 - 99999) / 11,
     "さよならu4、\rこんにちはu8。"},
    {"the hero gains a wish", 0, 300, 7, 3, 50, "u0は\ru8の願い『黒僧』を得た！！"},
    {"the hero keeps the same wish", 0, 300, 7, 7, 50, "u0の願いは変化しなかった。"},
    {"the hero loses its wish", 0, 300, 0, 7, 50, "u0は願いを失った。"},
};

struct Trade : BattleBoard, ::testing::WithParamInterface<TradeCase> {};

TEST_P(Trade, ReplacesTheMemberOrPassesTheWish) {
    const TradeCase& c = GetParam();
    for (int i = 0; i <= 9; ++i) Unit(i, 50);
    s.UnitWish[0] = static_cast<Byte>(c.heroWish);
    s.UnitHP[c.slot] = 17;
    s.UnitRace[c.slot] = 0;
    Unit(8, c.maxHP, c.wish);
    s.UnitKind[8] = 55;
    s.UnitAttr[8] = 1;
    s.UnitRace[8] = 3;
    s.RecruitSlot = 8;
    s.TradeSlot = static_cast<Byte>(c.slot);
    s.GrowthCap[c.slot] = 12345;
    s.NextWish = 1;
    g.rng.Script({0.0});
    TradeUnit(g);
    EXPECT_EQ(Message(), c.message);
    EXPECT_EQ(s.UnitMaxHP[c.slot], c.maxAfter);
    EXPECT_EQ(s.UnitWish[c.slot], c.wish);
    EXPECT_EQ(s.UnitHP[c.slot], 17) << "hit points are refilled by the clear-up";
    EXPECT_EQ(s.UnitRace[c.slot], 0);
    if (c.slot != 0) {
        EXPECT_EQ(s.UnitName[c.slot], "u8");
        EXPECT_EQ(s.UnitKind[c.slot], 55);
        EXPECT_EQ(s.UnitAttr[c.slot], 1);
    } else {
        EXPECT_EQ(s.UnitName[0], "u0");
    }
    EXPECT_EQ(s.GrowthCap[c.slot], c.wish == 11 && c.slot != 0 ? 99999 : 12345);
    EXPECT_EQ(s.ClickState, 1);
    EXPECT_EQ(s.ButtonMode[0], 12);
}

INSTANTIATE_TEST_SUITE_P(Battle, Trade, ::testing::ValuesIn(kTrades),
                         [](const auto& param) { return "case" + std::to_string(param.index); });

TEST_F(BattleBoard, ATradedWishIsRevealedAndTheSoughtWishMovesOn) {
    for (int i = 0; i <= 9; ++i) Unit(i, 50);
    for (int w = 1; w <= 12; ++w) s.WishKnown[w] = 1;
    s.WishKnown[4] = 0;
    s.WishKnown[9] = 0;
    s.NextWish = 3;
    Unit(8, 50, 3);
    s.RecruitSlot = 8;
    s.TradeSlot = 2;
    g.rng.Script({0.0, 0.5, 0.85}); // 1 (met), 6 (met), 9 (never met)
    TradeUnit(g);
    EXPECT_EQ(s.WishKnown[3], 2);
    EXPECT_EQ(g.f.願い[3].Caption, "＊ スタンピード");
    EXPECT_EQ(s.NextWish, 9);
    EXPECT_TRUE(g.rng.ScriptDone());

    // With every one of the ten met, nothing is sought any more.
    s.WishKnown[4] = s.WishKnown[9] = 1;
    s.NextWish = 5;
    Unit(8, 50, 5);
    TradeUnit(g);
    EXPECT_EQ(s.NextWish, 0);

    // A 支配者 is revealed too; a wishless trade reveals nothing.
    Unit(8, 50, 12);
    TradeUnit(g);
    EXPECT_EQ(s.WishKnown[12], 2);
    EXPECT_EQ(g.f.願い[12].Caption, "卍 支配者");
    Unit(8, 50, 0);
    TradeUnit(g);
    EXPECT_EQ(g.f.願い[0].Caption, "    願いなき者");
}

TEST_F(BattleBoard, CancellingARecruitOrTradeGoesBackToPicking) {
    for (int i = 0; i <= 9; ++i) Unit(i, 50);
    for (int state : {3, 4}) {
        s.ClickState = static_cast<Int16>(state);
        s.RecruitSlot = 7;
        s.TradeSlot = 2;
        g.f.Label2[7].BackColor = g.f.Label2[2].BackColor = RGB(128, 128, 255);
        SetButtons(g, "やめとく", state == 3 ? "トレード" : "連れてく");
        s.ButtonMode[0] = 10;
        Command1_Click(g, 0);
        EXPECT_EQ(Message(), "誰を誘いますか？");
        EXPECT_EQ(Captions(), (std::array<std::string, 4>{"やめる", "", "", ""}));
        EXPECT_EQ(s.ClickState, 1);
        EXPECT_EQ(s.PickState, 2);
        EXPECT_EQ(g.f.Label2[7].BackColor, colors::kNameBack);
        EXPECT_EQ(g.f.Label2[2].BackColor, state == 3 ? colors::kNameBack : RGB(128, 128, 255));
        Command1_Click(g, 0);
        EXPECT_EQ(s.GameMode, 10);
    }
}

} // namespace
} // namespace vern::test
