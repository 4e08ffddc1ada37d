// Keys to the game's own clicks, and the panels and comforts that only keys reach.
#include "shell/keys.h"

#include "battle/save_slots.h"
#include "io/cp932.h"
#include "screen/name_dialog.h"
#include "shell/events.h"
#include "shell/reading.h"

namespace vern {

namespace {

bool Is(const std::string& key, const char* lower) {
    return key.size() == 1 && (key[0] | 0x20) == lower[0];
}

bool IsFastForwardKey(const std::string& key) {
    return key == "Control_L" || key == "Control_R";
}

bool IsPaceKey(const std::string& key) {
    return IsFastForwardKey(key) || key == "Shift_L" || key == "Shift_R";
}

bool Live(const Game& g, int i) {
    return Clickable(g, Control::Command1, i) && !g.f.Command1[i].Caption.empty();
}

bool Acting(Byte state) {
    return state == 2 || state == 5 || state == 7;
}

// Whether board slot i could be picked now (a click on it would be taken): a standing enemy to
// strike (or, for a healer, a standing ally), a standing ally to heal, an enemy to ask to join,
// a member to trade, any unit to look up.
bool Pickable(const Game& g, int i) {
    const auto& s = g.s;
    if (i < 0 || i > 9 || s.UnitName[i].empty()) return false;
    const bool standing = s.UnitHP[i] > 0 && s.SlotState[i] != 4;
    switch (s.PickState) {
    case 1:
        if (i >= 5) return standing;
        return standing && s.SelSlot <= 4 && s.UnitWish[s.SelSlot] == 6;
    case 4: return i < 5 && standing;
    case 2: return i >= 5;
    case 3: return i < 5;
    case 5: return true;
    default: return false;
    }
}

// The screen a key acts on, as far as a held key is concerned: the story, or the board with
// its mode, its state of input and its buttons.
std::string ScreenOf(const Game& g) {
    if (g.f.Picture2.Visible) return "story";
    const auto& s = g.s;
    std::string screen = std::to_string(s.GameMode) + "/" + std::to_string(s.ClickState) + "/" +
                         std::to_string(s.PickState);
    for (int i = 0; i <= 3; ++i) screen += "/" + g.f.Command1[i].Caption;
    return screen;
}

bool ReadOnKey(const std::string& key) {
    return key == "Return" || key == "KP_Enter" || key == "space" || key == "Right";
}

bool PanelKey(Game& g, const std::string& key) {
    UiState& ui = g.ui;
    if (ui.overlay == Overlay::History) {
        // Page Down closes the history from its end; above it, the window pages down.
        if ((key == "Next" && ui.historyAtBottom) || key == "Escape") {
            ui.overlay = Overlay::None;
            return true;
        }
        // Up, Down, Prior, Next, Home and End scroll the history in the window.
        return key == "Prior" || key == "Next" || key == "Up" || key == "Down" || key == "Home" ||
               key == "End";
    }
    if (key == "F1" || key == "Escape" || key == "Return" || key == "space") {
        ui.overlay = Overlay::None;
        return true;
    }
    // The key list scrolls in the window when it is longer than the window.
    return key == "Up" || key == "Down" || key == "Prior" || key == "Next" || key == "Home" ||
           key == "End";
}

// At a story choice the arrows move between はい and いいえ (the first shows はい) and the reading
// keys answer the one chosen.
bool ChoiceKey(Game& g, const std::string& key) {
    int& focus = g.ui.choiceFocus;
    if (key == "Left" || key == "Right" || key == "Up" || key == "Down") {
        focus = focus < 0 ? 0 : 1 - focus;
        return true;
    }
    if (ReadOnKey(key) && focus >= 0) return Click(g, Control::Command4, focus);
    return false;
}

bool StoryKey(Game& g, const std::string& key) {
    UiState& ui = g.ui;
    if (Is(key, "h")) return HideStoryText(g);
    if (key == "BackSpace") return StepBack(g);
    const bool choice = g.f.Command4[0].Visible || g.f.Command4[1].Visible;
    if (choice && ChoiceKey(g, key)) return true;
    if (key == "Left") return StepBack(g);
    if (ReadOnKey(key)) return Click(g, Control::Command2);
    if (Is(key, "y")) return Click(g, Control::Command4, 0);
    if (Is(key, "n")) return Click(g, Control::Command4, 1);
    if (Is(key, "a")) return ToggleAuto(g);
    if (key == "Tab") return ToggleSkip(g);
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

// Moves the board focus over the units that can be picked: up and down within a side, left and
// right across. Units that cannot be picked (dead, empty) are passed over.
bool MoveFocus(Game& g, const std::string& key) {
    int& focus = g.ui.focus;
    // The first arrow only shows the focus: on the opponents' side for →, else the party's.
    if (focus < 0 || focus > 9 || !Pickable(g, focus)) {
        const int first = key == "Right" ? 5 : 0;
        for (int k = 0; k < 10; ++k)
            if (Pickable(g, (first + k) % 10)) {
                focus = (first + k) % 10;
                return true;
            }
        focus = -1;
        return false;
    }
    const int side = focus / 5, row = focus % 5;
    if (key == "Up" || key == "Down") {
        const int step = key == "Up" ? 4 : 1;
        for (int k = 1; k < 5; ++k) {
            const int slot = side * 5 + (row + step * k) % 5;
            if (Pickable(g, slot)) {
                focus = slot;
                return true;
            }
        }
        return true;
    }
    // Across: the same row on the other side, else the nearest row there that can be picked.
    const int other = key == "Left" ? 0 : 5;
    if (other == side * 5) return true;
    for (int d = 0; d < 5; ++d)
        for (int r : {row - d, row + d})
            if (r >= 0 && r <= 4 && Pickable(g, other + r)) {
                focus = other + r;
                return true;
            }
    return true;
}

// R: the previous orders again, unit by unit from the one asked now, as long as the unit gave
// one and its target can still be picked; through the same clicks the player would make.
bool RepeatOrders(Game& g) {
    auto& s = g.s;
    bool any = false;
    for (int guard = 0; guard < 5; ++guard) {
        if (s.GameMode != 7 || s.ClickState != 2 || s.PickState != 1 || s.SelSlot > 4) break;
        const int unit = s.SelSlot;
        const LastOrder& o = g.ui.lastOrders[unit];
        if (!o.given || !Pickable(g, o.target) || (o.heals != (o.target < 5))) break;
        if (!Click(g, Control::Label2, o.target) || s.SelSlot == unit) break;
        any = true;
    }
    return any;
}

bool BoardKey(Game& g, const std::string& key) {
    if (g.f.Label9.Visible && (key == "Return" || key == "space" || key == "Escape"))
        return Click(g, Control::Label9);
    if (key.size() == 1 && key[0] >= '1' && key[0] <= '4')
        return Click(g, Control::Command1, key[0] - '1');
    if (Is(key, "y") || Is(key, "n")) {
        const int answer = AnswerButton(g, Is(key, "y"));
        return answer >= 0 && Click(g, Control::Command1, answer);
    }
    if (Is(key, "r")) return RepeatOrders(g);
    const bool arrow = key == "Up" || key == "Down" || key == "Left" || key == "Right";
    if (BoardPicks(g)) {
        if (arrow) return MoveFocus(g, key);
        if ((key == "Return" || key == "space") && g.ui.focus >= 0)
            return Click(g, Control::Label2, g.ui.focus);
    }
    // The reading keys press the board's one forward button (＞, スタート), never a choice.
    if (ReadOnKey(key)) {
        const int forward = ForwardButton(g);
        return forward >= 0 && Click(g, Control::Command1, forward);
    }
    return false;
}

} // namespace

int ForwardButton(const Game& g) {
    int forward = -1;
    for (int i = 0; i <= 3; ++i) {
        if (!Live(g, i)) continue;
        const std::string& caption = g.f.Command1[i].Caption;
        if (forward >= 0 || (caption != "＞" && caption != "スタート")) return -1;
        forward = i;
    }
    return forward;
}

int AnswerButton(const Game& g, bool yes) {
    for (int i = 0; i <= 3; ++i) {
        if (!Live(g, i)) continue;
        const std::string& caption = g.f.Command1[i].Caption;
        if (yes ? (caption == "はい" || caption == "ハイ!")
                : (caption == "いいえ" || caption == "イイエ!"))
            return i;
    }
    return -1;
}

void NoteOrders(Game& g) {
    const auto& s = g.s;
    if (g.f.Picture2.Visible) return;
    // A new battle forgets the last one's orders.
    if (s.GameMode == 5 || s.TurnNo == 0) g.ui.lastOrders = {};
    if (s.GameMode != 7 || s.ClickState != 2 || s.SelSlot != 10) return;
    for (int p = 0; p <= 4; ++p)
        if (Acting(s.SlotState[p]) && s.SlotCross[p] == 0 && s.SlotSummoned[p] == 0)
            g.ui.lastOrders[p] = {true, s.SlotTarget[p], s.SlotHeals[p] == 1};
}

void SettleFocus(Game& g) {
    int& focus = g.ui.focus;
    if (focus < 0 || !BoardPicks(g) || Pickable(g, focus)) return;
    // The unit under the focus fell or left: the next one that can be picked, on its side first.
    const int side = focus / 5;
    for (int k = 1; k <= 10; ++k) {
        const int slot = (side * 5 + (focus % 5) + k) % 10;
        if (Pickable(g, slot)) {
            focus = slot;
            return;
        }
    }
    focus = -1;
}

bool KeyRepeat(Game& g, const std::string& key) {
    // A held key never repeats into the next screen.
    if (g.ended || g.busy || ScreenOf(g) != g.ui.keyScreen) return false;
    return KeyDown(g, key, true);
}

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

bool KeyDown(Game& g, const std::string& key, bool repeat) {
    if (g.ended || g.busy) return false;
    UiState& ui = g.ui;
    if (!repeat) ui.keyScreen = ScreenOf(g);
    // Any key brings the hidden story text back, and does nothing else. Control is let be: it
    // may be held to fast-forward after.
    if (ui.textHidden && !IsFastForwardKey(key)) return ShowStoryText(g);
    if (ui.overlay != Overlay::None) return PanelKey(g, key);
    if (key == "F1" || key == "Prior") {
        ui.overlay = key == "F1" ? Overlay::Help : Overlay::History;
        ui.historyAtBottom = true; // it opens at the newest
        return true;
    }
    // F5 and F9: the quick slot (saving where セーブ could save; loading where ロード could).
    if (key == "F5") return RunEvent(g, [&] { QuickSave(g); });
    if (key == "F9") {
        if (!MenuEnabled(g, MenuCommand::ロード, 0)) return false;
        return RunEvent(g, [&] { QuickLoad(g); });
    }
    // I: the battle additions (plans, order, forecasts) shown or hidden, anywhere.
    if (Is(key, "i")) {
        ui.battleAdditions = !ui.battleAdditions;
        return true;
    }
    if (g.f.Picture2.Visible) return StoryKey(g, key);
    if (IsPaceKey(key)) {
        // Held on the board: the phase steps by itself at the fast-forward tick.
        if (ui.paceHeld) return false;
        ui.paceHeld = true;
        return true;
    }
    const bool acted = BoardKey(g, key);
    if (acted && !g.f.Picture2.Visible) ui.boardKeys = true;
    return acted;
}

bool KeyUp(Game& g, const std::string& key) {
    if (g.ended) return false;
    bool released = false;
    if (IsPaceKey(key) && g.ui.paceHeld) {
        g.ui.paceHeld = false;
        released = true;
    }
    if (!IsFastForwardKey(key) || !g.ui.fastForwardHeld) return released;
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
    if (g.ended) return false;
    const bool pace = g.ui.paceHeld;
    g.ui.paceHeld = false;
    if (!g.ui.fastForwardHeld) return pace;
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
