// Start resets the window and the game state in the order the game relies on; what it leaves
// alone (shadow slots 10..19, variables that are not reset) survives a reset and a load.
#include "screen/start.h"

#include <cmath>

#include "catalogue/units.h"
#include "catalogue/wishes.h"
#include "screen/panels.h"

namespace vern {

Long RandomGrowthCap(Game& g) {
    const double u = g.Rnd();
    long long v = Int(std::pow(100.0, 1.0 - u) * 1000 + 9999);
    if (v > 99999) v = 99999;
    return static_cast<Long>(v);
}

void Start(Game& g) {
    auto& s = g.s;
    auto& f = g.f;
    // 1.
    g.rng.Randomize();
    s.SelSlot = 10;
    // 2.
    f.Height = 6165;
    f.Width = 6945;
    f.BackColor = colors::kGrey;
    f.セーブ.Caption = "セーブ";
    // 3.
    f.Label9.Transparent = true;
    f.Label9.Visible = false;
    f.Label9.r = {0, 0, 6855, 5505};
    f.Picture1.Visible = false;
    f.Picture1.r.Top = 1440;
    f.Picture2.Visible = false;
    f.Picture2.r = {0, 0, 6855, 5505};
    f.Image5.Visible = false;
    f.願い一覧.Enabled = true;
    f.Command2.Visible = true;
    // 4.
    s.FastForward = 0;
    f.Timer1.Interval = 200;
    f.Command3.Caption = "早送り";
    f.Command3.Visible = true;
    f.Command4[0].Visible = false;
    f.Command4[1].Visible = false;
    // 5.
    s.GameMode = 0;
    s.ClickState = 0;
    s.PickState = 0;
    s.AskLoad = 0;
    s.SaveOpen = 0;
    s.SceneNo = 1;
    s.StoryStep = 1;
    s.NameNo = 1;
    // 6.
    s.CharName[0] = DefaultName(g, 1);
    s.CharName[1] = DefaultName(g, 2);
    // 7.
    s.StoryBattle = 0;
    s.TeachOn = 0;
    s.NextWish = static_cast<Byte>(Int(g.Rnd() * 10) + 1);
    // 8.
    for (int i = 0; i <= 3; ++i) {
        s.ButtonMode[i] = 0;
        f.Command1[i].Enabled = true;
    }
    // 9.
    f.Label1.BackColor = colors::kPanelBack;
    // 10.
    for (int i = 0; i <= 4; ++i) s.GrowthCap[i] = RandomGrowthCap(g);
    // 11.
    for (int i = 0; i <= 9; ++i) {
        s.UnitName[i] = "";
        s.UnitAttr[i] = 2;
        s.UnitKind[i] = 0;
        s.UnitMaxHP[i] = 0;
        s.UnitHP[i] = 0;
        s.UnitWish[i] = 0;
        s.SlotState[i] = 3;
        s.SlotCross[i] = 0;
        s.UnitWishState[i] = 0;
        s.SlotSummoned[i] = 0;
        f.Label2[i].BackColor = colors::kNameBack;
        f.Label3[i].BackColor = colors::kWhite;
        f.Shape1[i].FillColor = colors::kBlack;
        f.Label8[i].Transparent = true;
    }
    // 12.
    s.TurnNo = 0;
    f.願い[0].Caption = kWishZeroCaption;
    for (int i = 1; i <= 12; ++i) {
        s.WishKnown[i] = 0;
        f.願い[i].Caption = WishMenuCaption(i, false);
    }
    // 13.
    s.TopRaceBeaten = 0;
    for (int r = 1; r <= 6; ++r) s.ControlledRace[r] = 0;
    for (int w = 1; w <= 15; ++w) s.PactWish[w] = 0;
    // 14.
    for (int i = 0; i <= 4; ++i) {
        f.Line2[i].Visible = false;
        f.Label6[i].Caption = "";
    }
    // 15.
    ASTshow(g);
}

} // namespace vern
