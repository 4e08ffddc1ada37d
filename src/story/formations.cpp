// Story battles and encounters: the fixed enemy formations, the characters who offer to join,
// and the changes a story step makes to units.
#include "story/formations.h"

#include <cmath>
#include <limits>

#include "battle/game_mode.h"
#include "catalogue/units.h"
#include "story/commands.h"

namespace vern {

namespace {

Long Nearest(double x) {
    return SaturateToLong(static_cast<double>(RoundHalfEven(x)));
}

void Put(Game& g, int slot, const char* name, int kind, int wish, Long maxHP) {
    auto& s = g.s;
    s.UnitName[slot] = name;
    s.UnitKind[slot] = static_cast<Int16>(kind);
    s.UnitWish[slot] = static_cast<Byte>(wish);
    s.UnitMaxHP[slot] = maxHP;
}

void PutRange(Game& g, int from, int to, const char* name, int kind, int wish, Long maxHP) {
    for (int i = from; i <= to; ++i) Put(g, i, name, kind, wish, maxHP);
}

void MakeEmpty(Game& g, int slot) {
    auto& s = g.s;
    s.UnitAttr[slot] = 2;
    s.UnitKind[slot] = 2;
    s.UnitWish[slot] = 0;
    s.UnitRace[slot] = 0;
    s.RecruitMood[slot] = 3;
    s.UnitName[slot] = "空気";
    s.UnitMaxHP[slot] = 0;
}

// The first steps of every story battle and encounter: the picture goes, the party is ready
// to take anyone in, and the enemy side is cleared.
void PrepareEnemySide(Game& g) {
    HidePicture(g);
    g.s.StoryBattle = 1;
    for (int i = 0; i <= 4; ++i) g.s.RecruitMood[i] = 1;
    for (int i = 5; i <= 9; ++i) MakeEmpty(g, i);
}

// The enemies start at full strength, and the window goes back to the command bar.
void OpenBattle(Game& g) {
    for (int i = 5; i <= 9; ++i) g.s.UnitHP[i] = g.s.UnitMaxHP[i];
    g.f.Picture2.Visible = false;
    g.f.願い一覧.Enabled = true;
    for (int i = 0; i <= 3; ++i) g.f.Command1[i].Enabled = true;
}

void ApplyFormation(Game& g, int n) {
    auto& s = g.s;
    const double S = PartyMaxHPSum(g);
    const Long leadHP = s.UnitMaxHP[0];
    const int leadWish = s.UnitWish[0];
    switch (n) {
    case 1: Put(g, 5, "悪", 20, 0, Nearest(S * 2 / 3)); break;
    case 2:
        Put(g, 5, "ラベラージュ", 4, 3, 138);
        Put(g, 6, "キャパシィ", 5, 0, 180);
        Put(g, 7, "メモル", 6, 0, 96);
        Put(g, 8, "ペンティ", 7, 3, 74);
        Put(g, 9, "ラム", 8, 3, 42);
        break;
    case 3: {
        static const char* const kNames[5] = {"ルーブ", "エイデル", "ユークリッド", "ハウィサン",
                                              "ランディ"};
        static constexpr Long kHP[5] = {184, 221, 103, 135, 151};
        // Each of them has, at even odds, the wish the player is looking for or none.
        for (int i = 0; i < 5; ++i)
            Put(g, 5 + i, kNames[i], 9 + i, static_cast<int>(Int(g.Rnd() * 2)) * s.NextWish,
                kHP[i]);
        break;
    }
    case 4: Put(g, 5, "ミシシッピィ", 14, 7, 333); break;
    case 5:
        Put(g, 5, "ライク", 16, 5, Nearest(S / 4));
        PutRange(g, 6, 9, "ショット", 17, 4, 10);
        for (int i = 6; i <= 9; ++i) s.RecruitMood[i] = 2;
        for (int i = 1; i <= 4; ++i) s.RecruitMood[i] = 0;
        break;
    case 6: PutRange(g, 5, 9, "イェロゥワックス", 18, 10, 300); break;
    case 7: Put(g, 5, "クレンエルジェ", 19, 7, 2500); break;
    case 8:
        Put(g, 5, "悪", 20, 0, Nearest(S * 2 / 3));
        PutRange(g, 6, 9, "瘴気", 21, 3, 1);
        break;
    case 10: PutRange(g, 5, 9, "メビウスの帯", 23, 5, 400); break;
    case 11:
        Put(g, 5, "古き良き日の残骸", 24, 0, 777);
        Put(g, 6, "なぞなぞだよ", 25, 3, 100);
        Put(g, 7, "π", 26, 10, 350);
        Put(g, 8, "万札とラブレター", 27, 1, 450);
        Put(g, 9, "日のあたる場所", 28, 0, 888);
        break;
    case 12:
        Put(g, 5, "倦怠感", 29, 5, 638);
        Put(g, 6, "こたえだよ", 30, 4, 100);
        Put(g, 7, "星の見える道", 31, 0, 999);
        Put(g, 8, "カオス不確定", 32, 8, 532);
        Put(g, 9, "ねんねこ", 33, 7, 801);
        break;
    case 13: {
        // フェイク wears the lead's own face: its picture is the lead's.
        const UnitDef def = UnitDefinition(g, s.UnitKind[0]);
        s.LookupOut[0] = def.folder;
        s.LookupOut[1] = def.name;
        if (s.UnitKind[0] == 0) {
            s.LookupOut[0] = "願い";
            s.LookupOut[1] = std::to_string(leadWish);
        }
        Put(g, 5, "フェイク", 34, leadWish, leadHP);
        Put(g, 6, "いつか見た風景", 35, 0, 1111);
        Put(g, 7, "神", 36, 9, 965);
        Put(g, 8, "テイラー展開", 37, 2, 840);
        Put(g, 9, "幸福論", 38, 6, 315);
        break;
    }
    case 14:
        Put(g, 5, "レーテ", 39, 7, 2525);
        PutRange(g, 6, 8, "ミサイル", 40, 4, 100);
        Put(g, 9, "機関銃", 41, 2, 1212);
        break;
    case 15:
        Put(g, 5, "Evil", 42, 2, 2000);
        Put(g, 6, "右の黒翼", 43, 3, 500);
        Put(g, 7, "左の黒翼", 44, 4, 500);
        PutRange(g, 8, 9, "悪意", 45, 10, 1000);
        break;
    case 16: PutRange(g, 5, 9, "クラインの壷", 46, 10, 1000); break;
    case 17:
        Put(g, 5, "ナイル", 47, 9, 2828);
        Put(g, 6, "ガンジス", 48, 10, 1919);
        Put(g, 7, "セーヌ", 49, 6, 1313);
        Put(g, 8, "隅田", 50, 7, 2222);
        Put(g, 9, "アマゾン", 51, 8, 1515);
        break;
    case 18: // slot 8 stays empty
        Put(g, 5, "ボヘミア", 52, 6, 2600);
        PutRange(g, 6, 7, "キアリザード", 53, 10, 3700);
        Put(g, 9, "モルダウ", 54, 2, 2424);
        break;
    case 19:
        Put(g, 5, "魔王", 55, 3, 73);
        Put(g, 6, "ロギオンヘールト", 56, 5, 8642);
        Put(g, 7, "ヴェルナドーラ", 57, 2, 4321);
        Put(g, 8, "死向ミサイルAct1", 58, 4, 2000);
        Put(g, 9, "死向ミサイルAct2", 59, 4, 2000);
        break;
    case 20: Put(g, 5, "セデロ", 61, 6, 121); break;
    case 21: Put(g, 5, "オータム", 62, 12, 97); break;
    case 22: Put(g, 5, "タフク", 63, 0, SaturateToLong(S)); break;
    case 23: Put(g, 5, "カザフォイル", 64, 9, 500); break;
    case 24:
        Put(g, 5, "ゴースト", 65, 6, 260);
        Put(g, 6, "エクトプラスム", 66, 10, 370);
        PutRange(g, 7, 9, "瘴気", 21, 3, 1);
        break;
    case 25:
        Put(g, 5, "ミッセル", 67, 1, 200);
        Put(g, 6, "心理学", 68, 0, 200);
        Put(g, 7, "数学", 69, 0, 200);
        Put(g, 8, "ひとつにするもの", 70, 10, 200);
        Put(g, 9, "流れを見るもの", 71, 9, 199);
        break;
    case 26: Put(g, 5, "悪", 20, 2, 1000); break;
    case 27:
        Put(g, 5, "かけがえのないもの", 72, leadWish, leadHP);
        PutRange(g, 6, 9, "虚無", 73, 0, leadHP);
        break;
    case 28:
        Put(g, 5, "シザ", 74, 5, 5120);
        Put(g, 6, "ケーナ", 75, 2, 2560);
        break;
    case 29: Put(g, 5, "十八戒", 77, 0, 1800); break;
    case 30: PutRange(g, 5, 9, "十八戒", 77, 0, 1800); break;
    case 31:
        Put(g, 5, "ビュラシャ", 78, 7, 2800);
        PutRange(g, 6, 9, "十八戒", 77, 0, 1800);
        break;
    case 32:
        Put(g, 5, "マリア", 79, 7, 4480);
        Put(g, 6, "ピンク・スプライド", 80, 4, 1280);
        PutRange(g, 7, 9, "ゴールドワックス", 81, 6, 2560);
        break;
    case 33: Put(g, 5, "オータム", 82, 12, 98); break;
    case 34:
    case 35: {
        // 35 is the rematch: the same five, stronger.
        const bool rematch = n == 35;
        Put(g, 5, "フレイク", 84, 8, rematch ? 12000 : 1200);
        Put(g, 6, "イクスカリヴェル", 85, 1, rematch ? 99999 : 9999);
        Put(g, 7, "光の鎧", 86, 15, rematch ? 6000 : 600);
        Put(g, 8, "この世界", 87, 10, rematch ? 12000 : 1200);
        Put(g, 9, "メタモルキャンセラー", 88, 3, rematch ? 1 : 0);
        break;
    }
    case 36: PutRange(g, 5, 9, "理攻歳", 1016, 8, 9999); break;
    case 37:
        Put(g, 5, "ケヤキ", 89, 13, 38000);
        Put(g, 6, "モルティーレ", 1022, 13, 19000);
        PutRange(g, 7, 9, "カナタマデツヅクミチ", 90, 13, 9500);
        s.RecruitMood[6] = 1;
        s.RecruitMood[0] = 0;
        break;
    default: break; // no such formation: the enemy side stays empty
    }
}

} // namespace

void SetFormation(Game& g, int n) {
    PrepareEnemySide(g);
    if (n == 0) {
        // Formation 0 is an ordinary random encounter in which anyone may join.
        for (int i = 0; i <= 9; ++i) g.s.RecruitMood[i] = 2;
    } else {
        ApplyFormation(g, n);
    }
    OpenBattle(g);
    Mshow(g, n == 0 ? 3 : 21);
}

void StartEncounter(Game& g, int n) {
    auto& s = g.s;
    PrepareEnemySide(g);
    const double S = PartyMaxHPSum(g);
    switch (n) {
    case 1: {
        const int wish = static_cast<int>(Int(g.Rnd() * 10)) + 1;
        Put(g, 5, "マリア", 3, wish, Nearest(S / 4));
        s.RecruitMood[5] = 1;
        s.RecruitMood[0] = 0;
        break;
    }
    case 2:
        Put(g, 5, "ガーナ", 15, 4, 73);
        s.RecruitMood[5] = 1;
        s.RecruitMood[0] = 0;
        break;
    case 3:
        Put(g, 5, "ファイブスター", 22, 1, Nearest(S / 4));
        s.RecruitMood[5] = 1;
        break;
    default: break;
    }
    OpenBattle(g);
    Mshow(g, 22);
}

void ChangeUnit(Game& g, int slot, int change) {
    auto& s = g.s;
    s.UnitAttr[slot] = 2;
    switch (change) {
    case 1: // the unit leaves: an empty place
        s.UnitName[slot] = "空気";
        s.UnitKind[slot] = 2;
        s.UnitWish[slot] = 0;
        s.UnitMaxHP[slot] = 0;
        break;
    case 2: s.UnitKind[slot] = 60; break;
    case 3: s.UnitKind[slot] = 76; break;
    case 4: s.UnitKind[slot] = 83; break;
    case 5: s.UnitKind[slot] = 1; break;
    default: break;
    }
    s.UnitHP[slot] = s.UnitMaxHP[slot];
}

void ScalePartyMaxHP(Game& g, double factor) {
    auto& s = g.s;
    for (int i = 0; i <= 4; ++i) {
        s.UnitMaxHP[i] = SaturateToLong(std::ceil(factor * s.UnitMaxHP[i]));
        s.UnitHP[i] = s.UnitMaxHP[i];
    }
}

} // namespace vern
