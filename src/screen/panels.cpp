// Drawing the ten board rows from the unit arrays, and the hint shown in the message panel
// until the player clicks the board.
#include "screen/panels.h"

#include "catalogue/units.h"
#include "catalogue/wishes.h"

namespace vern {

bool MarkerColor(int slotState, Color& out) {
    switch (slotState) {
    case 0: out = colors::kWhite; return true;
    case 1: out = RGB(0, 255, 0); return true;
    case 2:
    case 5:
    case 7: out = colors::kRed; return true;
    case 3: out = colors::kGrey; return true;
    case 4: out = colors::kBlack; return true;
    case 6: out = RGB(255, 0, 255); return true;
    default: return false;
    }
}

void STshow(Game& g, int s) {
    auto& st = g.s;
    auto& f = g.f;
    if (!st.UnitName[s].empty() || st.UnitMaxHP[s] != 0) {
        f.Label2[s].Caption = st.UnitName[s];
        f.Label3[s].Caption = std::to_string(st.UnitHP[s]) + "／" + std::to_string(st.UnitMaxHP[s]);
        f.Label4[s].Caption = WishGlyph(st.UnitWish[s]);
        if (st.UnitWishState[s] == 2)
            f.Label4[s].Caption = " o";
        else if (st.UnitWishState[s] == 1)
            f.Label4[s].Caption = "％";
        MarkerColor(st.SlotState[s], f.Shape1[s].FillColor);
        f.Label5[s].Visible = st.SlotCross[s] == 1;
    } else {
        f.Label2[s].Caption = "";
        f.Label3[s].Caption = "";
        f.Shape1[s].FillColor = colors::kGrey;
        f.Label4[s].Caption = "";
        f.Label5[s].Visible = false;
    }
}

void ASTshow(Game& g) {
    if (g.s.SceneNo == 37) {
        g.f.BackColor = colors::kBlack;
        g.f.セーブ.Caption = g.s.SaveOpen ? "セーブ" : "-封鎖-";
    } else {
        g.f.BackColor = colors::kGrey;
        g.f.セーブ.Caption = "セーブ";
    }
    for (int s = 0; s <= 9; ++s) STshow(g, s);
}

void teach(Game& g, const std::string& text) {
    g.f.Label9.Visible = true;
    g.f.Label1.BackColor = colors::kHintBack;
    if (g.s.TeachOn == 0) g.s.TeachSaved = g.f.Label1.Caption;
    g.f.Label1.Caption = text;
    g.s.TeachOn = 1;
    for (int i = 0; i <= 3; ++i) g.f.Command1[i].Enabled = false;
}

void Label9_Click(Game& g) {
    auto& s = g.s;
    g.f.Label9.Visible = false;
    if (s.TeachOn != 1) return;
    s.TeachOn = 0;
    for (int i = 0; i <= 3; ++i) g.f.Command1[i].Enabled = true;
    g.f.Label1.BackColor = colors::kPanelBack;
    g.f.Label1.Caption = s.TeachSaved;
    if (s.Misc[2] == 1) {
        std::string roster = "支配下：";
        for (int r = 1; r <= 6; ++r)
            if (s.ControlledRace[r] == 1) roster += RaceName(r) + "  ";
        roster += CR;
        roster += CR;
        roster += "約束書：";
        for (int w = 1; w <= 10; ++w)
            if (s.PactWish[w] == 1) roster += WishGlyph(w) + "  ";
        roster += CR;
        roster += std::string(11, ' ');
        for (int w = 13; w <= 15; ++w)
            if (s.PactWish[w] == 1) roster += WishGlyph(w) + "  ";
        s.Misc[2] = 0;
        teach(g, roster);
    } else {
        g.f.Picture1.Visible = false;
    }
}

} // namespace vern
