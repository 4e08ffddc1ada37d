// Recruiting after a victory or in a story encounter: the player clicks the unit to ask, then
// (for an ordinary unit) the party member who makes room for it. What a confirmed recruit or
// trade does is the command bar's business; the picks only choose, answer and set the buttons.
#include "battle/recruit.h"

#include <string>

#include "screen/command_bar.h"

namespace vern {

namespace {

constexpr Color kPicked = RGB(128, 128, 255);

void Say(Game& g, const std::string& text) {
    g.f.Label1.Caption = text;
}

// A candidate on the opposing side answers by its mood. Returns true when it agreed.
bool Answer(Game& g, int i, const std::string& consent) {
    const std::string& name = g.s.UnitName[i];
    switch (g.s.RecruitMood[i]) {
    case 3: Say(g, name + "は仲間にならない。"); return false;
    case 0: Say(g, name + "は申し出を断った。"); return false;
    case 1:
        Say(g, name + "は申し出を受け入れた。" + CR + consent);
        g.ui.Cue(Sound::Recruit);
        return true;
    default: return false; // mood 2 keeps silent: the previous message stays
    }
}

void PickCandidate(Game& g, int i) {
    auto& s = g.s;
    if (i <= 4) {
        g.svc.Beep();
        return;
    }
    const int race = s.UnitRace[i];
    if (race != 0) {
        // Races can be talked to only once the 支配者 wish has come into the party.
        if (s.WishKnown[12] != 2) {
            Say(g, s.UnitName[i] + "と話せなかった。");
            return;
        }
        if (s.ControlledRace[race] == 1) {
            Say(g, s.UnitName[i] + "は既に同行しています。");
            return;
        }
        if (!Answer(g, i, "――本当に連れて行きますか？")) return;
        g.f.Label2[i].BackColor = kPicked;
        s.RecruitSlot = static_cast<Byte>(i);
        SetButtons(g, "やめとく", "連れてく");
        s.ClickState = 4;
        s.PickState = 0;
        return;
    }
    if (!Answer(g, i, "――誰と交代しますか？")) return;
    s.RecruitSlot = static_cast<Byte>(i);
    g.f.Label2[i].BackColor = kPicked;
    SetSingleButton(g, "戻る");
    s.ClickState = 3;
    s.PickState = 3;
}

void PickPartner(Game& g, int j) {
    auto& s = g.s;
    if (j >= 5) {
        g.svc.Beep();
        return;
    }
    const bool hero = j == 0;
    if (s.RecruitMood[j] == 1) {
        Say(g, s.UnitName[j] + (hero ? "は覚悟を決めた。" : "は別れを決心した。") + CR +
                   "本当にトレードしますか？");
        g.f.Label2[j].BackColor = kPicked;
        s.TradeSlot = static_cast<Byte>(j);
        SetButtons(g, "やめとく", "トレード");
        s.ClickState = 3;
        s.PickState = 0;
        return;
    }
    // A refusal keeps the partner pick open: another member may be asked.
    Say(g, s.UnitName[j] + (hero ? "は覚悟を決め兼ねた。" : "は別れを拒んだ。"));
}

} // namespace

void RecruitPick(Game& g, int i) {
    if (g.s.PickState == 2) {
        PickCandidate(g, i);
    } else if (g.s.PickState == 3) {
        PickPartner(g, i);
    }
}

} // namespace vern
