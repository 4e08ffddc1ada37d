// The information page of a unit: its description, race page or wish page in the message
// panel as a hint, and its picture in Picture1 centred over the board.
#include "screen/info.h"

#include <string>

#include "catalogue/content.h"
#include "catalogue/units.h"
#include "catalogue/wishes.h"
#include "screen/load_cg.h"
#include "screen/panels.h"
#include "screen/wish_page.h"

namespace vern {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kPictureCentreX = 3435;

// The lines of a races.txt entry joined by carriage returns; "" when it is missing.
std::string RaceText(const std::string& key) {
    const ContentFile* races = Content("races.txt");
    if (!races) return "";
    const ContentEntry* e = races->Find(key);
    return e ? e->Text() : "";
}

// The wish line under a 祖神's page.
std::string SoshinWishLine(int wish) {
    switch (wish) {
    case 13: return "ψ「邪剣師」：３回攻撃";
    case 14: return "‰「トリプルライフ」：２回復活";
    case 15: return "仝「楽園」：ダメージ３分の１";
    default: return "";
    }
}

// Picture1 takes the picture Image1 holds and sizes itself to it.
void ShowImage1(Game& g) {
    auto& box = g.f.Picture1;
    box.picture = g.f.Image1.picture;
    box.r.Width = box.picture.widthPx * kTwipsPerPixel;
    box.r.Height = box.picture.heightPx * kTwipsPerPixel;
}

void PlacePicture(Game& g) {
    auto& box = g.f.Picture1;
    box.r.Left = kPictureCentreX - box.r.Width / 2;
    box.Visible = true;
}

std::string RacePage(Game& g, int race, int wish) {
    std::string text;
    if (race >= 1 && race <= 4) {
        text = RaceText("race/" + std::to_string(race));
        LoadCG(g, "ボス", std::to_string(race));
        ShowImage1(g);
    } else if (race == 5) {
        text = std::string("   十流祖の一人。") + CR + WishGlyph(wish) + "：" +
               RaceText("流祖/" + std::to_string(wish));
        LoadCG(g, "祖", std::to_string(wish));
        ShowImage1(g);
    } else if (race == 6) {
        text = std::string("   祖神。三柱のうちの一柱。") + CR +
               RaceText("祖神/" + std::to_string(wish)) + CR + SoshinWishLine(wish);
        LoadCG(g, "祖", std::to_string(wish));
        ShowImage1(g);
    }
    // Any other race loads nothing: the box keeps the picture it had.
    return text;
}

} // namespace

void ShowInfo(Game& g, int race, int wish, int kind) {
    if (kind != 0) {
        const UnitDef def = UnitDefinition(g, kind);
        if (!def.folder.empty() || !def.name.empty()) {
            LoadCG(g, def.folder, def.name);
            ShowImage1(g);
        } else {
            // A being without a picture: the box collapses.
            g.f.Picture1.picture = Picture{};
            g.f.Picture1.r.Width = 0;
            g.f.Picture1.r.Height = 0;
        }
        PlacePicture(g);
        teach(g, def.text);
    } else if (race != 0) {
        const std::string text = RacePage(g, race, wish);
        PlacePicture(g);
        teach(g, text);
    } else {
        願い_Click(g, wish);
        LoadCG(g, "願い", std::to_string(wish));
        ShowImage1(g);
        PlacePicture(g);
    }
}

void InfoPick(Game& g, int i) {
    g.s.InfoSlot = static_cast<Byte>(i);
    ShowInfo(g, g.s.UnitRace[i], g.s.UnitWish[i], g.s.UnitKind[i]);
    // Looking at an enemy drops the pending roster follow-up of a 支配者 page.
    if (i > 4) g.s.Misc[2] = 0;
}

} // namespace vern
