// Routing of clicks, menu commands and timer ticks to the game's handlers.
#include "shell/events.h"

#include "battle/command_input.h"
#include "battle/game_mode.h"
#include "battle/recruit.h"
#include "catalogue/info.h"
#include "catalogue/wishes.h"
#include "shell/file_menu.h"
#include "shell/panels.h"
#include "shell/start.h"
#include "story/dispatcher.h"

namespace vern {

namespace {

bool IsBoardLabel(Control c) {
    return c == Control::Label2 || c == Control::Label3 || c == Control::Label4 ||
           c == Control::Label8;
}

// Runs one event to its end; drops it while another is running or after the program ended.
template <typename F> bool Dispatch(Game& g, F&& handler) {
    if (g.busy || g.ended) return false;
    g.busy = true;
    try {
        handler();
    } catch (const ProgramEnded&) {
        g.ended = true;
    } catch (...) {
        g.busy = false;
        throw;
    }
    g.busy = false;
    return true;
}

} // namespace

bool Clickable(const Game& g, Control c, int index) {
    const auto& f = g.f;
    const bool story = f.Picture2.Visible;
    switch (c) {
    case Control::Command1:
        return index >= 0 && index <= 3 && !story && f.Command1[index].Visible &&
               f.Command1[index].Enabled;
    case Control::Command2: return story && f.Command2.Visible && f.Command2.Enabled;
    case Control::Command3: return story && f.Command3.Visible && f.Command3.Enabled;
    case Control::Command4:
        return index >= 0 && index <= 1 && story && f.Command4[index].Visible &&
               f.Command4[index].Enabled;
    case Control::Label9: return !story && f.Label9.Visible;
    case Control::Picture1: return !story && f.Picture1.Visible;
    default: return index >= 0 && index <= 9 && !story; // a board label
    }
}

bool MenuEnabled(const Game& g, MenuCommand m, int index) {
    switch (m) {
    case MenuCommand::願い:
        return index >= 0 && index <= 12 && g.f.願い一覧.Enabled && g.f.願い[index].Enabled;
    case MenuCommand::セーブ: return g.f.セーブ.Enabled;
    default: return g.f.ファイル.Enabled;
    }
}

void Label2_Click(Game& g, int i) {
    auto& s = g.s;
    if (s.TeachOn == 1) return;
    switch (s.PickState) {
    case 1:
    case 4: PickTarget(g, i); break;
    case 2:
    case 3: RecruitPick(g, i); break;
    case 5: InfoPick(g, i); break;
    default: break;
    }
}

void Timer1_Timer(Game& g) {
    auto& s = g.s;
    if (s.FastForward == kTrue) {
        FastForwardTick(g);
    } else if (s.SelSlot != 10) {
        Color& c = g.f.Shape1[s.SelSlot].FillColor;
        c = c == colors::kRed ? colors::kYellow : colors::kRed;
    }
}

bool Click(Game& g, Control c, int index) {
    if (g.ended || !Clickable(g, c, index)) return false;
    // A command button without a caption does nothing at all.
    if (c == Control::Command1 && g.f.Command1[index].Caption.empty()) return false;
    // Label9 lies over the board: a click on a board label reaches it while it shows.
    if (IsBoardLabel(c) && g.f.Label9.Visible) c = Control::Label9;
    return Dispatch(g, [&] {
        switch (c) {
        case Control::Command1: Command1_Click(g, index); break;
        case Control::Command2: Command2_Click(g); break;
        case Control::Command3: Command3_Click(g); break;
        case Control::Command4: Command4_Click(g, index); break;
        case Control::Label9:
        case Control::Picture1: Label9_Click(g); break;
        default: Label2_Click(g, index); break;
        }
    });
}

bool Menu(Game& g, MenuCommand m, int index) {
    if (g.ended || !MenuEnabled(g, m, index)) return false;
    return Dispatch(g, [&] {
        switch (m) {
        case MenuCommand::願い: 願い_Click(g, index); break;
        case MenuCommand::セーブ: セーブ_Click(g); break;
        case MenuCommand::ロード: ロード_Click(g); break;
        case MenuCommand::始めから: 始めから_Click(g); break;
        case MenuCommand::ゲームの終了: ゲームの終了_Click(g); break;
        }
    });
}

bool CloseBox(Game& g) {
    if (g.ended) return false;
    return Dispatch(g, [&] { ゲームの終了_Click(g); });
}

void Tick(Game& g) {
    Dispatch(g, [&] { Timer1_Timer(g); });
}

void Open(Game& g) {
    Dispatch(g, [&] { Form_Load(g); });
}

} // namespace vern
