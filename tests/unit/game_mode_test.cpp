// The game-mode screens outside battle, the command bar's frame and event routing.
#include <gtest/gtest.h>

#include "battle/game_mode.h"
#include "fake_services.h"
#include "screen/command_bar.h"
#include "screen/panels.h"
#include "screen/start.h"
#include "shell/events.h"

namespace vern::test {
namespace {

struct ModeFixture : ::testing::Test {
    TestGame t;
    GameState& s = t.g.s;
    void SetUp() override { Open(t.g); }
    std::vector<std::string> Captions() const {
        std::vector<std::string> c;
        for (int i = 0; i <= 3; ++i) c.push_back(t.g.f.Command1[i].Caption);
        return c;
    }
    void Party(std::initializer_list<Long> maxHP) {
        int i = 0;
        for (Long m : maxHP) {
            s.UnitName[i] = "p" + std::to_string(i);
            s.UnitMaxHP[i] = s.UnitHP[i] = m;
            ++i;
        }
    }
};

TEST_F(ModeFixture, ModesWithoutAStepShowOneAdvanceButton) {
    for (Int16 mode : {29, 64, 67, 104, 106, -1}) {
        s.GameMode = mode;
        Mshow(t.g, mode);
        EXPECT_EQ(t.g.f.Label1.Caption, "");
        EXPECT_EQ(Captions(), (std::vector<std::string>{"＞", "", "", ""}));
        EXPECT_EQ(s.ClickState, 0);
        Command1_Click(t.g, 0);
        EXPECT_EQ(s.GameMode, mode + 1);
    }
}

TEST_F(ModeFixture, ABlankButtonIsInertAndRunsNoDeferredRequest) {
    Mshow(t.g, 4);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"", "＞", "", ""}));
    s.AskSave = kTrue;
    Command1_Click(t.g, 0);
    EXPECT_EQ(s.GameMode, 0);
    EXPECT_EQ(s.AskSave, kTrue);
    EXPECT_TRUE(t.svc.boxes.empty());
}

TEST_F(ModeFixture, ChoiceButtonsKeepUnsetModes) {
    s.ButtonMode[2] = 42;
    SetChoice2(t.g, 5, 6);
    EXPECT_EQ(s.ButtonMode[2], 42);
    EXPECT_EQ(s.ClickState, 1);
}

TEST_F(ModeFixture, EscapeCostsTheHeroAndOrdinaryUnitsOnePoint) {
    Party({50, 1, 30, 12000, 40});
    s.UnitKind[0] = 1;
    s.UnitKind[2] = 15; // a named story character does not pay
    s.UnitHP[4] = 3;
    t.g.rng.Script({0.5});
    const std::string text = EscapePenalty(t.g, false);
    EXPECT_EQ(s.UnitMaxHP[0], 49);
    EXPECT_EQ(s.UnitMaxHP[1], 1) << "never below 1";
    EXPECT_EQ(s.UnitMaxHP[2], 30);
    EXPECT_EQ(s.UnitMaxHP[3], 9999 + 1000); // Int(0.5 × 2001) + 9999
    EXPECT_EQ(s.UnitMaxHP[4], 39);
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(s.UnitHP[i], s.UnitMaxHP[i]);
    EXPECT_EQ(text, "逃げた。（武力ー１）\r\r境界を越えたの拡大武力が破裂した。");
    Party({20000, 5, 5, 5, 5});
    t.g.rng.Script({0.0});
    EXPECT_EQ(EscapePenalty(t.g, true), "逃げた。（武力ー１）\r\r境界を越えた拡大武力が破裂した。");
    EXPECT_EQ(s.UnitMaxHP[0], 9999);
    EXPECT_EQ(EscapePenalty(t.g, true), "逃げきった。（武力ー１）");
}

TEST_F(ModeFixture, GrowthUsesRemainingHitPointsAndStopsAtTheCap) {
    Party({100, 100, 9999, 100, 20000});
    s.UnitHP[0] = 15; // hero: twice its HP
    s.UnitHP[1] = 0;  // no growth at 0 HP
    s.UnitHP[3] = 91; // ceiling of 9.1
    s.UnitWish[4] = 11;
    s.GrowthCap[4] = 20005;
    s.GrowthSlot = 0;
    const char* expected[5] = {"p0の武力が3アップした！", "p1の武力は変化しなかった。",
                               "p2の武力は変化しなかった。", "p3の武力が10アップした！",
                               "p4の武力が5アップした！"};
    for (int k = 0; k <= 4; ++k) {
        s.GameMode = 11;
        Mshow(t.g, 11);
        EXPECT_EQ(t.g.f.Label1.Caption, expected[k]);
        EXPECT_EQ(s.ClickState, k < 4 ? 1 : 0) << "the last growth leads on to mode 12";
    }
    EXPECT_EQ(s.UnitMaxHP[0], 103);
    EXPECT_EQ(s.UnitMaxHP[4], 20005);
}

TEST_F(ModeFixture, ClearUpRevealsTheFourNinesOnce) {
    Party({9999, 9999, 9999, 9999, 12000});
    Mshow(t.g, 12);
    Mshow(t.g, 12);
    ASSERT_EQ(t.svc.boxes.size(), 1u);
    EXPECT_EQ(t.svc.boxes[0].text, "オール９の境地に到達、\r願い≪フォーナイン≫が現出した！！");
    EXPECT_EQ(s.WishKnown[11], 1);
    EXPECT_TRUE(t.g.f.セーブ.Enabled);
    EXPECT_EQ(s.ButtonMode[0], 18);
}

TEST_F(ModeFixture, VictoryRecordsRacesAndPacts) {
    s.UnitRace[5] = 4;
    s.UnitRace[6] = 5;
    s.UnitWish[6] = 3;
    s.UnitRace[7] = 6;
    s.UnitWish[7] = 14;
    s.UnitRace[8] = 0;
    s.UnitRace[9] = 0;
    Mshow(t.g, 9);
    EXPECT_EQ(t.g.f.Label1.Caption,
              "勝った！！！\r『スタンピード』 と 『トリプルライフ』\rの約束書を手に入れた！！");
    ASSERT_EQ(t.svc.boxes.size(), 1u);
    EXPECT_EQ(t.svc.boxes[0].text, "祖に勝った！！\r願い≪支配者≫が解禁された！！≫");
    EXPECT_EQ(s.TopRaceBeaten, 6);
    EXPECT_EQ(s.WishKnown[12], 1);
    EXPECT_EQ(s.PactWish[3], 1);
    EXPECT_EQ(t.svc.beeps, 1);
    // Beaten before: no second message, no second pact line.
    t.svc.boxes.clear();
    Mshow(t.g, 9);
    EXPECT_TRUE(t.svc.boxes.empty());
    EXPECT_EQ(t.g.f.Label1.Caption, "勝った！！！");
}

TEST_F(ModeFixture, FreeMenuSealsSavingInScene37) {
    s.SceneNo = 37;
    Mshow(t.g, 18);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"ﾌﾘｰﾌｧｲﾄ", "先に進む", "-封鎖-", ""}));
    EXPECT_EQ(s.ButtonMode[2], 18);
    s.SaveOpen = kTrue;
    Mshow(t.g, 18);
    EXPECT_EQ(s.ButtonMode[2], 28);
    s.StoryBattle = 1;
    Mshow(t.g, 18);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"", "＞", "", ""}));
    EXPECT_EQ(s.ButtonMode[1], 20);
    EXPECT_EQ(s.StoryBattle, 0);
}

TEST_F(ModeFixture, TheUnitLabelsOfARowAllActAsItsName) {
    s.PickState = 5;
    for (Control c : {Control::Label2, Control::Label3, Control::Label4, Control::Label8}) {
        s.InfoSlot = 0;
        t.g.s.TeachOn = 0;
        t.g.f.Label9.Visible = false;
        ASSERT_TRUE(Click(t.g, c, 7));
        EXPECT_EQ(s.InfoSlot, 7);
    }
    // While a hint shows, the click only dismisses it.
    teach(t.g, "ヒント");
    s.InfoSlot = 0;
    Click(t.g, Control::Label2, 3);
    EXPECT_EQ(s.InfoSlot, 0);
    EXPECT_EQ(s.TeachOn, 0);
    // Hidden controls do not react.
    EXPECT_FALSE(Click(t.g, Control::Label9));
    EXPECT_FALSE(Click(t.g, Control::Command2));
    t.g.f.Command1[1].Caption = "";
    EXPECT_FALSE(Click(t.g, Control::Command1, 1)) << "a button without a caption does nothing";
}

TEST_F(ModeFixture, TheTimerBlinksOnlyTheChoosingUnitsMarker) {
    Tick(t.g);
    for (int i = 0; i <= 9; ++i) EXPECT_EQ(t.g.f.Shape1[i].FillColor, colors::kGrey);
    s.SelSlot = 2;
    Tick(t.g);
    EXPECT_EQ(t.g.f.Shape1[2].FillColor, colors::kRed);
    Tick(t.g);
    EXPECT_EQ(t.g.f.Shape1[2].FillColor, colors::kYellow);
    Tick(t.g);
    EXPECT_EQ(t.g.f.Shape1[2].FillColor, colors::kRed);
}

TEST_F(ModeFixture, EventsArriveOneAtATime) {
    // A tick that arrives while a message box is open is dropped.
    s.SelSlot = 1;
    t.svc.answers.push_back(MsgAnswer::No);
    struct Reentrant : FakeServices {
        Game* g = nullptr;
        MsgAnswer MsgBox(const std::string& text, MsgButtons b, bool c,
                         const std::string& title) override {
            Tick(*g);
            return FakeServices::MsgBox(text, b, c, title);
        }
    } svc;
    Game g(svc);
    svc.g = &g;
    Open(g);
    g.s.SelSlot = 1;
    const Color before = g.f.Shape1[1].FillColor;
    svc.answers.push_back(MsgAnswer::No);
    Menu(g, MenuCommand::ゲームの終了);
    EXPECT_EQ(g.f.Shape1[1].FillColor, before);
    EXPECT_FALSE(g.ended);
    svc.answers.push_back(MsgAnswer::Yes);
    Menu(g, MenuCommand::ゲームの終了);
    EXPECT_TRUE(g.ended);
    EXPECT_FALSE(Click(g, Control::Command1, 0)) << "nothing reacts after the end";
}

TEST_F(ModeFixture, StartOverAsksFirst) {
    Party({10, 10, 10, 10, 10});
    t.svc.answers.push_back(MsgAnswer::No);
    Menu(t.g, MenuCommand::始めから);
    EXPECT_EQ(s.UnitMaxHP[0], 10);
    t.svc.answers.push_back(MsgAnswer::Yes);
    Menu(t.g, MenuCommand::始めから);
    EXPECT_EQ(s.UnitMaxHP[0], 0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"スタート", "", "", ""}));
    EXPECT_EQ(t.svc.LastText(), "リセットしました。");
}

} // namespace
} // namespace vern::test
