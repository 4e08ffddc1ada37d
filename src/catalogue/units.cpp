// The three name pools, the six races and their creatures, and the unit definition table.
#include "catalogue/units.h"

#include <algorithm>
#include <cstdint>

#include "catalogue/content.h"

namespace vern {

namespace {

// Name pools: index = name number within the pool; nullptr = no name.
constexpr const char* kPoolA[40] = {
    "モンタナ",     "プルーニャ",   "ドゥルーニャ",   "クォレル",         "スタグリフ",
    "パステーニャ", "ルクター",     nullptr,          "バイバル",         "サレルノ",
    "グラッティ",   "ミハイム",     "クラウス",       "アイソリー",       "ベイシティ",
    "ガイドフ",     "コロラド",     "ゼレータ",       "アチェレンド",     "ボア",
    nullptr,        nullptr,        "カトラ",         "トロイ",           "サーモ",
    "チャンドル",   "ベアーハント", "アキオ",         "ボーチェ",         "タタラ",
    "ピロテクニア", "ジップシード", "スターティック", "モラルブレイカー", "ジャハナ",
    "ステゥープ",   "フロムヘヴン", "クレイファーラ", "ラタクス",         "ラフマン"};

constexpr const char* kPoolB[32] = {
    nullptr,        "サリー",     "エッシャーラ",   "セネ",         "リジェカ",
    "クーリ",       "ファナテア", "セドレス",       "ラナ",         "クラティエ",
    "フミ",         "フィオレ",   "ルチャ",         "セレム",       "アチェラフィーデ",
    "カイナ",       "シトネ",     "パーミヤ",       "ラブメーカー", "パフューム",
    "ハートハート", "スフィーダ", "コルミ",         "ステーシー",   "エリエ",
    "シフォン",     "ララソード", "レミ＝スィーン", "パブロア",     "プライベスタ",
    "アリシア",     "エステル"};

constexpr const char* kPoolC[32] = {"トトナ",
                                    "エルントトナ",
                                    "ドドーナ",
                                    "カリフ",
                                    "クリス",
                                    "クィンヒタ",
                                    "ベックィーン",
                                    "ソフォーザ",
                                    "ソフォージ",
                                    "ソフォーズ",
                                    "ソフォーゼ",
                                    "ソフォーゾ",
                                    "ルネ",
                                    "ガラージェ",
                                    "ワナビ",
                                    "パラライン",
                                    "ラフライラス",
                                    "ワダチ",
                                    "ドリームメーカー",
                                    "ディープ",
                                    nullptr,
                                    "モノゴト",
                                    "デキゴト",
                                    "ミューティアライド",
                                    "レル",
                                    "スコッティ",
                                    "ジーニ",
                                    "フロンタシア",
                                    "フェスタ",
                                    "プロムナード",
                                    "モネ",
                                    "ケープ"};

template <std::size_t N> std::string PoolName(const char* const (&pool)[N], long long i) {
    return i >= 0 && i < static_cast<long long>(N) && pool[i] ? pool[i] : "";
}

constexpr const char* kRaceNames[7] = {"", "竜人", "竜", "魔神", "祖", "流祖", "祖神"};

constexpr const char* kFounders[11] = {"",
                                       "聖流祖イルサーネ",
                                       "魔流祖ドルチ",
                                       "舞流祖ラベラージュ",
                                       "殺流祖オルトヴィッヒ",
                                       "命流祖カリソラ",
                                       "白流祖セデロ",
                                       "黒流祖クラミー",
                                       "速流祖ホッサレッセ",
                                       "最流祖カザフォイル",
                                       "喰流祖グレープ"};

constexpr const char* kGods[3] = {"祖神イェンドフィディ", "祖神ノイエヴェル", "祖神フラシオウス"};

constexpr Long kSummonHP[7] = {0, 10000, 20000, 35000, 50000, 50000, 75000};

// Lower bounds of the growth stages 1..9 of kind 91.
constexpr Long kStageFloor[10] = {0, 20, 50, 100, 300, 1000, 3000, 10000, 30000, 99999};

void SplitPicture(const std::string& rest, std::string& folder, std::string& name) {
    auto slash = rest.find('/');
    if (slash == std::string::npos) return;
    folder = rest.substr(0, slash);
    name = rest.substr(slash + 1);
}

} // namespace

std::string DefaultName(Game& g, int n) {
    switch (n) {
    case 1: g.s.NameKind = 0; return "シザ";
    case 2: g.s.NameKind = 1; return "ララスピア";
    default: g.s.NameKind = 2; return "";
    }
}

bool NameTaken(Game& g, int no, const std::string& text) {
    bool taken = false;
    for (int i = 1; i <= 10; ++i)
        if (DefaultName(g, i) == text && i != no) taken = true;
    return taken;
}

std::string UnitNameById(Game& g, long long n) {
    std::string name;
    if (n >= 0 && n <= 99)
        name = PoolName(kPoolA, n);
    else if (n >= 100 && n <= 199)
        name = PoolName(kPoolB, n - 100);
    else if (n >= 200 && n <= 299)
        name = n == 232 ? DefaultName(g, g.s.NameNo) : PoolName(kPoolC, n - 200);
    if (name.empty()) return "";
    for (int s = 0; s <= 9; ++s)
        if (g.s.UnitName[s] == name) return "";
    return name;
}

std::string RaceName(int race) {
    return race >= 1 && race <= 6 ? kRaceNames[race] : "";
}

std::string SummonName(int race, int wish) {
    if (race >= 1 && race <= 4) return RaceName(race);
    if (race == 5 && wish >= 1 && wish <= 10) return kFounders[wish];
    if (race == 6 && wish >= 13 && wish <= 15) return kGods[wish - 13];
    return "";
}

Long SummonHP(int race) {
    return race >= 1 && race <= 6 ? kSummonHP[race] : 0;
}

Long PartyMaxHPSum(const Game& g) {
    // Maxima stay far below the Long range in play; a sum that would leave it stops at its edge.
    long long sum = 0;
    for (int i = 0; i <= 4; ++i) sum += g.s.UnitMaxHP[i];
    return static_cast<Long>(std::clamp<long long>(sum, INT32_MIN, INT32_MAX));
}

int BesuraStage(Long m) {
    if (m > 99999) return -1;
    int stage = 0;
    while (stage < 9 && m >= kStageFloor[stage + 1]) ++stage;
    return stage;
}

UnitDef UnitDefinition(Game& g, int kind) {
    UnitDef def;
    const ContentFile* units = Content("units.txt");
    if (kind == 91) {
        const Long m = g.s.UnitMaxHP[g.s.InfoSlot];
        const int stage = BesuraStage(m);
        def.folder = "キャラ";
        if (stage < 0 || !units) return def;
        if (const ContentEntry* e = units->Find("91/" + std::to_string(stage))) {
            SplitPicture(e->rest, def.folder, def.name);
            def.text = e->Text();
        }
        if (stage < 9) def.text += std::to_string(kStageFloor[stage + 1] - m) + "。";
        return def;
    }
    if (!units) return def;
    const ContentEntry* e = units->Find(std::to_string(kind));
    if (!e) return def;
    def.text = e->Text();
    if (kind == 34) {
        def.folder = g.s.LookupOut[0];
        def.name = g.s.LookupOut[1];
    } else {
        SplitPicture(e->rest, def.folder, def.name);
    }
    return def;
}

} // namespace vern
