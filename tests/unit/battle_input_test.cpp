// Giving the party's orders: targets on the board, going back, heal orders, and the summon and
// release dialogs up to the point where the phase is ready to step.
#include <gtest/gtest.h>

#include "battle/game_mode.h"
#include "battle/turn.h"
#include "battle_fixture.h"
#include "shell/events.h"

namespace vern::test {
namespace {

using Caps = std::array<std::string, 4>;

// A phase in which all ten units act at 50: the party is asked for orders from slot 0.
struct Orders : BattleBoard {
    void SetUp() override {
        BattleBoard::SetUp();
        for (int i = 0; i <= 9; ++i) Unit(i, 50);
    }
    void Begin() {
        s.GameMode = 7;
        Mshow(g, 7);
    }
    void Click(int button) { Command1_Click(g, button); }
    void Pick(int label) { Label2_Click(g, label); }
};

TEST_F(Orders, EachPartyUnitPicksATargetThenThePhaseIsReady) {
    s.SlotCross[2] = 1; // knocked down: skipped
    Begin();
    EXPECT_EQ(Message(), "u0は誰を攻撃しますか？");
    EXPECT_EQ(Captions(), (Caps{"決定", "戻る", "", ""}));
    Click(0); // "決定" is inert while a unit chooses
    EXPECT_EQ(s.SelSlot, 0);
    Pick(1); // an ally: only a 白僧 may
    EXPECT_EQ(t.svc.beeps, 1);
    Pick(7);
    EXPECT_EQ(s.SlotTarget[0], 7);
    EXPECT_TRUE(g.f.Line2[0].Visible);
    EXPECT_EQ(g.f.Line2[0].Y2, 2 * 600 + 1680);
    EXPECT_EQ(s.SelSlot, 1);
    EXPECT_EQ(g.f.Shape1[0].FillColor, colors::kRed);
    Pick(5);
    EXPECT_EQ(s.SelSlot, 3);
    Pick(9);
    Pick(6);
    EXPECT_EQ(Message(), "よろしいですか？");
    EXPECT_EQ(s.SelSlot, 10);
    EXPECT_EQ(s.PickState, 0);
    EXPECT_EQ(s.ActPower[4], 50);
    Pick(8); // nothing to pick any more
    EXPECT_EQ(s.SlotTarget[4], 6);
    Click(0);
    EXPECT_EQ(Message(), "u0の攻撃、\ru7に50のダメージ！");
    EXPECT_EQ(Captions(), (Caps{"＞", "", "", ""}));
}

TEST_F(Orders, GoingBackErasesTheOrderOfTheUnitReturnedTo) {
    Unit(1, 50, 6);
    Begin();
    Click(1); // on the first unit: nothing to go back to
    EXPECT_EQ(s.SelSlot, 0);
    Pick(5);
    Pick(3); // 白僧 heals an ally straight from the attack prompt
    EXPECT_EQ(s.SlotHeals[1], 1);
    EXPECT_EQ(s.SlotTarget[1], 3);
    EXPECT_EQ(g.f.Label6[1].Caption, "4");
    Pick(6);
    Pick(7);
    Pick(8);
    ASSERT_EQ(s.SelSlot, 10);
    s.SlotCross[4] = 1; // say slot 4 could not act: back goes to the highest that can
    Click(1);
    EXPECT_EQ(s.SelSlot, 3);
    EXPECT_FALSE(g.f.Line2[3].Visible);
    Click(1);
    Click(1);
    EXPECT_EQ(s.SelSlot, 1);
    EXPECT_EQ(s.SlotHeals[1], 0);
    EXPECT_EQ(g.f.Label6[1].Caption, "");
    EXPECT_EQ(Message(), "u1は誰を攻撃しますか？");
    EXPECT_EQ(Captions(), (Caps{"決定", "戻る", "", "回復"}));
    EXPECT_EQ(g.f.Shape1[2].FillColor, colors::kRed);
}

TEST_F(Orders, TheHealButtonSwitchesWhatALabelPicks) {
    Unit(0, 50, 6);
    Begin();
    Click(3);
    EXPECT_EQ(Message(), "u0は誰を回復しますか？");
    EXPECT_EQ(Captions(), (Caps{"決定", "戻る", "", "攻撃"}));
    EXPECT_EQ(s.PickState, 4);
    Pick(5);
    EXPECT_EQ(t.svc.beeps, 1);
    Click(3);
    EXPECT_EQ(Message(), "u0は誰を攻撃しますか？");
    EXPECT_EQ(s.PickState, 1);
    Click(3);
    Pick(0); // itself
    EXPECT_EQ(s.SlotHeals[0], 1);
    EXPECT_EQ(s.SlotTarget[0], 0);
    EXPECT_EQ(g.f.Label6[0].Caption, "1");
    EXPECT_EQ(s.SelSlot, 1);
}

TEST_F(Orders, AnAttackOrderClearsAHealLeftFromEarlierInTheTurn) {
    Begin();
    s.SlotHeals[0] = 1;
    Pick(5);
    EXPECT_EQ(s.SlotHeals[0], 0);
}

TEST_F(Orders, WithEveryPartyUnitDownTheFirstClickSteps) {
    for (int i = 0; i <= 4; ++i) s.SlotCross[i] = 1;
    Begin();
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(s.SelSlot, 10);
    Click(0);
    EXPECT_EQ(Message(), "u0は構え直した。");
}

TEST_F(Orders, ASummonerWithoutSubjectsIsToldSo) {
    Unit(0, 50, 12);
    Begin();
    EXPECT_EQ(Captions(), (Caps{"決定", "戻る", "", "召喚"}));
    Click(3);
    EXPECT_EQ(Message(), "支配下のユニットがありません。");
    EXPECT_EQ(Captions(), (Caps{"", "", "", "戻る"}));
    EXPECT_EQ(s.ClickState, 5);
    Click(0); // blank
    EXPECT_EQ(s.ClickState, 5);
    Click(3);
    EXPECT_EQ(Message(), "u0は誰を攻撃しますか？");
    EXPECT_EQ(Captions(), (Caps{"決定", "戻る", "", "召喚"}));
    EXPECT_EQ(s.ClickState, 2);
    EXPECT_EQ(s.PickState, 1);
}

TEST_F(Orders, TheRacePromptCyclesThroughControlledRaces) {
    Unit(0, 50, 12);
    s.ControlledRace[2] = 1;
    s.ControlledRace[4] = 1;
    Begin();
    Click(3);
    EXPECT_EQ(Message(), "u0は何を召喚しますか？");
    EXPECT_EQ(Captions(), (Caps{"戻る", "", "他", "竜"}));
    Click(2);
    EXPECT_EQ(Captions(), (Caps{"戻る", "", "他", "祖"}));
    Click(2);
    EXPECT_EQ(s.SummonRace, 2);
    s.ControlledRace[4] = 0;
    Click(2); // only one race: the same again
    EXPECT_EQ(Captions(), (Caps{"戻る", "", "他", "竜"}));
    Click(3);
    EXPECT_EQ(Message(), "u0は竜を召喚します。\rよろしいですか？");
    EXPECT_EQ(Captions(), (Caps{"はい", "いいえ", "", "情報"}));
    EXPECT_EQ(s.SummonWish, 0);
    Click(1);
    EXPECT_EQ(Message(), "u0は何を召喚しますか？");
    EXPECT_EQ(s.ClickState, 6);
    Click(0);
    EXPECT_EQ(Message(), "u0は誰を攻撃しますか？");
    EXPECT_EQ(s.ClickState, 2);
}

TEST_F(Orders, FoundersOfferTheWishesWhosePactsAreHeld) {
    Unit(0, 50, 12);
    s.ControlledRace[5] = 1;
    s.ControlledRace[6] = 1;
    s.PactWish[10] = 1;
    s.PactWish[13] = 1;
    s.PactWish[15] = 1;
    Begin();
    Click(3);
    Click(3);
    EXPECT_EQ(Message(), "流祖の願いを選択して下さい。\r≪喰師≫");
    EXPECT_EQ(Captions(), (Caps{"戻る", "", "他", "⊃"}));
    Click(2); // the only pact of a 流祖: the same again
    EXPECT_EQ(s.SummonWish, 10);
    Click(0);
    EXPECT_EQ(s.ClickState, 6);
    Click(2);
    Click(3);
    EXPECT_EQ(s.SummonWish, 13);
    Click(2);
    EXPECT_EQ(s.SummonWish, 15);
    EXPECT_EQ(Message(), "祖神の願いを選択して下さい。\r≪楽園≫");
    Click(2);
    EXPECT_EQ(s.SummonWish, 13);
    Click(3);
    EXPECT_EQ(Message(), "u0は祖神イェンドフィディを召喚します。\rよろしいですか？");
    Click(3);
    EXPECT_EQ(s.ClickState, 7) << "the information page leaves the question open";
    EXPECT_EQ(s.TeachOn, 1);
}

TEST_F(Orders, AFounderWithoutAPactCannotBeCalled) {
    Unit(0, 50, 12);
    s.ControlledRace[5] = 1;
    s.PactWish[13] = 1; // a 祖神's pact does not help a 流祖
    Begin();
    Click(3);
    Click(3);
    EXPECT_EQ(t.svc.beeps, 1);
    EXPECT_EQ(s.ClickState, 6);
    EXPECT_EQ(Message(), "u0は何を召喚しますか？");
}

TEST_F(Orders, ASummonTakesTheSummonersPlaceAndTheOrdersGoOn) {
    Unit(1, 50, 12);
    s.UnitHP[1] = 44;
    s.UnitMaxHP[1] = 60;
    s.UnitHP[0] = s.UnitHP[2] = s.UnitHP[3] = s.UnitHP[4] = 44;
    for (int i = 5; i <= 9; ++i) s.UnitHP[i] = 10; // slower: they wait
    s.ControlledRace[2] = 1;
    Begin();
    Pick(5);
    Click(3);
    Click(3);
    Click(0);
    EXPECT_EQ(Message(), "召喚しました。");
    EXPECT_EQ(Captions(), (Caps{"＞", "", "", ""}));
    EXPECT_EQ(s.ClickState, 9);
    EXPECT_EQ(s.ControlledRace[2], 0);
    EXPECT_EQ(s.SlotSummoned[1], 1);
    EXPECT_EQ(s.UnitName[1], "竜");
    EXPECT_EQ(s.UnitHP[1], 20000);
    EXPECT_EQ(s.UnitMaxHP[1], 20000);
    EXPECT_EQ(s.UnitWish[1], 0);
    EXPECT_EQ(s.UnitRace[1], 2);
    EXPECT_EQ(s.SlotState[1], 0) << "the creature acts in a later phase";
    EXPECT_EQ(s.UnitName[11], "u1");
    EXPECT_EQ(s.UnitHP[11], 44);
    EXPECT_EQ(s.UnitWish[11], 12);
    Click(0);
    EXPECT_EQ(Message(), "u2は誰を攻撃しますか？");
    EXPECT_EQ(s.ClickState, 2);
    Pick(5);
    Pick(5);
    Pick(5);
    EXPECT_EQ(Message(), "よろしいですか？");
    // The creature's turn comes in the next phase, with the power of its hit points.
    for (int i = 0; i < 6; ++i) Click(0); // four actions, one death, the hand-over
    EXPECT_EQ(s.SlotState[1], 2);
    EXPECT_EQ(s.PhasePower, 20000);
    EXPECT_EQ(Message(), "竜は誰を攻撃しますか？");
    EXPECT_EQ(Captions(), (Caps{"決定", "戻る", "", "解放"}));
}

TEST_F(Orders, AReleaseBringsTheSummonerBack) {
    Unit(3, 20000);
    s.UnitName[3] = "竜";
    s.UnitRace[3] = 2;
    s.SlotSummoned[3] = 1;
    s.UnitName[13] = "u13";
    s.UnitMaxHP[13] = 33;
    s.UnitHP[13] = 21;
    s.UnitWish[13] = 12;
    for (int i = 0; i <= 9; ++i)
        if (i != 3) s.SlotState[i] = 3;
    s.SlotState[4] = 2; // acts with the creature's power: the orders do not stop there
    s.UnitHP[4] = 20000;
    Begin();
    ASSERT_EQ(s.SelSlot, 3);
    Click(3);
    EXPECT_EQ(Message(), "竜を解放しますか？");
    EXPECT_EQ(Captions(), (Caps{"はい", "いいえ", "", ""}));
    Click(1);
    EXPECT_EQ(Message(), "竜は誰を攻撃しますか？");
    EXPECT_EQ(Captions(), (Caps{"決定", "戻る", "", "解放"}));
    Click(3);
    Click(0);
    EXPECT_EQ(Message(), "竜を解放しました。");
    EXPECT_EQ(Captions(), (Caps{"はい", "いいえ", "", ""}));
    EXPECT_EQ(s.SlotSummoned[3], 0);
    EXPECT_EQ(s.UnitName[3], "u13");
    EXPECT_EQ(s.UnitHP[3], 21);
    EXPECT_EQ(s.UnitMaxHP[3], 33);
    EXPECT_EQ(s.SlotState[3], 0);
    EXPECT_EQ(s.ClickState, 9);
    Click(1); // any button goes on
    EXPECT_EQ(Message(), "u4は誰を攻撃しますか？");
    Click(1); // and back past the released slot, which no longer acts
    EXPECT_EQ(s.SelSlot, 4);
}

TEST_F(Orders, TheLastSummonOfAPhaseLeavesItReadyToStep) {
    Unit(4, 50, 12);
    s.ControlledRace[1] = 1;
    for (int i = 0; i <= 3; ++i) s.SlotState[i] = 3;
    for (int i = 5; i <= 9; ++i) s.UnitHP[i] = 10;
    Begin();
    ASSERT_EQ(s.SelSlot, 4);
    Click(3);
    Click(3);
    Click(0);
    EXPECT_EQ(s.SelSlot, 10);
    EXPECT_EQ(s.ClickState, 2);
    EXPECT_EQ(s.PhaseHPChange[4], 0);
    Click(0); // nobody acts: the phase ends and the creature is asked next
    EXPECT_EQ(Message(), "竜人は誰を攻撃しますか？");
    EXPECT_EQ(s.PhasePower, 10000);
}

} // namespace
} // namespace vern::test
