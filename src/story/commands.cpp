// The story commands. Every picture a scene shows goes through the picture store Img(0..20):
// slot 0 holds the lead's portrait, re-read before every step; slots 1 upward hold what the
// scene loaded at its step 1.
#include "story/commands.h"

#include <limits>

#include "catalogue/units.h"
#include "screen/command_bar.h"
#include "screen/load_cg.h"
#include "screen/panels.h"

namespace vern {

void LoadLeadPortrait(Game& g) {
    // Always the キャラ folder, whatever folder the unit catalogue names for the kind.
    const UnitDef def = UnitDefinition(g, g.s.UnitKind[0]);
    LoadCG(g, "キャラ", def.name);
    g.f.Img[0].picture = g.f.Image1.picture;
    g.s.NextPicSlot = 1;
}

void LoadScenePicture(Game& g, const std::string& folder, const std::string& name) {
    LoadCG(g, folder, name);
    // The store has 20 scene slots; a scene never loads more, and a further load has no slot.
    if (!decltype(g.f.Img)::inRange(g.s.NextPicSlot)) return;
    g.f.Img[g.s.NextPicSlot].picture = g.f.Image1.picture;
    g.s.NextPicSlot = static_cast<Byte>(g.s.NextPicSlot + 1);
}

void ShowPicture(Game& g, int slot) {
    PictureBox& frame = g.f.Picture3;
    frame.picture = g.f.Img[slot].picture;
    // The frame takes the picture's size, then its centre goes to the picture area's centre.
    frame.r.Width = frame.picture.widthPx * 15;
    frame.r.Height = frame.picture.heightPx * 15;
    frame.r.Left = kPictureCentreX - frame.r.Width / 2;
    frame.r.Top = kPictureCentreY - frame.r.Height / 2;
    frame.Visible = true;
}

void HidePicture(Game& g) {
    g.f.Picture3.Visible = false;
}

void JumpToStep(Game& g, Int16 n) {
    // The step counter stops at its lower limit: a jump to -32768 leaves it there (the next
    // advance then shows -32767) instead of running past the end of the counter.
    if (n == std::numeric_limits<Int16>::min())
        g.s.StoryStep = n;
    else
        g.s.StoryStep = static_cast<Int16>(n - 1);
}

void EndScene(Game& g) {
    auto& s = g.s;
    if (s.SceneNo < std::numeric_limits<Int16>::max())
        s.SceneNo = static_cast<Int16>(s.SceneNo + 1);
    s.StoryStep = 1;
    SetChoice1(g, 18);
    ASTshow(g);
    g.f.Picture2.Visible = false;
    g.f.願い一覧.Enabled = true;
    g.f.セーブ.Enabled = true;
    for (int i = 0; i <= 3; ++i) g.f.Command1[i].Enabled = true;
}

int FindPartyKind(Game& g, int kind) {
    int found = 0;
    for (int slot = 0; slot <= 4; ++slot)
        if (g.s.UnitKind[slot] == kind) found = 1;
    if (found == 1) {
        long long r = 0;
        do {
            r = Int(g.Rnd() * 5);
        } while (g.s.UnitKind[r] != kind);
        g.s.FoundSlot = static_cast<Byte>(r);
    }
    return found;
}

void OfferChoice(Game& g, Int16 yesStep, Int16 noStep) {
    if (g.s.FastForward == kTrue) {
        g.s.FastForward = 0;
        g.f.Timer1.Interval = 200;
        g.f.Command3.Caption = "早送り";
    }
    g.f.Command2.Visible = false;
    g.f.Command3.Visible = false;
    g.f.Command4[0].Visible = true;
    g.f.Command4[1].Visible = true;
    g.s.ChoiceStep[0] = yesStep;
    g.s.ChoiceStep[1] = noStep;
}

} // namespace vern
