// AppearUnit: the strength draw, races, wishes of ordinary enemies and the special cases.
#include <gtest/gtest.h>

#include "battle/appear.h"
#include "fake_services.h"
#include "screen/start.h"

namespace vern::test {
namespace {

// r for a draw Int(r × n) = k.
double Pick(int k, int n) {
    return (k + 0.5) / n;
}

struct AppearFixture : ::testing::Test {
    TestGame t;
    void SetUp() override {
        Start(t.g);
        t.g.s.NextWish = 0; // no wish is sought unless a test says so
    }
    // Enemy slot 5 named モンタナ (name 0), strength drawn as `strengthDraw`.
    std::string Enemy(double request, double strengthDraw, std::initializer_list<double> more) {
        t.g.rng.Script({0.0, strengthDraw, 0.5 /* no rare unit */});
        t.g.rng.Script(more);
        std::string text;
        t.g.s.UnitName[5] = ""; // the last one leaves the board
        AppearUnit(t.g, 5, request, text);
        EXPECT_TRUE(t.g.rng.ScriptDone()) << "draws left over";
        return text;
    }
};

TEST_F(AppearFixture, PartyRollsAreOrdinaryAndWishless) {
    auto& s = t.g.s;
    for (std::uint64_t seed = 0; seed < 200; ++seed) {
        t.g.rng.Seed(seed);
        std::string text;
        for (int i = 0; i <= 4; ++i) {
            double request = 100;
            AppearUnit(t.g, i, request, text);
            EXPECT_GE(s.UnitMaxHP[i], 1);
            EXPECT_LE(s.UnitMaxHP[i], 100);
            EXPECT_EQ(s.UnitHP[i], s.UnitMaxHP[i]);
            EXPECT_EQ(s.UnitWish[i], 0);
            EXPECT_EQ(s.UnitRace[i], 0);
            EXPECT_EQ(s.UnitKind[i], i == 0 ? 1 : 0);
        }
        EXPECT_EQ(s.UnitAttr[0], 2);
        EXPECT_EQ(text, "");
    }
}

TEST_F(AppearFixture, ANonPositiveRequestCopiesAPartyMember) {
    t.g.s.UnitMaxHP[3] = 4321;
    t.g.rng.Script({0.0, Pick(3, 5), 0.5, Pick(0, 12)});
    std::string text;
    double request = -1;
    AppearUnit(t.g, 6, request, text);
    EXPECT_EQ(request, 4321);
    EXPECT_EQ(t.g.s.UnitMaxHP[6], 4321);
}

TEST_F(AppearFixture, RacesAreCappedOneAboveTheHighestBeaten) {
    auto& s = t.g.s;
    s.TopRaceBeaten = 0;
    Enemy(50000, 0.99, {0.99});
    EXPECT_EQ(s.UnitRace[5], 1);
    EXPECT_EQ(s.UnitName[5], "竜人");
    EXPECT_EQ(s.UnitMaxHP[5], 10000);
    EXPECT_EQ(s.UnitAttr[5], 2);
    s.TopRaceBeaten = 4;
    Enemy(50000, 0.99, {Pick(4, 5), Pick(6, 10)}); // band 6 capped to 5, then 1..5 → 5
    EXPECT_EQ(s.UnitRace[5], 5);
    EXPECT_EQ(s.UnitWish[5], 7);
    EXPECT_EQ(s.UnitName[5], "黒流祖クラミー");
    EXPECT_EQ(s.UnitMaxHP[5], 50000);
    s.TopRaceBeaten = 6;
    Enemy(50000, 0.99, {Pick(5, 6), Pick(1, 3)});
    EXPECT_EQ(s.UnitName[5], "祖神ノイエヴェル");
    EXPECT_EQ(s.UnitWish[5], 14);
}

TEST_F(AppearFixture, OrdinaryEnemiesCarryOnlyMetOrSoughtWishes) {
    auto& s = t.g.s;
    s.NextWish = 3;
    // A wish never met and not sought is lost.
    EXPECT_EQ(Enemy(100, 0.5, {Pick(5, 12)}), "");
    EXPECT_EQ(s.UnitWish[5], 0);
    // The sought wish: lost with even odds...
    EXPECT_EQ(Enemy(100, 0.5, {Pick(2, 12), 0.75}), "");
    EXPECT_EQ(s.UnitWish[5], 0);
    EXPECT_EQ(s.WishKnown[3], 0);
    // ...or kept and announced, which marks it met.
    EXPECT_EQ(Enemy(100, 0.5, {Pick(2, 12), 0.25}), "スタンピード出現！！\r");
    EXPECT_EQ(s.WishKnown[3], 1);
    // A met wish is kept and announced again; a revealed one is kept silently.
    EXPECT_EQ(Enemy(100, 0.5, {Pick(2, 12)}), "スタンピード出現！！\r");
    s.WishKnown[3] = 2;
    EXPECT_EQ(Enemy(100, 0.5, {Pick(2, 12)}), "");
    EXPECT_EQ(s.UnitWish[5], 3);
}

TEST_F(AppearFixture, AnAnnouncementReplacesTheTextInsteadOfAppending) {
    t.g.s.WishKnown[1] = 1;
    t.g.rng.Script({0.0, 0.5, 0.5, Pick(0, 12)});
    std::string text = "前の行";
    double request = 100;
    AppearUnit(t.g, 5, request, text);
    EXPECT_EQ(text, "聖剣師出現！！\r");
}

TEST_F(AppearFixture, TheFourNinesBonusRoundsHalvesToEven) {
    auto& s = t.g.s;
    s.WishKnown[11] = 2;
    Enemy(3, 0.99, {Pick(10, 12)});
    EXPECT_EQ(s.UnitMaxHP[5], 4); // 4.5 → 4
    Enemy(5, 0.99, {Pick(10, 12)});
    EXPECT_EQ(s.UnitMaxHP[5], 8); // 7.5 → 8
    EXPECT_EQ(s.UnitHP[5], 8);
}

TEST_F(AppearFixture, Scene37DrawsZeroOnceDoubleOrFiveTimes) {
    auto& s = t.g.s;
    s.SceneNo = 37;
    const Long expected[4] = {0, 10, 20, 50};
    for (int v = 0; v < 4; ++v) {
        Enemy(10, 0.99, {Pick(0, 12), Pick(v, 4)});
        EXPECT_EQ(s.UnitMaxHP[5], expected[v]) << v;
    }
}

TEST_F(AppearFixture, ARareUnitTakesTheSlotAndStaysUnderTheCap) {
    auto& s = t.g.s;
    for (int i = 0; i <= 4; ++i) s.UnitMaxHP[i] = 9999999;
    // name, strength, rare (0), then the rare unit's wish and row 14 (スマイル, S / 2).
    t.g.rng.Script({0.0, 0.5, 0.0, 0.0, 13.5 / 23});
    std::string text;
    double request = 100;
    AppearUnit(t.g, 5, request, text);
    EXPECT_EQ(s.UnitName[5], "スマイル");
    EXPECT_EQ(s.UnitKind[5], 1014);
    EXPECT_EQ(s.UnitRace[5], 0);
    EXPECT_EQ(s.UnitMaxHP[5], 9999999);
}

TEST(RaceBand, BoundsAreStrict) {
    const std::pair<double, int> cases[] = {{9999, 0},  {10000, 1}, {20000, 1},
                                            {20001, 2}, {26001, 3}, {32001, 4},
                                            {38001, 5}, {44000, 5}, {44001, 6}};
    for (auto [strength, race] : cases) EXPECT_EQ(RaceBand(strength), race) << strength;
}

} // namespace
} // namespace vern::test
