// Story battles and encounters, unit changes, the party's cut of power, and the rare named
// units that take an ordinary enemy's place.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "battle/rare_units.h"
#include "fake_services.h"
#include "screen/start.h"
#include "story/formations.h"

namespace vern::test {
namespace {

struct Foe {
    std::string name;
    int kind, wish;
    Long maxHP;
    bool operator==(const Foe&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Foe& f) {
    return os << f.name << " / " << f.kind << " / " << f.wish << " / " << f.maxHP;
}

const Foe kEmpty{"空気", 2, 0, 0};

// A started game in story mode. The party's maximum HP add up to S = 702; the lead has wish
// 6 and 302 maximum HP.
struct Formation : ::testing::Test {
    TestGame t;
    Game& g = t.g;
    GameState& s = t.g.s;

    void SetUp() override {
        Start(g);
        const Long hp[5] = {302, 100, 100, 100, 100};
        for (int i = 0; i <= 4; ++i) {
            s.UnitName[i] = "p" + std::to_string(i);
            s.UnitKind[i] = 0;
            s.UnitMaxHP[i] = s.UnitHP[i] = hp[i];
        }
        s.UnitWish[0] = 6;
        s.NextWish = 7;
        for (int i = 5; i <= 9; ++i) {
            s.UnitRace[i] = 3;
            s.UnitAttr[i] = 0;
            s.RecruitMood[i] = 0;
        }
        g.f.Picture2.Visible = true;
        g.f.Picture3.Visible = true;
        g.f.願い一覧.Enabled = false;
        for (int i = 0; i <= 3; ++i) g.f.Command1[i].Enabled = false;
    }
    Foe At(int slot) const {
        return {s.UnitName[slot], s.UnitKind[slot], s.UnitWish[slot], s.UnitMaxHP[slot]};
    }
};

struct FormationCase {
    int n;
    std::vector<Foe> foes; // slots 5..9
};

void PrintTo(const FormationCase& c, std::ostream* os) {
    *os << "formation " << c.n;
}

class FormationTable : public Formation, public ::testing::WithParamInterface<FormationCase> {};

TEST_P(FormationTable, FillsTheEnemySideAndStartsTheBattle) {
    const FormationCase& c = GetParam();
    if (c.n == 3) g.rng.Script({0.7, 0.2, 0.9, 0.4, 0.5}); // wish or none, slot by slot
    SetFormation(g, c.n);
    for (int i = 5; i <= 9; ++i) {
        EXPECT_EQ(At(i), c.foes[i - 5]) << "slot " << i;
        EXPECT_EQ(s.UnitHP[i], s.UnitMaxHP[i]);
        EXPECT_EQ(s.UnitAttr[i], 2);
        EXPECT_EQ(s.UnitRace[i], 0);
    }
    EXPECT_EQ(s.StoryBattle, 1);
    EXPECT_FALSE(g.f.Picture2.Visible);
    EXPECT_FALSE(g.f.Picture3.Visible);
    EXPECT_TRUE(g.f.願い一覧.Enabled);
    for (int i = 0; i <= 3; ++i) EXPECT_TRUE(g.f.Command1[i].Enabled);
    EXPECT_FALSE(g.f.セーブ.Enabled);
    EXPECT_EQ(g.f.Label1.Caption, "臨戦態勢です。");
    // Who may join afterwards.
    std::vector<int> moods;
    for (int i = 0; i <= 9; ++i) moods.push_back(s.RecruitMood[i]);
    if (c.n == 5)
        EXPECT_EQ(moods, (std::vector<int>{1, 0, 0, 0, 0, 3, 2, 2, 2, 2}));
    else if (c.n == 37)
        EXPECT_EQ(moods, (std::vector<int>{0, 1, 1, 1, 1, 3, 1, 3, 3, 3}));
    else
        EXPECT_EQ(moods, (std::vector<int>{1, 1, 1, 1, 1, 3, 3, 3, 3, 3}));
}

INSTANTIATE_TEST_SUITE_P(
    Story, FormationTable,
    ::testing::Values(
        FormationCase{1, {{"悪", 20, 0, 468}, kEmpty, kEmpty, kEmpty, kEmpty}},
        FormationCase{2,
                      {{"ラベラージュ", 4, 3, 138},
                       {"キャパシィ", 5, 0, 180},
                       {"メモル", 6, 0, 96},
                       {"ペンティ", 7, 3, 74},
                       {"ラム", 8, 3, 42}}},
        FormationCase{3,
                      {{"ルーブ", 9, 7, 184},
                       {"エイデル", 10, 0, 221},
                       {"ユークリッド", 11, 7, 103},
                       {"ハウィサン", 12, 0, 135},
                       {"ランディ", 13, 7, 151}}},
        FormationCase{5,
                      {{"ライク", 16, 5, 176}, // 702 / 4 = 175.5: the even neighbour
                       {"ショット", 17, 4, 10},
                       {"ショット", 17, 4, 10},
                       {"ショット", 17, 4, 10},
                       {"ショット", 17, 4, 10}}},
        FormationCase{8,
                      {{"悪", 20, 0, 468},
                       {"瘴気", 21, 3, 1},
                       {"瘴気", 21, 3, 1},
                       {"瘴気", 21, 3, 1},
                       {"瘴気", 21, 3, 1}}},
        FormationCase{9, {kEmpty, kEmpty, kEmpty, kEmpty, kEmpty}},
        FormationCase{13,
                      {{"フェイク", 34, 6, 302},
                       {"いつか見た風景", 35, 0, 1111},
                       {"神", 36, 9, 965},
                       {"テイラー展開", 37, 2, 840},
                       {"幸福論", 38, 6, 315}}},
        FormationCase{14,
                      {{"レーテ", 39, 7, 2525},
                       {"ミサイル", 40, 4, 100},
                       {"ミサイル", 40, 4, 100},
                       {"ミサイル", 40, 4, 100},
                       {"機関銃", 41, 2, 1212}}},
        FormationCase{18,
                      {{"ボヘミア", 52, 6, 2600},
                       {"キアリザード", 53, 10, 3700},
                       {"キアリザード", 53, 10, 3700},
                       kEmpty,
                       {"モルダウ", 54, 2, 2424}}},
        FormationCase{19,
                      {{"魔王", 55, 3, 73},
                       {"ロギオンヘールト", 56, 5, 8642},
                       {"ヴェルナドーラ", 57, 2, 4321},
                       {"死向ミサイルAct1", 58, 4, 2000},
                       {"死向ミサイルAct2", 59, 4, 2000}}},
        FormationCase{22, {{"タフク", 63, 0, 702}, kEmpty, kEmpty, kEmpty, kEmpty}},
        FormationCase{24,
                      {{"ゴースト", 65, 6, 260},
                       {"エクトプラスム", 66, 10, 370},
                       {"瘴気", 21, 3, 1},
                       {"瘴気", 21, 3, 1},
                       {"瘴気", 21, 3, 1}}},
        FormationCase{27,
                      {{"かけがえのないもの", 72, 6, 302},
                       {"虚無", 73, 0, 302},
                       {"虚無", 73, 0, 302},
                       {"虚無", 73, 0, 302},
                       {"虚無", 73, 0, 302}}},
        FormationCase{28, {{"シザ", 74, 5, 5120}, {"ケーナ", 75, 2, 2560}, kEmpty, kEmpty, kEmpty}},
        FormationCase{31,
                      {{"ビュラシャ", 78, 7, 2800},
                       {"十八戒", 77, 0, 1800},
                       {"十八戒", 77, 0, 1800},
                       {"十八戒", 77, 0, 1800},
                       {"十八戒", 77, 0, 1800}}},
        FormationCase{34,
                      {{"フレイク", 84, 8, 1200},
                       {"イクスカリヴェル", 85, 1, 9999},
                       {"光の鎧", 86, 15, 600},
                       {"この世界", 87, 10, 1200},
                       {"メタモルキャンセラー", 88, 3, 0}}},
        FormationCase{35,
                      {{"フレイク", 84, 8, 12000},
                       {"イクスカリヴェル", 85, 1, 99999},
                       {"光の鎧", 86, 15, 6000},
                       {"この世界", 87, 10, 12000},
                       {"メタモルキャンセラー", 88, 3, 1}}},
        FormationCase{36,
                      {{"理攻歳", 1016, 8, 9999},
                       {"理攻歳", 1016, 8, 9999},
                       {"理攻歳", 1016, 8, 9999},
                       {"理攻歳", 1016, 8, 9999},
                       {"理攻歳", 1016, 8, 9999}}},
        FormationCase{37,
                      {{"ケヤキ", 89, 13, 38000},
                       {"モルティーレ", 1022, 13, 19000},
                       {"カナタマデツヅクミチ", 90, 13, 9500},
                       {"カナタマデツヅクミチ", 90, 13, 9500},
                       {"カナタマデツヅクミチ", 90, 13, 9500}}}));

TEST_F(Formation, TheFakeWearsTheLeadsPicture) {
    SetFormation(g, 13);
    EXPECT_EQ(s.LookupOut[0], "願い") << "a lead of kind 0 is drawn by its wish";
    EXPECT_EQ(s.LookupOut[1], "6");
    s.UnitKind[0] = 1;
    SetFormation(g, 13);
    EXPECT_EQ(s.LookupOut[0], "キャラ");
    EXPECT_EQ(s.LookupOut[1], "シザ");
}

TEST_F(Formation, FormationZeroIsAnOrdinaryEncounterAnyoneMayJoin) {
    SetFormation(g, 0);
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(s.RecruitMood[i], 2);
    EXPECT_EQ(s.StoryBattle, 1);
    EXPECT_FALSE(g.f.Picture2.Visible);
    EXPECT_EQ(s.ButtonMode[0], 5) << "the encounter's はい";
    EXPECT_NE(g.f.Label1.Caption, "臨戦態勢です。");
}

TEST_F(Formation, EncountersPutOneCharacterWhoOffersToJoin) {
    g.rng.Script({0.55});
    StartEncounter(g, 1);
    EXPECT_EQ(At(5), (Foe{"マリア", 3, 6, 176}));
    EXPECT_EQ(s.RecruitMood[5], 1);
    EXPECT_EQ(s.RecruitMood[0], 0);
    EXPECT_EQ(s.UnitHP[5], 176);
    for (int i = 6; i <= 9; ++i) EXPECT_EQ(At(i), kEmpty);
    EXPECT_EQ(g.f.Label1.Caption, "仲間に誘いますか？");
    EXPECT_EQ(s.StoryBattle, 1);
    EXPECT_FALSE(g.f.Picture2.Visible);
    EXPECT_TRUE(g.f.Command1[2].Enabled);

    StartEncounter(g, 2);
    EXPECT_EQ(At(5), (Foe{"ガーナ", 15, 4, 73}));
    EXPECT_EQ(s.RecruitMood[0], 0);

    StartEncounter(g, 3);
    EXPECT_EQ(At(5), (Foe{"ファイブスター", 22, 1, 176}));
    EXPECT_EQ(s.RecruitMood[5], 1);
    EXPECT_EQ(s.RecruitMood[0], 1) << "the lead may still be traded";
}

TEST_F(Formation, ChangeUnitTurnsAUnitIntoAnotherKindOrLetsItGo) {
    const std::pair<int, int> kinds[] = {{2, 60}, {3, 76}, {4, 83}, {5, 1}};
    for (auto [change, kind] : kinds) {
        s.UnitHP[0] = 5;
        s.UnitAttr[0] = 0;
        ChangeUnit(g, 0, change);
        EXPECT_EQ(s.UnitKind[0], kind);
        EXPECT_EQ(s.UnitName[0], "p0");
        EXPECT_EQ(s.UnitHP[0], 302);
        EXPECT_EQ(s.UnitAttr[0], 2);
    }
    s.UnitWish[14] = 9;
    s.UnitMaxHP[14] = 40;
    ChangeUnit(g, 14, 1);
    EXPECT_EQ((Foe{s.UnitName[14], s.UnitKind[14], s.UnitWish[14], s.UnitMaxHP[14]}), kEmpty);
    EXPECT_EQ(s.UnitHP[14], 0);
}

TEST_F(Formation, ScalePartyMaxHPRoundsUpSoNoUnitDropsToNothing) {
    const Long before[5] = {150, 100, 0, 1, 99999};
    const Long after[5] = {2, 1, 0, 1, 1000};
    for (int i = 0; i <= 4; ++i) s.UnitMaxHP[i] = before[i];
    ScalePartyMaxHP(g, 0.01);
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(s.UnitMaxHP[i], after[i]) << i;
        EXPECT_EQ(s.UnitHP[i], after[i]);
    }
}

// ---- Rare units -----------------------------------------------------------------------------

// A draw that makes ceil(Rnd × 23) = r.
constexpr double R(int r) {
    return (r - 0.5) / 23;
}

struct RareCase {
    const char* what;
    std::function<void(GameState&)> setup;
    std::vector<double> draws; // per attempt: wish, r (and a wish for rows 11, 15, 16)
    Foe want;
};

void PrintTo(const RareCase& c, std::ostream* os) {
    *os << c.what;
}

class RareUnit : public Formation, public ::testing::WithParamInterface<RareCase> {};

TEST_P(RareUnit, IsChosenByItsDrawAndItsCondition) {
    const RareCase& c = GetParam();
    for (int i = 0; i <= 4; ++i) s.UnitMaxHP[i] = 2000; // S = 10000
    s.SceneNo = 5;
    if (c.setup) c.setup(s);
    for (double d : c.draws) g.rng.Script({d});
    MakeRareUnit(g, 7);
    EXPECT_EQ(At(7), c.want);
    EXPECT_EQ(s.UnitAttr[7], 2);
    EXPECT_TRUE(g.rng.ScriptDone()) << "every draw used, none more";
}

const double kWish4 = 3.5 / 12; // Int(Rnd × 12) + 1 = 4

INSTANTIATE_TEST_SUITE_P(
    Story, RareUnit,
    ::testing::Values(
        RareCase{"the third verse", nullptr, {kWish4, R(3)}, {"黙示録第三節", 1003, 3, 3}},
        RareCase{"the tenth verse", nullptr, {kWish4, R(10)}, {"黙示録第十節", 1010, 10, 10}},
        RareCase{"ヘーウッド draws a wish",
                 nullptr,
                 {kWish4, R(11), 0.5},
                 {"ヘーウッド", 1011, 5, 2000}},
        RareCase{"ねんねこ", nullptr, {kWish4, R(12)}, {"ねんねこ", 1012, 0, 1000}},
        RareCase{"歌姫サハイヤ", nullptr, {kWish4, R(13)}, {"歌姫サハイヤ", 1013, 6, 1429}},
        RareCase{"スマイル", nullptr, {kWish4, R(14)}, {"スマイル", 1014, 0, 5000}},
        RareCase{"理攻歳", nullptr, {kWish4, R(16), 0.99}, {"理攻歳", 1016, 10, 2000}},
        RareCase{"ねんねこ's kin need ねんねこ in the party",
                 nullptr,
                 {kWish4, R(17), kWish4, R(20), kWish4, R(14)},
                 {"スマイル", 1014, 0, 5000}},
        RareCase{"ねんねこのあくび",
                 [](GameState& s) { s.UnitKind[3] = 1012; },
                 {kWish4, R(17)},
                 {"ねんねこのあくび", 1017, 15, 3333}},
        RareCase{"ねんねこゆめ",
                 [](GameState& s) { s.UnitKind[3] = 1012; },
                 {kWish4, R(20)},
                 {"ねんねこゆめ", 1020, 14, 3333}},
        RareCase{"ステップトゥヘル keeps the first wish",
                 nullptr,
                 {kWish4, R(21)},
                 {"ステップトゥヘル", 1021, 4, 0}},
        RareCase{"... only with a party above 9999",
                 [](GameState& s) { s.UnitMaxHP[4] = 1999; },
                 {kWish4, R(21), kWish4, R(1)},
                 {"黙示録第一節", 1001, 1, 1}},
        RareCase{"... and before scene 35",
                 [](GameState& s) { s.SceneNo = 35; },
                 {kWish4, R(21), kWish4, R(1)},
                 {"黙示録第一節", 1001, 1, 1}},
        RareCase{"モルティーレ only in scene 37",
                 nullptr,
                 {kWish4, R(22), kWish4, R(2)},
                 {"黙示録第二節", 1002, 2, 2}},
        RareCase{"モルティーレ",
                 [](GameState& s) { s.SceneNo = 37; },
                 {kWish4, R(22)},
                 {"モルティーレ", 1022, 13, 19000}},
        RareCase{"ケヤキ needs モルティーレ in the party",
                 [](GameState& s) { s.SceneNo = 37; },
                 {kWish4, R(23), kWish4, R(2)},
                 {"黙示録第二節", 1002, 2, 2}},
        RareCase{"闇の中で、ケヤキ",
                 [](GameState& s) {
                     s.SceneNo = 37;
                     s.UnitKind[2] = 1022;
                 },
                 {kWish4, R(23)},
                 {"闇の中で、ケヤキ", 1023, 14, 10000}},
        RareCase{"a draw of exactly 0", nullptr, {kWish4, 0.0}, {"防号", 1000, 0, 100}},
        RareCase{"no name twice: a lower slot has it",
                 [](GameState& s) { s.UnitName[6] = "スマイル"; },
                 {kWish4, R(14), kWish4, R(12)},
                 {"ねんねこ", 1012, 0, 1000}},
        RareCase{"a party member's name counts too",
                 [](GameState& s) { s.UnitName[0] = "黙示録第五節"; },
                 {kWish4, R(5), kWish4, R(6)},
                 {"黙示録第六節", 1006, 6, 6}},
        RareCase{"a higher slot's name does not",
                 [](GameState& s) { s.UnitName[8] = "黙示録第五節"; },
                 {kWish4, R(5)},
                 {"黙示録第五節", 1005, 5, 5}}));

} // namespace
} // namespace vern::test
