// The rare named units that now and then take an ordinary enemy's place.
#include "battle/rare_units.h"

#include "catalogue/units.h"

namespace vern {

namespace {

bool PartyHasKind(const Game& g, int kind) {
    for (int i = 0; i <= 4; ++i)
        if (g.s.UnitKind[i] == kind) return true;
    return false;
}

Long Nearest(double x) {
    return SaturateToLong(static_cast<double>(RoundHalfEven(x)));
}

} // namespace

void MakeRareUnit(Game& g, int slot) {
    auto& s = g.s;
    static const char* const kNumerals[10] = {"一", "二", "三", "四", "五",
                                              "六", "七", "八", "九", "十"};
    for (;;) {
        s.UnitAttr[slot] = 2;
        s.UnitWish[slot] = static_cast<Byte>(Int(g.Rnd() * 12) + 1);
        s.UnitName[slot] = "";
        const long long r = Ceiling(g.Rnd() * 23);
        const double S = PartyMaxHPSum(g);
        std::string name;
        Int16 kind = 0;
        Long maxHP = 0;
        int wish = -1; // -1: keep the wish drawn above
        auto set = [&](const std::string& n, int k, Long hp, int w) {
            name = n;
            kind = static_cast<Int16>(k);
            maxHP = hp;
            wish = w;
        };
        if (r >= 1 && r <= 10) {
            const int n = static_cast<int>(r);
            set(std::string("黙示録第") + kNumerals[n - 1] + "節", 1000 + n, n, n);
        } else if (r == 11) {
            set("ヘーウッド", 1011, Nearest(S / 5), static_cast<int>(Int(g.Rnd() * 11)));
        } else if (r == 12) {
            set("ねんねこ", 1012, Nearest(S / 10), 0);
        } else if (r == 13) {
            set("歌姫サハイヤ", 1013, Nearest(S / 7), 6);
        } else if (r == 14) {
            set("スマイル", 1014, Nearest(S / 2), 0);
        } else if (r == 15) {
            set("ニフルンクルント", 1015, Nearest(S / 5), static_cast<int>(Int(g.Rnd() * 11)));
        } else if (r == 16) {
            set("理攻歳", 1016, Nearest(S / 5), static_cast<int>(Int(g.Rnd() * 11)));
        } else if (r >= 17 && r <= 20) {
            if (PartyHasKind(g, 1012)) {
                static const char* const kNames[4] = {"ねんねこのあくび", "ねんねこしっぽ",
                                                      "ねんねこまえあし", "ねんねこゆめ"};
                static constexpr int kWishes[4] = {15, 3, 13, 14};
                set(kNames[r - 17], static_cast<int>(1000 + r), Nearest(S / 3), kWishes[r - 17]);
            }
        } else if (r == 21) {
            if (S > 9999 && s.SceneNo < 35) set("ステップトゥヘル", 1021, 0, -1);
        } else if (r == 22) {
            if (s.SceneNo == 37) set("モルティーレ", 1022, 19000, 13);
        } else if (r == 23) {
            if (s.SceneNo == 37 && PartyHasKind(g, 1022))
                set("闇の中で、ケヤキ", 1023, SaturateToLong(S), 14);
        } else {
            set("防号", 1000, 100, 0);
        }
        if (!name.empty()) {
            s.UnitKind[slot] = kind;
            s.UnitMaxHP[slot] = maxHP;
            if (wish >= 0) s.UnitWish[slot] = static_cast<Byte>(wish);
        }
        for (int i = 0; i < slot; ++i)
            if (s.UnitName[i] == name) name = "";
        s.UnitName[slot] = name;
        if (!name.empty()) return;
    }
}

} // namespace vern
