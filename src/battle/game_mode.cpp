// The game-mode state machine: every screen outside the story, from the first "スタート" to the
// free menu, the encounter prompt, the turn screen, victory, growth and the clear-up.
#include "battle/game_mode.h"

#include <algorithm>
#include <limits>

#include "battle/appear.h"
#include "battle/command_input.h"
#include "battle/effects.h"
#include "battle/save_file.h"
#include "battle/save_slots.h"
#include "battle/turn.h"
#include "catalogue/wishes.h"
#include "screen/command_bar.h"
#include "screen/name_dialog.h"
#include "screen/panels.h"
#include "screen/start.h"
#include "state/history.h"
#include "story/dispatcher.h"

namespace vern {

namespace {

void EmptyEnemySlots(Game& g) {
    auto& s = g.s;
    for (int i = 5; i <= 9; ++i) {
        s.UnitName[i] = "";
        s.UnitMaxHP[i] = 0;
        s.SlotState[i] = 3;
        s.SlotCross[i] = 0;
        s.UnitWishState[i] = 0;
    }
}

std::string TurnCaption(const Game& g) {
    return "第" + std::to_string(g.s.TurnNo) + "ターン";
}

// Modes 6 and 66: the turn screen with the flight outcome drawn now.
void TurnScreen(Game& g) {
    ASTshow(g);
    SetButtons3(g, "Fight!!", "逃げる", "情報");
    int flight = 15;
    if (g.s.StoryBattle != 1) flight = Int(g.Rnd() * 2) == 0 ? 14 : 15;
    SetChoice3(g, 7, flight, 65);
}

std::string Encounter(Game& g) {
    auto& s = g.s;
    double top = 0, sum = 0;
    for (int i = 0; i <= 4; ++i) {
        top = std::max<double>(top, s.UnitMaxHP[i]);
        sum += s.UnitMaxHP[i];
    }
    std::string text;
    for (int i = 5; i <= 9; ++i) {
        const long long r = Int(g.Rnd() * 6);
        double request = 0;
        switch (r) {
        case 0: request = 100; break;
        case 1: request = top * 6 / 5; break;
        case 2: request = sum * 3 / 10; break;
        case 3: request = 200; break;
        case 4: request = sum; break;
        default: request = -1; break;
        }
        AppearUnit(g, i, request, text);
    }
    ASTshow(g);
    static const char* const kPrompts[10] = {
        "戦いますか？", "狩りますか？",   "やっつけますか？", "攻めますか？", "ふっかけますか？",
        "挑みますか？", "勝負しますか？", "暴れますか？",     "殺りますか？", "片づけますか？"};
    const long long t = Int(g.Rnd() * 15);
    text += kPrompts[t >= 10 ? 0 : t];
    s.EncounterText = text;
    SetButtons3(g, "はい", "いいえ", "情報");
    SetChoice3(g, 5, 4, 16);
    g.f.セーブ.Enabled = false;
    s.SaveOpen = 0;
    if (s.SceneNo == 37 && Int(g.Rnd() * 10) == 0) {
        SetButtons3(g, "イイエ!", "ハイ!", "情報");
        SetChoice3(g, 4, 5, 16);
    }
    return text;
}

std::string Victory(Game& g) {
    auto& s = g.s;
    std::string text = "勝った！！！";
    s.SaveOpen = Int(g.Rnd() * 2) == 0 ? kTrue : 0;
    SendSummonsBack(g);
    ASTshow(g);
    for (int i = 0; i <= 9; ++i)
        if (s.RecruitMood[i] == 2 || s.StoryBattle == 0)
            s.RecruitMood[i] = static_cast<Byte>(Int(g.Rnd() * 2));
    bool pact = false;
    for (int i = 5; i <= 9; ++i) {
        const int race = s.UnitRace[i];
        if (race <= 0) continue;
        if (s.TopRaceBeaten < race) {
            if (race == 4) {
                MsgBox(g, std::string("祖に勝った！！") + CR + "願い≪支配者≫が解禁された！！≫",
                       MsgButtons::OK, false, kDefaultTitle);
                s.WishKnown[12] = 1;
            }
            s.TopRaceBeaten = static_cast<Byte>(race);
        }
        const int w = s.UnitWish[i];
        if ((race == 5 || race == 6) && s.PactWish[w] == 0) {
            text += pact ? std::string(" と ") : std::string(1, CR);
            text += "『" + WishName(w) + "』";
            pact = true;
            s.PactWish[w] = 1;
        }
    }
    if (pact) {
        text += CR;
        text += "の約束書を手に入れた！！";
        g.svc.Beep();
    }
    return text;
}

std::string Growth(Game& g) {
    auto& s = g.s;
    const int k = s.GrowthSlot;
    const Long cap = s.UnitWish[k] == 11 ? s.GrowthCap[k] : 9999;
    std::string text;
    if (s.UnitHP[k] > 0 && s.UnitMaxHP[k] < cap) {
        const double base = k == 0 ? 2.0 * s.UnitHP[0] : static_cast<double>(s.UnitHP[k]);
        long long gain = Ceiling(base / 10);
        if (s.UnitMaxHP[k] + gain > cap) gain = cap - s.UnitMaxHP[k];
        s.UnitMaxHP[k] = static_cast<Long>(s.UnitMaxHP[k] + gain);
        text = s.UnitName[k] + "の武力が" + std::to_string(gain) + "アップした！";
    } else {
        text = s.UnitName[k] + "の武力は変化しなかった。";
    }
    s.GrowthSlot = static_cast<Byte>(k + 1);
    ASTshow(g);
    if (s.GrowthSlot < 5) SetChoice1(g, 11);
    return text;
}

void ClearUp(Game& g) {
    auto& s = g.s;
    for (int i = 0; i <= 4; ++i) {
        s.UnitHP[i] = s.UnitMaxHP[i];
        s.SlotState[i] = 0;
        s.SlotCross[i] = 0;
        s.UnitWishState[i] = 0;
    }
    EmptyEnemySlots(g);
    g.f.Label2[s.RecruitSlot].BackColor = colors::kNameBack;
    g.f.Label2[s.TradeSlot].BackColor = colors::kNameBack;
    ASTshow(g);
    if (s.StoryBattle != 0) {
        SetChoice1(g, 20);
        s.StoryBattle = 0;
    } else {
        SetChoice1(g, 18);
        g.f.セーブ.Enabled = true;
    }
    bool allNines = true;
    for (int i = 0; i <= 4; ++i)
        if (s.UnitMaxHP[i] < 9999) allNines = false;
    if (allNines && s.WishKnown[11] == 0) {
        MsgBox(g, std::string("オール９の境地に到達、") + CR + "願い≪フォーナイン≫が現出した！！",
               MsgButtons::OK, false, kDefaultTitle);
        s.WishKnown[11] = 1;
    }
}

std::string FreeMenu(Game& g) {
    auto& s = g.s;
    EmptyEnemySlots(g);
    ASTshow(g);
    if (s.StoryBattle != 0) {
        SetButtons(g, "", "＞");
        SetChoice2(g, 0, 20);
        s.StoryBattle = 0;
        return "";
    }
    if (s.SceneNo == 37 && s.SaveOpen == 0) {
        SetButtons3(g, "ﾌﾘｰﾌｧｲﾄ", "先に進む", "-封鎖-");
        SetChoice3(g, 3, 19, 18);
    } else {
        SetButtons3(g, "ﾌﾘｰﾌｧｲﾄ", "先に進む", "セーブ");
        SetChoice3(g, 3, 19, 28);
    }
    return "どうしますか？";
}

void RollParty(Game& g) {
    std::string scratch;
    for (int i = 0; i <= 4; ++i) {
        double request = 100;
        AppearUnit(g, i, request, scratch);
    }
    ASTshow(g);
    SetButtons(g, "はい", "いいえ");
    SetChoice2(g, 2, 27);
}

} // namespace

void SendSummonsBack(Game& g) {
    auto& s = g.s;
    for (int i = 0; i <= 9; ++i) {
        if (s.SlotSummoned[i] != 1) continue;
        s.SlotSummoned[i] = 0;
        MoveUnit(g, i + 10, i);
        s.SlotState[i] = 0;
        s.SlotCross[i] = 0;
    }
}

std::string EscapePenalty(Game& g, bool inBattle) {
    auto& s = g.s;
    std::string text = inBattle ? "逃げきった。（武力ー１）" : "逃げた。（武力ー１）";
    for (int i = 0; i <= 4; ++i) {
        if (i != 0 && s.UnitKind[i] >= 1) continue;
        if (s.UnitMaxHP[i] <= 9999) {
            s.UnitMaxHP[i] -= 1;
        } else {
            s.UnitMaxHP[i] = static_cast<Long>(Int(g.Rnd() * (s.UnitMaxHP[i] - 9999.0)) + 9999);
            text = std::string("逃げた。（武力ー１）") + CR + CR +
                   (inBattle ? "境界を越えた拡大武力が破裂した。"
                             : "境界を越えたの拡大武力が破裂した。");
        }
        if (s.UnitMaxHP[i] < 1) s.UnitMaxHP[i] = 1;
    }
    for (int i = 0; i <= 4; ++i) s.UnitHP[i] = s.UnitMaxHP[i];
    return text;
}

std::string RunGameMode(Game& g, Int16 mode) {
    auto& s = g.s;
    SetSingleButton(g, "＞");
    s.ClickState = 0;
    std::string text;
    switch (mode) {
    case 0:
        for (int i = 0; i <= 9; ++i) s.UnitName[i] = "";
        SetSingleButton(g, "スタート");
        break;
    case 1:
        AskHeroName(g);
        RollParty(g);
        text = "これでいいですか？";
        break;
    case 2:
        text = "Ｏ．Ｋ．";
        SetChoice1(g, 18);
        g.f.セーブ.Enabled = true;
        break;
    case 3: text = Encounter(g); break;
    case 4:
        text = EscapePenalty(g, false);
        ASTshow(g);
        if (s.StoryBattle == 0) g.f.セーブ.Enabled = true;
        SetButtons(g, "", "＞");
        SetChoice2(g, 0, 18);
        break;
    case 5:
        text = "戦闘開始！！";
        s.TurnNo = 0;
        break;
    case 6:
        TurnStart(g);
        TurnScreen(g);
        text = TurnCaption(g);
        break;
    case 7: text = PhaseStep(g); break;
    case 8:
        text = "全滅した･･････";
        Start(g);
        SetChoice1(g, 0);
        s.AskLoad = kTrue;
        break;
    case 9: text = Victory(g); break;
    case 10:
        text = std::string("仲間に誘いますか？") + CR + "それとも武力を高めますか？";
        SetButtons3(g, "誘う", "武力ＵＰ", "情報");
        SetChoice3(g, 13, 11, 105);
        s.RecruitSlot = 0;
        s.TradeSlot = 0;
        s.PickState = 0;
        s.GrowthSlot = 0;
        break;
    case 11: text = Growth(g); break;
    case 12: ClearUp(g); break;
    case 13:
        text = "誰を誘いますか？";
        SetSingleButton(g, "やめる");
        SetChoice1(g, 10);
        s.PickState = 2;
        break;
    case 14:
        SendSummonsBack(g);
        text = EscapePenalty(g, true);
        ASTshow(g);
        if (s.StoryBattle == 0) g.f.セーブ.Enabled = true;
        SetChoice1(g, 12);
        break;
    case 15:
        text = s.StoryBattle == 1 ? "逃げられない！！" : "回り込まれた！！";
        for (int i = 0; i <= 4; ++i)
            if (s.SlotState[i] != 4) s.SlotState[i] = 3;
        SetChoice1(g, 7);
        break;
    case 16:
        text = "誰の情報を見ますか？";
        SetSingleButton(g, "戻る");
        if (s.StoryBattle == 1) SetChoice1(g, 21);
        s.PickState = 5;
        break;
    case 17:
        text = s.EncounterText;
        SetButtons3(g, "はい", "いいえ", "情報");
        SetChoice3(g, 5, 4, 16);
        s.PickState = 0;
        break;
    case 18: text = FreeMenu(g); break;
    case 19:
        text = "先に進みますか？";
        SetButtons(g, "はい", "いいえ");
        SetChoice2(g, 26, 18);
        break;
    case 20:
        // Back to the story one step further (the counter stops at its limit, as the
        // story's own advance does).
        if (s.StoryStep < std::numeric_limits<Int16>::max()) ++s.StoryStep;
        STORYshow(g);
        break;
    case 21:
        text = "臨戦態勢です。";
        ASTshow(g);
        g.f.セーブ.Enabled = false;
        s.PickState = 0;
        SetButtons(g, "戦う", "情報");
        SetChoice2(g, 5, 16);
        break;
    case 22:
        text = "仲間に誘いますか？";
        ASTshow(g);
        s.RecruitSlot = 0;
        s.TradeSlot = 0;
        s.PickState = 0;
        s.GrowthSlot = 0;
        SetButtons3(g, "誘う", "誘わない", "情報");
        SetChoice3(g, 23, 24, 25);
        break;
    case 23:
        text = "誰を誘いますか？";
        SetSingleButton(g, "やめる");
        SetChoice1(g, 22);
        s.PickState = 2;
        break;
    case 24:
        text = "ストーリーに戻りますか？";
        SetButtons(g, "はい", "いいえ");
        SetChoice2(g, 12, 22);
        break;
    case 25:
        text = "誰の情報を見ますか？";
        SetSingleButton(g, "戻る");
        SetChoice1(g, 22);
        s.PickState = 5;
        break;
    case 26: STORYshow(g); break;
    case 27:
        RollParty(g);
        text = "これでいいですか？";
        break;
    case 28:
        SetChoice1(g, 18);
        s.AskSave = kTrue;
        break;
    case 65:
        text = "誰の情報を見ますか？";
        SetSingleButton(g, "戻る");
        s.PickState = 5;
        break;
    case 66:
        s.PickState = 0;
        TurnScreen(g);
        text = TurnCaption(g);
        break;
    case 105:
        text = "誰の情報を見ますか？";
        SetSingleButton(g, "戻る");
        SetChoice1(g, 10);
        s.PickState = 5;
        break;
    default: break;
    }
    return text;
}

void Mshow(Game& g, Int16 mode) {
    std::string text = RunGameMode(g, mode);
    g.f.Label1.Caption = text;
}

void AskHeroName(Game& g) {
    g.s.UnitName[0] = "";
    while (g.s.UnitName[0].empty()) ShowNameInp(g);
}

void RunDeferredRequests(Game& g) {
    if (g.s.AskLoad == kTrue) {
        const int loads = g.ui.loads;
        ロード_Click(g);
        // The game's own flow ended without a load: the latest autosave is offered.
        if (g.ui.loads == loads && !g.ended) OfferLatestAutosave(g);
    }
    g.s.AskLoad = 0;
    if (g.s.AskSave == kTrue) セーブ_Click(g);
    g.s.AskSave = 0;
}

void Command1_Click(Game& g, int i) {
    auto& s = g.s;
    if (g.f.Command1[i].Caption.empty()) return;
    bool deferred = true;
    if (s.ClickState == 0) {
        s.GameMode = static_cast<Int16>(s.GameMode + 1);
        Mshow(g, s.GameMode);
    } else if (s.ClickState == 1) {
        s.GameMode = s.ButtonMode[i];
        Mshow(g, s.GameMode);
    } else if (s.ClickState >= 2 && s.ClickState <= 10) {
        deferred = BattleCommand(g, i);
    }
    if (deferred) RunDeferredRequests(g);
}

} // namespace vern
