// The sixteen wishes: what they are called, how the board marks them, what they do, and the
// wish-list menu that reveals them as the player meets them.
#include "catalogue/wishes.h"

namespace vern {

namespace {

struct WishRow {
    const char* name;
    const char* glyph;
    const char* effect;
};

constexpr WishRow kWishes[16] = {
    {"願いなき者", "   ", "特殊能力なし"},
    {"聖剣師", "〆", "攻撃力２倍"},
    {"魔剣師", "∬", "２回攻撃"},
    {"スタンピード", "＊", "攻撃と同時に目標を足止めする"},
    {"アンチライフ", "Θ", "敵を一撃で葬るが、ダメージが半分帰ってくる"},
    {"ダブルライフ", "％", "一回だけ生き返る"},
    {"白僧", "○", "味方一人のＨＰを回復できる"},
    {"黒僧", "●", "受けるダメージが半分"},
    {"クイック", "⇒", "先制攻撃"},
    {"ＭＡＸ", "Ω", "ダメージを受けても攻撃力・素早さが変化しない"},
    {"喰師", "⊃", "ダメージ分が自分のＨＰになる"},
    {"フォーナイン", "Ⅸ",
     "ならば修行を積むことだ。しかしそれは、ふとした油断でたちまち消え失せてしまう、ひとときのゆ"
     "め"},
    {"支配者", "卍", "竜・魔神・祖を支配し、一度だけ喚び出す"},
    {"邪剣師", "ψ", ""},
    {"トリプルライフ", "‰", ""},
    {"楽園", "仝", ""},
};

struct Saying {
    const char* heading;
    const char* saying;
};

constexpr Saying kSayings[13] = {
    {"No Hope", "･･････「何も欲しくありません。」"},
    {"Saint Sword", "･･････「強大な敵に、立ち向かう力を。」"},
    {"Evil Sword", "･･････「一人でも多くの者に、傷を。」"},
    {"Stampede", "･･････「惑え、狂え、すっ転べ！！！」"},
    {"Anti-Life", "･･････「生にしがみついてはいけない。」"},
    {"Double-Life", "･･････「生きていたい。せめて、あと一回だけでも。」"},
    {"White-Priest", "･･････「傷ついた者に、再び力を。」"},
    {"Black-Priest", "･･････「天よ、私を守り給え。」"},
    {"Quick", "･･････「早く速く！ハヤクしないと間に合わないよ！！」"},
    {"最大のポテンシャル", "･･････「へこたれてる場合じゃないんだ。」"},
    {"Eater", "･･････「腹がへった。目一杯喰わせてくれ。」"},
    {"９９９９－Ｏｖｅｒ", "･･････「能書きはいい、力だ。力をくれ。」"},
    {"Controler", "･･････「お前の自由と権利、全て渡してもらおうか。」"},
};

bool Known(int w) {
    return w >= 0 && w <= 15;
}

} // namespace

std::string WishName(int w) {
    return Known(w) ? kWishes[w].name : "";
}
std::string WishGlyph(int w) {
    return Known(w) ? kWishes[w].glyph : "";
}
std::string WishEffect(int w) {
    return Known(w) ? kWishes[w].effect : "";
}

std::string WishMenuCaption(int w, bool revealed) {
    return revealed ? WishGlyph(w) + " " + WishName(w) : WishGlyph(w) + " ？";
}

std::string WishPageText(int w) {
    // Wishes 13..15 have no menu entry: their page has no heading and no saying.
    const bool hasSaying = w >= 0 && w <= 12;
    std::string text = WishGlyph(w) + " " + WishName(w) + std::string(10, ' ');
    if (hasSaying) text += kSayings[w].heading;
    text += CR;
    if (hasSaying) text += kSayings[w].saying;
    text += CR;
    text += "→" + WishEffect(w) + "。";
    return text;
}

} // namespace vern
