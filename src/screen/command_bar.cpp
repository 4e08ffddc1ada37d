// Captions of the command bar and the choice modes behind its buttons.
#include "screen/command_bar.h"

namespace vern {

void SetButtons4(Game& g, const std::string& a, const std::string& b, const std::string& c,
                 const std::string& d) {
    g.f.Command1[0].Caption = a;
    g.f.Command1[1].Caption = b;
    g.f.Command1[2].Caption = c;
    g.f.Command1[3].Caption = d;
}

void SetSingleButton(Game& g, const std::string& a) {
    SetButtons4(g, a, "", "", "");
}
void SetButtons(Game& g, const std::string& a, const std::string& b) {
    SetButtons4(g, a, b, "", "");
}
void SetButtons3(Game& g, const std::string& a, const std::string& b, const std::string& c) {
    SetButtons4(g, a, b, c, "");
}

void SetChoice1(Game& g, int m0) {
    g.s.ClickState = 1;
    g.s.ButtonMode[0] = static_cast<Int16>(m0);
}

void SetChoice2(Game& g, int m0, int m1) {
    SetChoice1(g, m0);
    g.s.ButtonMode[1] = static_cast<Int16>(m1);
}

void SetChoice3(Game& g, int m0, int m1, int m2) {
    SetChoice2(g, m0, m1);
    g.s.ButtonMode[2] = static_cast<Int16>(m2);
}

} // namespace vern
