// The name dialog: typed, default and random names, and every refusal.
#include <gtest/gtest.h>

#include "battle/game_mode.h"
#include "catalogue/units.h"
#include "fake_services.h"
#include "io/cp932.h"
#include "screen/name_dialog.h"
#include "screen/start.h"

namespace vern::test {
namespace {

using Action = std::function<void(Game&)>;
Action Type(std::string text) {
    return [text](Game& g) { NameInp_Text1_Change(g, text); };
}
const Action kDefault = [](Game& g) { NameInp_Command1_Click(g); };
const Action kRandom = [](Game& g) { NameInp_Command2_Click(g); };
const Action kDecide = [](Game& g) { NameInp_Command3_Click(g); };
const Action kClose = [](Game& g) { NameInp_Form_Unload(g); };

struct NameFixture : ::testing::Test {
    TestGame t;
    void SetUp() override { Start(t.g); }
    std::string Ask(int nameNo, std::initializer_list<Action> actions) {
        t.g.s.NameNo = static_cast<Byte>(nameNo);
        t.svc.dialog.assign(actions);
        AskHeroName(t.g);
        return t.g.s.CharName[nameNo - 1];
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& b : t.svc.boxes) texts.push_back(b.text);
        return texts;
    }
};

TEST_F(NameFixture, AcceptsTypedDefaultAndTenCharacterNames) {
    EXPECT_EQ(Ask(1, {kDecide}), "シザ");
    EXPECT_EQ(Ask(1, {Type("あいうえおかきくけこ"), kDecide}), "あいうえおかきくけこ");
    EXPECT_EQ(Ask(1, {Type(" 間 に 空白"), kDecide}), " 間 に 空白") << "stored exactly as typed";
    EXPECT_EQ(t.g.s.UnitName[0], " 間 に 空白");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(t.svc.dialogOpenings, 3);
}

TEST_F(NameFixture, AnEleventhCharacterIsRefusedAndTheTextGoesBack) {
    t.svc.dialog.assign({Type("あいうえおかきくけこ"), Type("あいうえおかきくけこさ")});
    t.g.s.NameNo = 1;
    ShowNameInp(t.g);
    EXPECT_EQ(Messages(), std::vector<std::string>{"１０文字までです。"});
    EXPECT_EQ(t.g.n.Text1.Text, "あいうえおかきくけこ");
    EXPECT_EQ(t.g.n.Text1.SelStart, 10);
}

TEST_F(NameFixture, RefusalsResetTheTextAndKeepTheDialogOpen) {
    struct Case {
        int nameNo;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {1, "", "名前を入力して下さい。"},
        {1, "   ", "名前を入力して下さい。"},
        {2, "シザ", "その名前は使用できません。"},
        {1, "ララスピア", "その名前は使用できません。"},
        // The save file keeps names in CP932 and drops trailing half-width spaces: a name it
        // could not bring back is refused with the reason, not as a taken name.
        {1, "한국어", "「한」は名前に使えない文字です。"},
        {1, "ab😀", "「😀」は名前に使えない文字です。"},
        {1, "空白 ", "名前の終わりに半角スペースは使えません。"},
        {1, "改\r行", "名前に改行やタブなどの制御文字は使えません。"},
        {1, "タ\tブ", "名前に改行やタブなどの制御文字は使えません。"},
        {1, "\x1b", "名前に改行やタブなどの制御文字は使えません。"},
    };
    for (const auto& c : cases) {
        t.svc.boxes.clear();
        const std::string name = Ask(c.nameNo, {Type(c.typed), kDecide, kDefault, kDecide});
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message}) << c.typed;
        EXPECT_EQ(name, c.nameNo == 1 ? "シザ" : "ララスピア") << c.typed;
    }
    EXPECT_EQ(Ask(1, {Type("　"), kDecide}), "　") << "a full-width space is not blank";
    EXPECT_EQ(Ask(1, {Type("シザ"), kDecide}), "シザ") << "a character may keep its own name";
}

TEST_F(NameFixture, WhatALinuxInputMethodTypesIsKeptInTheFormTheSaveFileKnows) {
    // The wave dash, the minus sign, the double bar, the em dash and the Latin-1 signs have a CP932
    // form only as their full-width (or other) twins: stored as those, never refused.
    const std::pair<const char*, const char*> forms[] = {
        {"〜波〜", "～波～"}, {"−１", "－１"}, {"‖", "∥"},  {"—", "―"},
        {"¢£", "￠￡"},       {"¬", "￢"},     {"¦", "￤"},
    };
    for (const auto& [typed, stored] : forms) {
        t.svc.boxes.clear();
        EXPECT_EQ(Ask(1, {Type(typed), kDecide}), stored) << typed;
        EXPECT_TRUE(Messages().empty()) << typed;
        EXPECT_TRUE(FitsCp932(stored)) << stored;
    }
}

TEST_F(NameFixture, ClosingWithABlankNameOpensTheDialogAgain) {
    EXPECT_EQ(Ask(1, {Type(""), kClose, Type("二度目"), kClose}), "二度目");
    EXPECT_EQ(Messages(), std::vector<std::string>{"名前を入力して下さい。"});
    EXPECT_EQ(t.svc.dialogOpenings, 2);
}

TEST_F(NameFixture, LaterCharactersStartEmptyAndDefaultEmptiesTheBox) {
    t.g.s.NameNo = 3;
    t.svc.dialog.assign({Type("仮"), kDefault, Type("三人目"), kDecide});
    ShowNameInp(t.g);
    EXPECT_EQ(t.g.s.CharName[2], "三人目");
    t.g.s.NameNo = 3;
    t.svc.dialog.assign({kDefault});
    ShowNameInp(t.g);
    EXPECT_EQ(t.g.n.Text1.Text, "");
}

TEST_F(NameFixture, RandomNamesComeFromTheRangesOfTheCharacter) {
    // Character 1 draws from names 0..99 and 200..299, never from 100..199.
    t.g.s.NameNo = 1;
    for (int i = 0; i < 300; ++i) {
        t.svc.dialog.assign({kRandom, kClose});
        ShowNameInp(t.g);
        const std::string& name = t.g.s.CharName[0];
        EXPECT_NE(name, "");
        for (long long id = 100; id <= 199; ++id)
            ASSERT_NE(UnitNameById(t.g, id), name) << "a name of the second pool";
    }
}

TEST_F(NameFixture, RandomNeverOffersTheCurrentNameOrOneOnTheBoard) {
    t.g.s.NameNo = 1;
    t.g.s.UnitName[5] = "モンタナ";
    for (int i = 0; i < 200; ++i) {
        t.svc.dialog.assign({kRandom, kRandom, kClose});
        ShowNameInp(t.g);
        EXPECT_NE(t.g.s.UnitName[0], "モンタナ");
    }
    t.g.rng.Script({0.0, 0.0, 0.0, 0.0}); // twice name 0 (on the board), then ...
    t.g.rng.Script({0.0, 0.01});          // ... name 1
    t.svc.dialog.assign({kRandom, kClose});
    ShowNameInp(t.g);
    EXPECT_EQ(t.g.s.CharName[0], "プルーニャ");
}

} // namespace
} // namespace vern::test
