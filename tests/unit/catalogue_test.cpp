// Names, races, creatures, unit definitions and the wish list.
#include <gtest/gtest.h>

#include "catalogue/content.h"
#include "catalogue/music.h"
#include "catalogue/units.h"
#include "catalogue/wishes.h"
#include "fake_services.h"
#include "screen/start.h"
#include "screen/wish_page.h"

namespace vern::test {
namespace {

TEST(UnitNameById, ReadsThePoolsAndRefusesNamesOnTheBoard) {
    TestGame t;
    Start(t.g);
    const std::pair<long long, const char*> cases[] = {
        {0, "モンタナ"}, {7, ""},         {39, "ラフマン"},  {40, ""},  {99, ""},
        {100, ""},       {101, "サリー"}, {131, "エステル"}, {132, ""}, {200, "トトナ"},
        {220, ""},       {231, "ケープ"}, {232, "シザ"},     {233, ""}, {299, ""},
        {300, ""},       {-1, ""},
    };
    for (auto [id, name] : cases) EXPECT_EQ(UnitNameById(t.g, id), name) << id;
    t.g.s.NameNo = 2;
    EXPECT_EQ(UnitNameById(t.g, 232), "ララスピア");
    EXPECT_EQ(t.g.s.NameKind, 1);
    t.g.s.NameNo = 3;
    EXPECT_EQ(UnitNameById(t.g, 232), "");
    t.g.s.UnitName[9] = "サリー";
    EXPECT_EQ(UnitNameById(t.g, 101), "");
    t.g.s.UnitName[12] = "トトナ"; // a shadow slot is not on the board
    EXPECT_EQ(UnitNameById(t.g, 200), "トトナ");
}

TEST(Races, NamesCreaturesAndHitPoints) {
    EXPECT_EQ(RaceName(1), "竜人");
    EXPECT_EQ(RaceName(6), "祖神");
    EXPECT_EQ(RaceName(0), "");
    EXPECT_EQ(RaceName(7), "");
    EXPECT_EQ(SummonName(2, 7), "竜");
    EXPECT_EQ(SummonName(5, 11), "");
    EXPECT_EQ(SummonName(5, 10), "喰流祖グレープ");
    EXPECT_EQ(SummonName(6, 13), "祖神イェンドフィディ");
    EXPECT_EQ(SummonName(6, 12), "");
    const Long hp[8] = {0, 10000, 20000, 35000, 50000, 50000, 75000, 0};
    for (int r = 0; r <= 7; ++r) EXPECT_EQ(SummonHP(r), hp[r]) << r;
}

TEST(UnitDefinition, HasEveryKindWithItsPicture) {
    TestGame t;
    // The pictures the game names for its beings.
    const std::pair<int, const char*> pictures[] = {
        {1, "キャラ/シザ"},
        {4, "祖/3"},
        {14, "物/ひこうき"},
        {24, "場面/がらくた"},
        {33, "キャラ/ねんねこ"},
        {57, "物/ヴェルナドーラ"},
        {60, "キャラ/ララスピア"},
        {64, "祖/9"},
        {76, "キャラ/ララスピア２"},
        {83, "キャラ/ララスピア０"},
        {1000, "キャラ/防号"},
        {1021, "物/ステップトゥヘル"},
        {1023, "キャラ/ケヤキ２"},
        {2, "/"},
        {90, "/"},
        {1022, "/"},
    };
    for (auto [kind, picture] : pictures) {
        UnitDef d = UnitDefinition(t.g, kind);
        EXPECT_EQ(d.folder + "/" + d.name, picture) << kind;
        EXPECT_FALSE(d.text.empty()) << kind;
    }
    for (int kind = 1; kind <= 1023; kind = kind == 90 ? 1000 : kind + 1)
        EXPECT_FALSE(UnitDefinition(t.g, kind).text.empty()) << kind;
    const UnitDef none = UnitDefinition(t.g, 0);
    EXPECT_EQ(none.text + none.folder + none.name, "");
    EXPECT_EQ(UnitDefinition(t.g, 92).text, "");
}

TEST(UnitDefinition, ComputedEntries) {
    TestGame t;
    t.g.s.LookupOut[0] = "願い";
    t.g.s.LookupOut[1] = "7";
    UnitDef fake = UnitDefinition(t.g, 34);
    EXPECT_EQ(fake.folder + "/" + fake.name, "願い/7");

    t.g.s.InfoSlot = 6;
    const std::tuple<Long, const char*, const char*> stages[] = {
        {15, "ベスラ０", "5。"},      {-3, "ベスラ０", "23。"},  {20, "ベスラ１", "30。"},
        {299, "ベスラ３", "1。"},     {9999, "ベスラ６", "1。"}, {99998, "ベスラ８", "1。"},
        {99999, "ベスラ９", nullptr}, {100000, "", nullptr},
    };
    for (auto [m, picture, tail] : stages) {
        t.g.s.UnitMaxHP[6] = m;
        UnitDef d = UnitDefinition(t.g, 91);
        EXPECT_EQ(d.folder, "キャラ") << m;
        EXPECT_EQ(d.name, picture) << m;
        if (tail) {
            const std::string end = tail;
            ASSERT_GE(d.text.size(), end.size()) << m;
            EXPECT_EQ(d.text.substr(d.text.size() - end.size()), end) << m;
            EXPECT_NE(d.text[d.text.size() - end.size() - 1], '1') << "the whole number";
        }
    }
    t.g.s.UnitMaxHP[6] = 100000;
    EXPECT_EQ(UnitDefinition(t.g, 91).text, "");
}

TEST(WishMenu, ShowsUnrevealedAndRevealedTexts) {
    TestGame t;
    Start(t.g);
    auto& s = t.g.s;
    const auto show = [&](int w) {
        s.TeachOn = 0;
        願い_Click(t.g, w);
        return t.g.f.Label1.Caption;
    };
    EXPECT_EQ(show(0),
              "    願いなき者          No Hope\r･･････「何も欲しくありません。」\r→特殊能力なし。");
    EXPECT_EQ(show(6), "○：味方一人のＨＰを回復できる");
    EXPECT_EQ(show(11), "？？？？");
    EXPECT_EQ(show(12), "？？？？");
    EXPECT_EQ(s.Misc[2], 0);
    s.WishKnown[6] = 1; // met is not revealed
    EXPECT_EQ(show(6), "○：味方一人のＨＰを回復できる");
    s.WishKnown[6] = 2;
    EXPECT_EQ(show(6),
              "○ 白僧          "
              "White-Priest\r･･････「傷ついた者に、再び力を。」\r→味方一人のＨＰを回復できる。");
    s.WishKnown[12] = 2;
    show(12);
    EXPECT_EQ(s.Misc[2], 1);
    show(6);
    EXPECT_EQ(s.Misc[2], 0);
    EXPECT_EQ(show(14), "‰ トリプルライフ          \r\r→。");
    EXPECT_FALSE(t.g.f.Picture1.Visible);
    EXPECT_EQ(WishMenuCaption(9, true), "Ω ＭＡＸ");
    EXPECT_EQ(WishMenuCaption(9, false), "Ω ？");
}

TEST(Content, ParsesEntriesAndReportsMalformedLines) {
    const ContentFile f =
        ParseContent("t", "# note\n@a 物/x\n|one\n|\n|  three\n\n@b\nstray\n@a\n");
    ASSERT_EQ(f.entries.size(), 3u);
    EXPECT_EQ(f.Find("a")->rest, "物/x");
    EXPECT_EQ(f.Find("a")->Text(), "one\r\r  three");
    EXPECT_EQ(f.Find("b")->Text(), "");
    EXPECT_EQ(f.errors.size(), 2u); // the stray line and the duplicate key
}

TEST(Content, CompiledInFilesAreWellFormed) {
    for (const std::string& path : ContentPaths()) {
        const ContentFile* f = Content(path);
        ASSERT_NE(f, nullptr) << path;
        EXPECT_TRUE(f->errors.empty()) << path << ": " << (f->errors.empty() ? "" : f->errors[0]);
    }
}

} // namespace
} // namespace vern::test

namespace vern::test {
namespace {

TEST(MusicTable, TheGamesTableReadsWithoutFaultAndFindsItsPieces) {
    const MusicTable& table = Music();
    EXPECT_TRUE(table.errors.empty()) << table.errors.front();
    EXPECT_FALSE(table.Mode("title").empty());
    EXPECT_FALSE(table.AtStep(1, 1).empty());
    EXPECT_FALSE(table.Battle(1).empty());
}

TEST(MusicTable, StepsChooseTheLastPieceAtOrBeforeThemAndFaultsAreNamed) {
    const ContentFile file = ParseContent("music.txt", "@modes\n|title title\n@5\n|1 everyday\n"
                                                       "|20 tension\n|battle boss\n@6\n|3 nothing\n"
                                                       "|9 dark\n|4 dark\n|tune dark\n@x\n");
    const MusicTable t = ParseMusicTable(file);
    EXPECT_EQ(t.AtStep(5, 1), "everyday");
    EXPECT_EQ(t.AtStep(5, 19), "everyday");
    EXPECT_EQ(t.AtStep(5, 501), "tension");
    EXPECT_EQ(t.AtStep(7, 1), "");
    EXPECT_EQ(t.Battle(5), "boss");
    // An unknown piece, steps that fall, a line of neither kind, a head of neither kind, and
    // the screens @modes leaves without a piece.
    const std::string all = [&] {
        std::string joined;
        for (const std::string& e : t.errors) joined += e + "\n";
        return joined;
    }();
    for (const char* fault : {"no piece \"nothing\"", "steps must rise", "\"tune dark\"", "@x",
                              "no piece for free", "no piece for defeat"})
        EXPECT_NE(all.find(fault), std::string::npos) << fault << " in\n" << all;
}

} // namespace
} // namespace vern::test
