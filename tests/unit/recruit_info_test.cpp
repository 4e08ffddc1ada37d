// Picking a recruit and a trade partner on the board, and the information page of a unit.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <unistd.h>

#include "bitmap_file.h"
#include "catalogue/content.h"
#include "catalogue/units.h"
#include "catalogue/wishes.h"
#include "fake_services.h"
#include "screen/command_bar.h"
#include "screen/info.h"
#include "screen/panels.h"
#include "screen/start.h"
#include "shell/events.h"
#include "test_folder.h"

namespace vern::test {
namespace {

constexpr Color kPicked = RGB(128, 128, 255);

std::array<std::string, 4> Captions(const Game& g) {
    return {g.f.Command1[0].Caption, g.f.Command1[1].Caption, g.f.Command1[2].Caption,
            g.f.Command1[3].Caption};
}

// A won battle: five party members, five enemies, the screen asking whom to recruit.
struct RecruitBoard : ::testing::Test {
    TestGame t;
    Game& g = t.g;
    void SetUp() override {
        Start(g);
        const char* names[10] = {"勇者", "二番", "三番", "四番", "五番",
                                 "敵五", "敵六", "敵七", "敵八", "敵九"};
        for (int i = 0; i <= 9; ++i) {
            g.s.UnitName[i] = names[i];
            g.s.UnitMaxHP[i] = 100 + i;
            g.s.RecruitMood[i] = 1;
        }
        ASTshow(g);
        g.s.GameMode = 13;
        g.s.PickState = 2;
        g.s.ClickState = 1;
        SetSingleButton(g, "やめる");
        g.f.Label1.Caption = "誰を誘いますか？";
    }
};

struct CandidateCase {
    const char* what;
    int slot;
    int race;
    int wishKnown12;
    bool raceControlled;
    int mood;
    const char* text; // nullptr: the message stays as it was
    bool beeps;
    int clickState, pickState;
    std::array<std::string, 4> buttons;
};

void PrintTo(const CandidateCase& c, std::ostream* os) {
    *os << c.what;
}

class CandidatePick : public RecruitBoard, public ::testing::WithParamInterface<CandidateCase> {};

TEST_P(CandidatePick, AnswersByRaceAndMood) {
    const CandidateCase& c = GetParam();
    auto& s = g.s;
    s.UnitRace[c.slot] = static_cast<Byte>(c.race);
    s.WishKnown[12] = static_cast<Byte>(c.wishKnown12);
    if (c.race) s.ControlledRace[c.race] = c.raceControlled ? 1 : 0;
    s.RecruitMood[c.slot] = static_cast<Byte>(c.mood);
    Label2_Click(g, c.slot);

    const std::string name = s.UnitName[c.slot];
    EXPECT_EQ(g.f.Label1.Caption, c.text ? name + c.text : "誰を誘いますか？");
    EXPECT_EQ(t.svc.beeps, c.beeps ? 1 : 0);
    EXPECT_EQ(s.ClickState, c.clickState);
    EXPECT_EQ(s.PickState, c.pickState);
    EXPECT_EQ(Captions(g), c.buttons);
    const bool agreed = c.clickState != 1;
    EXPECT_EQ(g.f.Label2[c.slot].BackColor, agreed ? kPicked : colors::kNameBack);
    if (agreed) {
        EXPECT_EQ(s.RecruitSlot, c.slot);
    }
    for (int i = 0; i <= 9; ++i)
        if (i != c.slot) {
            EXPECT_EQ(g.f.Label2[i].BackColor, colors::kNameBack) << i;
        }
}

const std::string kTrade = std::string("は申し出を受け入れた。") + CR + "――誰と交代しますか？";
const std::string kTake = std::string("は申し出を受け入れた。") + CR + "――本当に連れて行きますか？";
const std::array<std::string, 4> kStop{"やめる", "", "", ""};

INSTANTIATE_TEST_SUITE_P(
    Recruit, CandidatePick,
    ::testing::Values(
        CandidateCase{"party member", 2, 0, 0, false, 1, nullptr, true, 1, 2, kStop},
        CandidateCase{"hero", 0, 0, 2, false, 1, nullptr, true, 1, 2, kStop},
        CandidateCase{"never joins", 6, 0, 0, false, 3, "は仲間にならない。", false, 1, 2, kStop},
        CandidateCase{"refuses", 7, 0, 0, false, 0, "は申し出を断った。", false, 1, 2, kStop},
        CandidateCase{"silent", 8, 0, 2, false, 2, nullptr, false, 1, 2, kStop},
        CandidateCase{
            "agrees", 9, 0, 0, false, 1, kTrade.c_str(), false, 3, 3, {"戻る", "", "", ""}},
        CandidateCase{"race before 支配者", 5, 3, 1, false, 1, "と話せなかった。", false, 1, 2,
                      kStop},
        CandidateCase{"race before 支配者, silent mood", 6, 1, 0, false, 2, "と話せなかった。",
                      false, 1, 2, kStop},
        CandidateCase{"race already with us", 7, 2, 2, true, 1, "は既に同行しています。", false, 1,
                      2, kStop},
        CandidateCase{"race never joins", 8, 4, 2, false, 3, "は仲間にならない。", false, 1, 2,
                      kStop},
        CandidateCase{"race refuses", 9, 5, 2, false, 0, "は申し出を断った。", false, 1, 2, kStop},
        CandidateCase{"race silent", 5, 6, 2, false, 2, nullptr, false, 1, 2, kStop},
        CandidateCase{"race agrees",
                      6,
                      1,
                      2,
                      false,
                      1,
                      kTake.c_str(),
                      false,
                      4,
                      0,
                      {"やめとく", "連れてく", "", ""}}),
    [](const auto& param) { return std::to_string(param.index); });

TEST_F(RecruitBoard, SilentUnitLeavesThePreviousAnswer) {
    g.s.RecruitMood[6] = 0;
    g.s.RecruitMood[7] = 2;
    Label2_Click(g, 6);
    Label2_Click(g, 7);
    EXPECT_EQ(g.f.Label1.Caption, "敵六は申し出を断った。");
    EXPECT_EQ(t.svc.beeps, 0);
}

struct PartnerCase {
    int slot;
    int mood;
    const char* text; // nullptr: the message stays as it was
    bool beeps;
    bool agreed;
};

void PrintTo(const PartnerCase& c, std::ostream* os) {
    *os << "slot " << c.slot << " mood " << c.mood;
}

class PartnerPick : public RecruitBoard, public ::testing::WithParamInterface<PartnerCase> {};

TEST_P(PartnerPick, AnswersByMoodAndHeroHasItsOwnWords) {
    const PartnerCase& c = GetParam();
    auto& s = g.s;
    Label2_Click(g, 8); // 敵八 agrees and asks whom to replace
    ASSERT_EQ(s.PickState, 3);
    const std::string asked = g.f.Label1.Caption;
    s.RecruitMood[c.slot] = static_cast<Byte>(c.mood);
    Label2_Click(g, c.slot);

    EXPECT_EQ(g.f.Label1.Caption, c.text ? s.UnitName[c.slot] + c.text : asked);
    EXPECT_EQ(t.svc.beeps, c.beeps ? 1 : 0);
    EXPECT_EQ(s.RecruitSlot, 8);
    EXPECT_EQ(g.f.Label2[8].BackColor, kPicked);
    if (c.agreed) {
        EXPECT_EQ(s.TradeSlot, c.slot);
        EXPECT_EQ(g.f.Label2[c.slot].BackColor, kPicked);
        EXPECT_EQ(s.ClickState, 3);
        EXPECT_EQ(s.PickState, 0);
        EXPECT_EQ(Captions(g), (std::array<std::string, 4>{"やめとく", "トレード", "", ""}));
    } else {
        if (c.slot != 8) {
            EXPECT_EQ(g.f.Label2[c.slot].BackColor, colors::kNameBack);
        }
        EXPECT_EQ(s.ClickState, 3);
        EXPECT_EQ(s.PickState, 3) << "another partner may be picked";
        EXPECT_EQ(Captions(g), (std::array<std::string, 4>{"戻る", "", "", ""}));
    }
}

const std::string kLeave = std::string("は別れを決心した。") + CR + "本当にトレードしますか？";
const std::string kResolve = std::string("は覚悟を決めた。") + CR + "本当にトレードしますか？";

INSTANTIATE_TEST_SUITE_P(Trade, PartnerPick,
                         ::testing::Values(PartnerCase{2, 1, kLeave.c_str(), false, true},
                                           PartnerCase{0, 1, kResolve.c_str(), false, true},
                                           PartnerCase{3, 0, "は別れを拒んだ。", false, false},
                                           PartnerCase{4, 2, "は別れを拒んだ。", false, false},
                                           PartnerCase{1, 3, "は別れを拒んだ。", false, false},
                                           PartnerCase{0, 0, "は覚悟を決め兼ねた。", false, false},
                                           PartnerCase{0, 3, "は覚悟を決め兼ねた。", false, false},
                                           PartnerCase{6, 1, nullptr, true, false},
                                           PartnerCase{8, 1, nullptr, true, false}));

TEST_F(RecruitBoard, RefusedPartnerThenAnotherAgrees) {
    g.s.RecruitMood[1] = 0;
    Label2_Click(g, 9);
    Label2_Click(g, 1);
    Label2_Click(g, 3);
    EXPECT_EQ(g.s.TradeSlot, 3);
    EXPECT_EQ(g.f.Label2[1].BackColor, colors::kNameBack);
    EXPECT_EQ(g.f.Label2[3].BackColor, kPicked);
    EXPECT_EQ(g.s.PickState, 0);
}

// ---- The information page ----------------------------------------------------------------

std::string RaceContent(const std::string& key) {
    const ContentFile* races = Content("races.txt");
    const ContentEntry* e = races ? races->Find(key) : nullptr;
    return e ? e->Text() : "<" + key + " missing>";
}

// A program folder of its own with a few pictures, so that the loaded picture can be told
// from the fallback by its name and size.
struct InfoPage : ::testing::Test {
    TestGame t;
    Game& g = t.g;
    std::filesystem::path dir;

    void SetUp() override {
        dir = TestFolder("vern_info_");
        WriteBmp(dir / "CG/キャラ/シザ.bmp", 40, 30);
        WriteBmp(dir / "CG/キャラ/ベスラ０.bmp", 10, 10);
        WriteBmp(dir / "CG/ボス/3.bmp", 101, 50);
        WriteBmp(dir / "CG/祖/8.bmp", 60, 80);
        WriteBmp(dir / "CG/祖/14.bmp", 64, 64);
        WriteBmp(dir / "CG/願い/6.bmp", 20, 22);
        t.svc.appPath = dir.string();
        Start(g);
        g.f.Label1.Caption = "誰の情報を見ますか？";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    const PictureBox& box() const { return g.f.Picture1; }
};

struct ChoiceCase {
    const char* what;
    int race, wish, kind;
    const char* picture; // as Picture1 names it
    int widthPx, heightPx;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.what;
}

class InfoChoice : public InfoPage, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(InfoChoice, KindBeforeRaceBeforeWishAndTheBoxIsCentred) {
    const ChoiceCase& c = GetParam();
    g.s.WishKnown[6] = 2;
    ShowInfo(g, c.race, c.wish, c.kind);
    EXPECT_EQ(box().picture.name, c.picture);
    EXPECT_EQ(box().r.Width, c.widthPx * 15);
    EXPECT_EQ(box().r.Height, c.heightPx * 15);
    EXPECT_EQ(box().r.Left, 3435 - c.widthPx * 15 / 2);
    EXPECT_EQ(box().r.Top, 1440);
    EXPECT_TRUE(box().Visible);
    EXPECT_EQ(g.s.TeachOn, 1);
    EXPECT_EQ(g.s.TeachSaved, "誰の情報を見ますか？");
    EXPECT_TRUE(g.f.Label9.Visible);
}

INSTANTIATE_TEST_SUITE_P(
    Info, InfoChoice,
    ::testing::Values(ChoiceCase{"kind wins over race", 3, 6, 1, "キャラ/シザ", 40, 30},
                      ChoiceCase{"kind whose picture is missing", 0, 0, 3, "fallback", 130, 162},
                      ChoiceCase{"race wins over wish", 3, 6, 0, "ボス/3", 101, 50},
                      ChoiceCase{"race missing picture", 2, 0, 0, "fallback", 130, 162},
                      ChoiceCase{"流祖", 5, 8, 0, "祖/8", 60, 80},
                      ChoiceCase{"祖神", 6, 14, 0, "祖/14", 64, 64},
                      ChoiceCase{"plain unit", 0, 6, 0, "願い/6", 20, 22},
                      ChoiceCase{"plain unit without picture", 0, 2, 0, "fallback", 130, 162}),
    [](const auto& param) { return std::to_string(param.index); });

TEST_F(InfoPage, PageTexts) {
    struct Case {
        int race, wish, kind;
        std::string text;
    };
    g.s.WishKnown[6] = 2;
    const Case cases[] = {
        {3, 6, 1, UnitDefinition(g, 1).text},
        {4, 0, 0, RaceContent("race/4")},
        {5, 8, 0, std::string("   十流祖の一人。") + CR + "⇒：" + RaceContent("流祖/8")},
        {6, 14, 0,
         std::string("   祖神。三柱のうちの一柱。") + CR + RaceContent("祖神/14") + CR +
             "‰「トリプルライフ」：２回復活"},
        {6, 13, 0,
         std::string("   祖神。三柱のうちの一柱。") + CR + RaceContent("祖神/13") + CR +
             "ψ「邪剣師」：３回攻撃"},
        {6, 15, 0,
         std::string("   祖神。三柱のうちの一柱。") + CR + RaceContent("祖神/15") + CR +
             "仝「楽園」：ダメージ３分の１"},
        {0, 6, 0, WishPageText(6)},
        {0, 3, 0, std::string("＊：") + WishEffect(3)},
        {0, 14, 0, WishPageText(14)},
    };
    for (const Case& c : cases) {
        ShowInfo(g, c.race, c.wish, c.kind);
        EXPECT_EQ(g.f.Label1.Caption, c.text) << c.race << " " << c.wish << " " << c.kind;
        Label9_Click(g);
        EXPECT_EQ(g.f.Label1.Caption, "誰の情報を見ますか？");
    }
}

TEST(RaceTexts, EveryRaceFounderAndGodHasItsLines) {
    const ContentFile* races = Content("races.txt");
    ASSERT_NE(races, nullptr);
    EXPECT_TRUE(races->errors.empty());
    auto lines = [&](const std::string& key) {
        const ContentEntry* e = races->Find(key);
        return e ? e->lines.size() : 0u;
    };
    for (int r = 1; r <= 4; ++r) {
        EXPECT_GE(lines("race/" + std::to_string(r)), 2u) << r;
        EXPECT_LE(lines("race/" + std::to_string(r)), 3u) << r;
    }
    for (int w = 1; w <= 10; ++w) {
        EXPECT_GE(lines("流祖/" + std::to_string(w)), 2u) << w;
        EXPECT_LE(lines("流祖/" + std::to_string(w)), 3u) << w;
    }
    for (int w = 13; w <= 15; ++w) EXPECT_EQ(lines("祖神/" + std::to_string(w)), 2u) << w;
}

TEST_F(InfoPage, DefinitionWithoutPictureCollapsesTheBox) {
    ShowInfo(g, 0, 6, 0); // a picture first, so the collapse is seen
    Label9_Click(g);
    ShowInfo(g, 0, 0, 2);
    EXPECT_EQ(g.f.Label1.Caption, UnitDefinition(g, 2).text);
    EXPECT_EQ(box().r.Width, 0);
    EXPECT_EQ(box().r.Height, 0);
    EXPECT_EQ(box().r.Left, 3435);
    EXPECT_TRUE(box().Visible);
}

TEST_F(InfoPage, UnknownRaceKeepsThePreviousPicture) {
    ShowInfo(g, 3, 0, 0);
    Label9_Click(g);
    ShowInfo(g, 7, 0, 0);
    EXPECT_EQ(box().picture.name, "ボス/3");
    EXPECT_EQ(box().r.Width, 101 * 15);
    EXPECT_EQ(box().r.Left, 3435 - 1515 / 2);
    EXPECT_TRUE(box().Visible);
    EXPECT_EQ(g.f.Label1.Caption, "");
}

TEST_F(InfoPage, BesuraStagesCountTheMissingPoints) {
    struct Case {
        Long maxHP;
        std::string ending; // "" for the last stage and beyond: no number
        const char* picture;
    };
    const ContentEntry* last = Content("units.txt")->Find("91/9");
    ASSERT_NE(last, nullptr);
    const Case cases[] = {
        {15, "あと5。", "キャラ/ベスラ０"},
        {0, "あと20。", "キャラ/ベスラ０"},
        {20, "30。", "fallback"},
        {99998, "1。", "fallback"},
        {99999, "", "fallback"},
        {100000, "", "fallback"},
    };
    g.s.PickState = 5;
    for (const Case& c : cases) {
        g.s.UnitKind[7] = 91;
        g.s.UnitMaxHP[7] = c.maxHP;
        Label2_Click(g, 7);
        ASSERT_EQ(g.s.InfoSlot, 7);
        const std::string& text = g.f.Label1.Caption;
        EXPECT_EQ(box().picture.name, c.picture) << c.maxHP;
        if (c.maxHP == 99999) {
            EXPECT_EQ(text, last->Text());
        } else if (c.maxHP > 99999) {
            EXPECT_EQ(text, "");
        } else {
            ASSERT_GE(text.size(), c.ending.size()) << c.maxHP;
            EXPECT_EQ(text.substr(text.size() - c.ending.size()), c.ending) << c.maxHP;
        }
        Label9_Click(g);
    }
}

TEST_F(InfoPage, EnemyPickClearsTheRosterFollowUpPartyPickKeepsIt) {
    auto& s = g.s;
    s.WishKnown[12] = 2;
    s.UnitWish[1] = 12;
    s.UnitWish[5] = 12;
    s.PickState = 5;

    Label2_Click(g, 1);
    EXPECT_EQ(s.InfoSlot, 1);
    EXPECT_EQ(s.Misc[2], 1) << "the revealed 支配者 page of a party member";
    EXPECT_EQ(box().picture.name, "fallback");
    EXPECT_TRUE(box().Visible);

    Label2_Click(g, 5);
    EXPECT_EQ(s.InfoSlot, 1) << "ignored while the page shows";

    Label9_Click(g); // the roster follows
    EXPECT_EQ(g.f.Label1.Caption.rfind("支配下：", 0), 0u);
    Label9_Click(g);

    Label2_Click(g, 5);
    EXPECT_EQ(s.InfoSlot, 5);
    EXPECT_EQ(s.Misc[2], 0);
    Label9_Click(g);
    EXPECT_EQ(g.f.Label1.Caption, "誰の情報を見ますか？");
    EXPECT_FALSE(box().Visible);
}

} // namespace
} // namespace vern::test
