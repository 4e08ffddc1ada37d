// The name dialog: default, random and typed names, the ten-character limit and every refusal.
// A name is also refused when the save file could not bring it back unchanged, so that a
// saved name always comes back as it was typed.
#include "screen/name_dialog.h"

#include "catalogue/units.h"
#include "io/cp932.h"
#include "screen/load_cg.h"
#include "state/history.h"

namespace vern {

namespace {

// Assigning Text1 raises its change event, as typing does.
void SetText1(Game& g, const std::string& text) {
    NameInp_Text1_Change(g, text);
}

void CaretToEnd(Game& g) {
    g.n.Text1.focused = true;
    g.n.Text1.SelStart = static_cast<int>(CharCount(g.n.Text1.Text));
}

bool Blank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

bool HasControl(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

// The refusal message for text, or "" when it is accepted. A name the save file could not
// bring back unchanged (it keeps names in CP932 and drops trailing half-width spaces) is refused
// with the reason; "その名前は使用できません。" is for a name another character has.
std::string Refusal(Game& g, const std::string& text) {
    if (Blank(text)) return "名前を入力して下さい。";
    if (HasControl(text)) return "名前に改行やタブなどの制御文字は使えません。";
    if (const std::string c = FirstUnfitting(text); !c.empty())
        return "「" + c + "」は名前に使えない文字です。";
    if (text.back() == ' ') return "名前の終わりに半角スペースは使えません。";
    if (NameTaken(g, g.s.NameNo, text)) return "その名前は使用できません。";
    return "";
}

void Tell(Game& g, const std::string& text) {
    MsgBox(g, text, MsgButtons::OK, false, kDefaultTitle);
}

} // namespace

void ShowNameInp(Game& g) {
    g.n = MakeNameInp();
    g.n.open = true;
    NameInp_Form_Load(g);
    RunNameDialog(g);
    if (g.n.open) NameInp_Form_Unload(g);
}

void NameInp_Form_Load(Game& g) {
    auto& s = g.s;
    if (s.FastForward == kTrue) {
        s.FastForward = 0;
        g.f.Timer1.Interval = 200;
        g.f.Command3.Caption = "早送り";
    }
    s.UnitName[0] = DefaultName(g, s.NameNo);
    SetText1(g, s.UnitName[0]);
    s.RandNameKind = s.NameKind;
    LoadCG(g, "キャラ", DefaultName(g, s.NameNo));
    g.n.Picture1.picture = g.f.Image1.picture;
    CaretToEnd(g);
}

void NameInp_Text1_Change(Game& g, const std::string& typed) {
    // What an input method types in a form the save file does not know is kept in the form it
    // does (〜 as ～ …).
    const std::string text = InCp932Forms(typed);
    g.n.Text1.Text = text;
    if (CharCount(text) > 10) {
        Tell(g, "１０文字までです。");
        g.n.Text1.Text = g.s.UnitName[0];
        CaretToEnd(g);
    } else {
        g.s.UnitName[0] = text;
    }
}

void NameInp_Command1_Click(Game& g) {
    g.s.UnitName[0] = DefaultName(g, g.s.NameNo);
    SetText1(g, g.s.UnitName[0]);
    CaretToEnd(g);
}

void NameInp_Command2_Click(Game& g) {
    auto& s = g.s;
    do {
        long long n = 0;
        switch (s.RandNameKind) {
        case 0: {
            const double r1 = g.Rnd();
            const double r2 = g.Rnd();
            n = Int(2 * r1) * 200 + Int(100 * r2);
            break;
        }
        case 1: {
            const double r1 = g.Rnd();
            const double r2 = g.Rnd();
            n = Int(2 * r1) * 100 + Int(100 * r2) + 100;
            break;
        }
        default: n = Int(300 * g.Rnd()); break;
        }
        s.UnitName[0] = UnitNameById(g, n);
    } while (s.UnitName[0].empty());
    SetText1(g, s.UnitName[0]);
    CaretToEnd(g);
}

void NameInp_Command3_Click(Game& g) {
    const std::string refusal = Refusal(g, g.n.Text1.Text);
    if (!refusal.empty()) {
        Tell(g, refusal);
        SetText1(g, DefaultName(g, g.s.NameNo));
        CaretToEnd(g);
        return;
    }
    NameInp_Form_Unload(g);
}

void NameInp_Form_Unload(Game& g) {
    auto& s = g.s;
    g.n.open = false;
    const std::string refusal = Refusal(g, g.n.Text1.Text);
    if (!refusal.empty()) {
        Tell(g, refusal);
        s.UnitName[0] = "";
    } else {
        s.CharName[s.NameNo - 1] = s.UnitName[0];
    }
}

} // namespace vern
