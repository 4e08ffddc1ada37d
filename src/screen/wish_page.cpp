// The wish list's pages: a click on an entry of the 願い一覧 menu, or on a unit's wish, shows
// its page as a hint on the message panel.
#include "screen/wish_page.h"

#include "catalogue/wishes.h"
#include "screen/panels.h"

namespace vern {

void 願い_Click(Game& g, int w) {
    auto& s = g.s;
    s.Misc[2] = 0;
    std::string text = WishPageText(w);
    if (w == 12) s.Misc[2] = 1;
    if (w > 0 && w <= 12 && s.WishKnown[w] < 2) {
        text = w > 10 ? "？？？？" : WishGlyph(w) + "：" + WishEffect(w);
        s.Misc[2] = 0;
    }
    teach(g, text);
    g.f.Picture1.Visible = false;
}

} // namespace vern
