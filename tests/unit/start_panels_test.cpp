// Start-up, the board rows and the hint panel.
#include <gtest/gtest.h>

#include "catalogue/wishes.h"
#include "fake_services.h"
#include "screen/panels.h"
#include "screen/start.h"
#include "screen/wish_page.h"
#include "shell/events.h"

namespace vern::test {
namespace {

TEST(Start, PutsEverySlotAndTheWindowIntoTheNewGameState) {
    TestGame t;
    auto& s = t.g.s;
    s.UnitName[3] = "x";
    s.UnitMaxHP[3] = 50;
    s.SlotState[4] = 4;
    s.WishKnown[6] = 2;
    t.g.f.願い[0].Caption = "    願いなき者"; // as a trade that brought wish 0 left it
    Start(t.g);
    for (int i = 0; i <= 9; ++i) {
        EXPECT_EQ(s.UnitName[i], "");
        EXPECT_EQ(s.UnitAttr[i], 2);
        EXPECT_EQ(s.UnitMaxHP[i], 0);
        EXPECT_EQ(s.SlotState[i], 3);
        EXPECT_EQ(t.g.f.Shape1[i].FillColor, colors::kGrey) << "ASTshow greys the black markers";
        EXPECT_EQ(t.g.f.Label2[i].Caption, "");
    }
    EXPECT_EQ(s.SelSlot, 10);
    EXPECT_EQ(s.SceneNo, 1);
    EXPECT_EQ(s.CharName[0], "シザ");
    EXPECT_EQ(s.CharName[1], "ララスピア");
    EXPECT_EQ(s.NameKind, 1);
    EXPECT_FALSE(t.g.f.Picture2.Visible);
    EXPECT_TRUE(t.g.f.Command1[2].Enabled);
    EXPECT_EQ(t.g.f.願い[0].Caption, "    願いなきもの");
    EXPECT_EQ(t.g.f.願い[6].Caption, "○ ？");
    EXPECT_EQ(t.g.f.願い[11].Caption, "Ⅸ ？");
}

TEST(Start, LeavesShadowSlotsAndUnresetVariablesAlone) {
    TestGame t;
    auto& s = t.g.s;
    s.UnitName[12] = "控え";
    s.UnitMaxHP[12] = 77;
    s.CharName[4] = "五人目";
    s.RecruitMood[6] = 3;
    s.TeachSaved = "saved";
    s.UnitRace[2] = 4;
    Start(t.g);
    EXPECT_EQ(s.UnitName[12], "控え");
    EXPECT_EQ(s.UnitMaxHP[12], 77);
    EXPECT_EQ(s.CharName[4], "五人目");
    EXPECT_EQ(s.RecruitMood[6], 3);
    EXPECT_EQ(s.TeachSaved, "saved");
    EXPECT_EQ(s.UnitRace[2], 4);
}

TEST(Start, DrawsGrowthCapsAndTheSoughtWishInRange) {
    for (std::uint64_t seed = 0; seed < 300; ++seed) {
        TestGame t(seed);
        Start(t.g);
        EXPECT_GE(t.g.s.NextWish, 1);
        EXPECT_LE(t.g.s.NextWish, 10);
        for (int i = 0; i <= 4; ++i) {
            EXPECT_GE(t.g.s.GrowthCap[i], 10999);
            EXPECT_LE(t.g.s.GrowthCap[i], 99999);
        }
    }
    TestGame t;
    t.g.rng.Script({0.0, 0.9999999});
    EXPECT_EQ(RandomGrowthCap(t.g), 99999) << "100^1 × 1000 + 9999 is capped";
    EXPECT_EQ(RandomGrowthCap(t.g), 10999);
}

struct RowCase {
    const char* name;
    Long hp, maxHP;
    Byte wish, wishState, slotState;
    const char* label3;
    const char* label4;
    Color marker;
};

TEST(STshow, DrawsARowFromTheUnitArrays) {
    const RowCase cases[] = {
        {"", 0, 5, 0, 0, 0, "0／5", "   ", colors::kWhite},
        {"名", 0, 0, 1, 0, 1, "0／0", "〆", RGB(0, 255, 0)},
        {"名", -5, 10, 5, 2, 2, "-5／10", " o", colors::kRed},
        {"名", 3, 10, 14, 1, 6, "3／10", "％", RGB(255, 0, 255)},
        {"名", 3, 10, 7, 0, 4, "3／10", "●", colors::kBlack},
        {"名", 3, 10, 7, 0, 8, "3／10", "●", RGB(1, 2, 3)}, // an unknown code keeps the colour
    };
    for (const auto& c : cases) {
        TestGame t;
        auto& s = t.g.s;
        s.UnitName[7] = c.name;
        s.UnitHP[7] = c.hp;
        s.UnitMaxHP[7] = c.maxHP;
        s.UnitWish[7] = c.wish;
        s.UnitWishState[7] = c.wishState;
        s.SlotState[7] = c.slotState;
        s.SlotCross[7] = 1;
        t.g.f.Shape1[7].FillColor = RGB(1, 2, 3);
        STshow(t.g, 7);
        EXPECT_EQ(t.g.f.Label2[7].Caption, c.name);
        EXPECT_EQ(t.g.f.Label3[7].Caption, c.label3);
        EXPECT_EQ(t.g.f.Label4[7].Caption, c.label4);
        EXPECT_EQ(t.g.f.Shape1[7].FillColor, c.marker) << int(c.slotState);
        EXPECT_TRUE(t.g.f.Label5[7].Visible);
    }
}

TEST(ASTshow, SealsTheSaveItemOnlyInScene37) {
    TestGame t;
    t.g.s.SceneNo = 37;
    ASTshow(t.g);
    EXPECT_EQ(t.g.f.セーブ.Caption, "-封鎖-");
    EXPECT_EQ(t.g.f.BackColor, colors::kBlack);
    t.g.s.SaveOpen = kTrue;
    ASTshow(t.g);
    EXPECT_EQ(t.g.f.セーブ.Caption, "セーブ");
    t.g.s.SaveOpen = 0;
    t.g.s.SceneNo = 36;
    ASTshow(t.g);
    EXPECT_EQ(t.g.f.セーブ.Caption, "セーブ");
    EXPECT_EQ(t.g.f.BackColor, colors::kGrey);
}

TEST(Teach, TwoHintsThenOneClickRestoreTheTextFromBeforeTheFirst) {
    TestGame t;
    Open(t.g);
    t.g.f.Label1.Caption = "元の文";
    teach(t.g, "一つ目");
    teach(t.g, "二つ目");
    EXPECT_EQ(t.g.f.Label1.Caption, "二つ目");
    EXPECT_EQ(t.g.f.Label1.BackColor, colors::kHintBack);
    EXPECT_FALSE(t.g.f.Command1[0].Enabled);
    EXPECT_TRUE(Click(t.g, Control::Label3, 2)); // lands on Label9, which lies over the board
    EXPECT_EQ(t.g.f.Label1.Caption, "元の文");
    EXPECT_EQ(t.g.f.Label1.BackColor, colors::kPanelBack);
    EXPECT_TRUE(t.g.f.Command1[0].Enabled);
    EXPECT_FALSE(t.g.f.Label9.Visible);
}

TEST(Teach, TheRevealedControllerEntryIsFollowedByTheRoster) {
    TestGame t;
    Open(t.g);
    t.g.s.WishKnown[12] = 2;
    願い_Click(t.g, 12);
    EXPECT_EQ(t.g.s.Misc[2], 1);
    Label9_Click(t.g);
    EXPECT_EQ(t.g.f.Label1.Caption, "支配下：\r\r約束書：\r           ");
    EXPECT_EQ(t.g.s.TeachOn, 1);
    t.g.s.ControlledRace[2] = 1;
    t.g.s.ControlledRace[4] = 1;
    t.g.s.PactWish[3] = 1;
    t.g.s.PactWish[14] = 1;
    願い_Click(t.g, 12);
    Label9_Click(t.g);
    EXPECT_EQ(t.g.f.Label1.Caption, "支配下：竜  祖  \r\r約束書：＊  \r           ‰  ");
    Label9_Click(t.g);
    EXPECT_EQ(t.g.s.TeachOn, 0);
    EXPECT_EQ(t.g.f.Label1.Caption, "");
}

} // namespace
} // namespace vern::test
