// Building the dump object from the window model, field by field in the driver's order.
#include "dump.h"

#include <cstdio>

namespace vern {

std::string ColorHex(Color c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c & 0xFFFFFF));
    return buf;
}

nlohmann::ordered_json DumpScreen(const Game& g) {
    using J = nlohmann::ordered_json;
    const auto& s = g.s;
    const auto& f = g.f;
    J j;
    j["GameMode"] = s.GameMode;
    j["ClickState"] = s.ClickState;
    j["PickState"] = s.PickState;
    j["SelSlot"] = s.SelSlot;
    j["SceneNo"] = s.SceneNo;
    j["StoryStep"] = s.StoryStep;
    j["BackColor"] = ColorHex(f.BackColor);
    j["Label1"] = J{{"Caption", f.Label1.Caption}, {"BackColor", ColorHex(f.Label1.BackColor)}};
    J buttons = J::array();
    for (int i = 0; i <= 3; ++i)
        buttons.push_back(
            J{{"Caption", f.Command1[i].Caption}, {"Enabled", f.Command1[i].Enabled}});
    j["Command1"] = buttons;
    J rows = J::array();
    for (int i = 0; i <= 9; ++i) {
        const bool party = i <= 4;
        rows.push_back(J{{"Label2", f.Label2[i].Caption},
                         {"Label2Back", ColorHex(f.Label2[i].BackColor)},
                         {"Label3", f.Label3[i].Caption},
                         {"Label3Back", ColorHex(f.Label3[i].BackColor)},
                         {"Label4", f.Label4[i].Caption},
                         {"Shape1", ColorHex(f.Shape1[i].FillColor)},
                         {"Label5", f.Label5[i].Visible},
                         {"Label6", party ? f.Label6[i].Caption : std::string()},
                         {"Line2", party && f.Line2[i].Visible}});
    }
    j["rows"] = rows;
    j["Label9"] = f.Label9.Visible;
    j["Picture1"] = f.Picture1.Visible;
    j["Picture2"] = f.Picture2.Visible;
    j["Label7"] = f.Label7.Caption;
    j["Picture3"] = J{{"Visible", f.Picture3.Visible}, {"Picture", f.Picture3.picture.name}};
    j["Command2"] = f.Command2.Visible;
    j["Command3"] = f.Command3.Caption;
    j["Command4"] = f.Command4[0].Visible;
    j["Timer1"] = f.Timer1.Interval;
    J wishes = J::array();
    for (int i = 0; i <= 12; ++i) wishes.push_back(f.願い[i].Caption);
    j["menu"] = J{{"願い一覧", f.願い一覧.Enabled},
                  {"願い", wishes},
                  {"セーブ", J{{"Caption", f.セーブ.Caption}, {"Enabled", f.セーブ.Enabled}}}};
    return j;
}

} // namespace vern
