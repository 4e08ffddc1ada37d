// Keys to the game's own clicks, and the panels and comforts that only keys reach.
#include "shell/keys.h"

#include "io/cp932.h"
#include "screen/name_dialog.h"
#include "shell/events.h"

namespace vern {

namespace {

bool Is(const std::string& key, const char* lower) {
    return key.size() == 1 && (key[0] | 0x20) == lower[0];
}

bool IsFastForwardKey(const std::string& key) {
    return key == "Control_L" || key == "Control_R";
}

bool ReadOnKey(const std::string& key) {
    return key == "Return" || key == "KP_Enter" || key == "space" || key == "Right";
}

bool PanelKey(Game& g, const std::string& key) {
    UiState& ui = g.ui;
    if (ui.overlay == Overlay::History) {
        if (key == "Next" || key == "Escape") {
            ui.overlay = Overlay::None;
            return true;
        }
        // Up, Down and Prior scroll the history in the window.
        return key == "Prior" || key == "Up" || key == "Down";
    }
    if (key == "F1" || key == "Escape" || key == "Return" || key == "space") {
        ui.overlay = Overlay::None;
        return true;
    }
    // The key list scrolls in the window when it is longer than the window.
    return key == "Up" || key == "Down" || key == "Prior" || key == "Next";
}

bool StoryKey(Game& g, const std::string& key) {
    UiState& ui = g.ui;
    if (Is(key, "h")) return HideStoryText(g);
    if (ReadOnKey(key)) return Click(g, Control::Command2);
    if (Is(key, "y")) return Click(g, Control::Command4, 0);
    if (Is(key, "n")) return Click(g, Control::Command4, 1);
    if (Is(key, "a")) {
        if (!ui.autoAdvance && !Clickable(g, Control::Command2, 0)) return false;
        ui.autoAdvance = !ui.autoAdvance;
        ui.autoWaitMs = 0;
        ui.autoText = g.f.Label7.Caption;
        return true;
    }
    if (IsFastForwardKey(key)) {
        // A press starts fast-forward whenever it is off, whatever became of an earlier hold.
        // While it runs, a press takes over a hold that was let go behind a dialog, and
        // leaves the 早送り button's own fast-forward alone.
        if (g.s.FastForward == kTrue) {
            if (!ui.fastForwardReleased) return false;
            ui.fastForwardReleased = false;
            ui.fastForwardHeld = true;
            return true;
        }
        if (!Click(g, Control::Command3)) return false;
        ui.fastForwardHeld = true;
        ui.fastForwardReleased = false;
        return true;
    }
    return false;
}

// Moves the board focus: up and down within a side, left and right across.
bool MoveFocus(Game& g, const std::string& key) {
    int& focus = g.ui.focus;
    // The first arrow only shows the focus: on the opponents' side for →, else the party's.
    if (focus < 0 || focus > 9) {
        focus = key == "Right" ? 5 : 0;
        return true;
    }
    const int side = focus / 5, row = focus % 5;
    if (key == "Up") focus = side * 5 + (row + 4) % 5;
    if (key == "Down") focus = side * 5 + (row + 1) % 5;
    if (key == "Left") focus = row;
    if (key == "Right") focus = 5 + row;
    return true;
}

bool BoardKey(Game& g, const std::string& key) {
    if (g.f.Label9.Visible && (key == "Return" || key == "space" || key == "Escape"))
        return Click(g, Control::Label9);
    if (key.size() == 1 && key[0] >= '1' && key[0] <= '4')
        return Click(g, Control::Command1, key[0] - '1');
    const bool arrow = key == "Up" || key == "Down" || key == "Left" || key == "Right";
    if (!BoardPicks(g)) return false;
    if (arrow) return MoveFocus(g, key);
    if ((key == "Return" || key == "space") && g.ui.focus >= 0)
        return Click(g, Control::Label2, g.ui.focus);
    return false;
}

} // namespace

bool BoardPicks(const Game& g) {
    const auto& f = g.f;
    const int pick = g.s.PickState;
    return !f.Picture2.Visible && !f.Label9.Visible && g.s.TeachOn != 1 && pick >= 1 && pick <= 5 &&
           g.ui.overlay == Overlay::None;
}

bool HideStoryText(Game& g) {
    if (g.ended || g.busy || !g.f.Picture2.Visible || g.ui.overlay != Overlay::None) return false;
    g.ui.textHidden = true;
    return true;
}

bool ShowStoryText(Game& g) {
    if (!g.ui.textHidden) return false;
    g.ui.textHidden = false;
    return true;
}

bool KeyDown(Game& g, const std::string& key) {
    if (g.ended || g.busy) return false;
    UiState& ui = g.ui;
    // Any key brings the hidden story text back, and does nothing else. Control is let be: it
    // may be held to fast-forward after.
    if (ui.textHidden && !IsFastForwardKey(key)) return ShowStoryText(g);
    if (ui.overlay != Overlay::None) return PanelKey(g, key);
    if (key == "F1" || key == "Prior") {
        ui.overlay = key == "F1" ? Overlay::Help : Overlay::History;
        return true;
    }
    return g.f.Picture2.Visible ? StoryKey(g, key) : BoardKey(g, key);
}

bool KeyUp(Game& g, const std::string& key) {
    if (g.ended || !IsFastForwardKey(key) || !g.ui.fastForwardHeld) return false;
    if (g.busy) {
        // Let go behind a dialog: the next tick stops the fast-forward.
        g.ui.ReleaseHeldKeys();
        return true;
    }
    g.ui.fastForwardHeld = false;
    if (g.s.FastForward == kTrue) Click(g, Control::Command3);
    return true;
}

bool FocusLost(Game& g) {
    if (g.ended || !g.ui.fastForwardHeld) return false;
    return KeyUp(g, "Control_L");
}

bool Key(Game& g, const std::string& key) {
    const bool down = KeyDown(g, key);
    const bool up = KeyUp(g, key);
    return down || up;
}

void NameInp_Key(Game& g, const std::string& key) {
    if (!g.n.open) return;
    if (key == "Return" || key == "KP_Enter") {
        NameInp_Command3_Click(g);
    } else if (key == "Escape") {
        NameInp_Form_Unload(g);
    } else if (key == "BackSpace") {
        std::string text = g.n.Text1.Text;
        const std::size_t n = CharCount(text);
        if (n > 0) NameInp_Text1_Change(g, FirstChars(text, n - 1));
    } else if (key == "space") {
        NameInp_Text1_Change(g, g.n.Text1.Text + " ");
    } else if (key.size() == 1 && key[0] > ' ' && key[0] < 0x7F) {
        NameInp_Text1_Change(g, g.n.Text1.Text + key);
    }
}

} // namespace vern
