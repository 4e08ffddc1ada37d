// Routing of clicks, menu commands and timer ticks to the game's handlers.
#include "shell/events.h"

#include <optional>

#include "battle/command_input.h"
#include "battle/game_mode.h"
#include "battle/recruit.h"
#include "battle/save_file.h"
#include "battle/save_slots.h"
#include "catalogue/wishes.h"
#include "io/atomic_file.h"
#include "io/cp932.h"
#include "screen/info.h"
#include "screen/panels.h"
#include "screen/start.h"
#include "screen/wish_page.h"
#include "shell/audio.h"
#include "shell/file_menu.h"
#include "shell/keys.h"
#include "shell/reading.h"
#include "state/history.h"
#include "story/dispatcher.h"

namespace vern {

namespace {

bool IsBoardLabel(Control c) {
    return c == Control::Label2 || c == Control::Label3 || c == Control::Label4 ||
           c == Control::Label8;
}

bool StoryReadsOn(const Game& g) {
    return Clickable(g, Control::Command2, 0);
}

// Auto-advance: the story reads on once the text has been shown whole for its pace's pause
// (1.5 s plus 60 ms a character at the first pace); it switches itself off where the story
// cannot simply read on.
void AutoAdvanceTick(Game& g) {
    UiState& ui = g.ui;
    if (!ui.autoAdvance || g.s.FastForward == kTrue) return;
    if (!StoryReadsOn(g)) {
        ui.autoAdvance = false;
        return;
    }
    if (g.f.Label7.Caption != ui.autoText) {
        ui.autoText = g.f.Label7.Caption;
        ui.autoWaitMs = 0;
    }
    // The pause counts from the moment the whole text shows.
    if (!TypingDone(g)) return;
    ui.autoWaitMs += g.f.Timer1.Interval;
    if (ui.autoWaitMs < AutoAdvancePauseMs(g, ui.autoText)) return;
    const int modals = ui.modals;
    Command2_Click(g);
    ui.autoWaitMs = 0;
    ui.autoText = g.f.Label7.Caption;
    if (ui.modals != modals || !StoryReadsOn(g)) ui.autoAdvance = false;
}

// Runs fn as the one event running: nothing else runs meanwhile, and the end of the program
// (ゲームの終了) ends the game rather than crossing the caller.
void RunBusy(Game& g, const std::function<void()>& fn) {
    g.busy = true;
    try {
        fn();
    } catch (const ProgramEnded&) {
        g.ended = true;
    } catch (...) {
        g.busy = false;
        throw;
    }
    g.busy = false;
}

} // namespace

bool RunEvent(Game& g, const std::function<void()>& handler) {
    if (g.busy || g.ended) return false;
    // The story as it stood, to step back to when this event reads it on.
    const bool story = g.f.Picture2.Visible;
    const int modals = g.ui.modals, loads = g.ui.loads;
    const auto wishes = g.s.WishKnown;
    std::optional<StoryMoment> before;
    if (story) before = MomentOf(g);
    RunBusy(g, handler);
    NoteMoment(g, before ? &*before : nullptr, modals, loads);
    SettleReading(g);
    if (!g.f.Picture2.Visible) g.ui.textHidden = false;
    SettleFocus(g);
    // Arrived at the free menu: the game saves by itself (when the setting is on).
    if (!g.ended) RunBusy(g, [&] { AutosaveOnArrival(g); });
    NoteShown(g);
    NoteRead(g);
    // A wish the player did not know before.
    for (int k = 1; k <= 12; ++k)
        if (g.s.WishKnown[k] > wishes[k]) g.ui.Cue(Sound::Wish);
    SettleAudio(g);
    return true;
}

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
    case Control::Label7:
    case Control::Picture2: return story && f.Command2.Visible && f.Command2.Enabled;
    case Control::Label1: return !story && f.Label1.Visible && !f.Label9.Visible;
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
        StopSkipAtUnread(g);
    } else if (s.SelSlot != 10) {
        Color& c = g.f.Shape1[s.SelSlot].FillColor;
        c = c == colors::kRed ? colors::kYellow : colors::kRed;
    }
}

bool Click(Game& g, Control c, int index) {
    if (g.ended) return false;
    // A click while the story text is hidden brings it back and goes no further.
    if (g.ui.textHidden) {
        if (g.busy) return false;
        g.ui.textHidden = false;
        return true;
    }
    // A click anywhere closes a panel that lies over the window, and goes no further.
    if (g.ui.overlay != Overlay::None) {
        if (g.busy) return false;
        g.ui.overlay = Overlay::None;
        return true;
    }
    if (!Clickable(g, c, index)) return false;
    // The message panel reads on: it presses the board's one forward button, if there is one.
    if (c == Control::Label1) {
        const int forward = ForwardButton(g);
        return forward >= 0 && Click(g, Control::Command1, forward);
    }
    // The orders a phase starts with are kept, for R (the same orders again).
    if (c == Control::Command1 && index == 0) NoteOrders(g);
    g.ui.boardKeys = false;
    // A click on the story while its text is typing shows it whole, and reads no further.
    if ((c == Control::Command2 || c == Control::Label7 || c == Control::Picture2) &&
        !TypingDone(g) && !g.busy) {
        CompleteTyping(g);
        return true;
    }
    // A command button without a caption does nothing at all.
    if (c == Control::Command1 && g.f.Command1[index].Caption.empty()) return false;
    // The player's own 早送り / 止める settles any hold let go behind a dialog.
    if (c == Control::Command3) g.ui.fastForwardReleased = false;
    // Label9 lies over the board: a click on a board label reaches it while it shows.
    if (IsBoardLabel(c) && g.f.Label9.Visible) c = Control::Label9;
    return RunEvent(g, [&] {
        // The click's own sound: a command button; the story reading on.
        if (c == Control::Command1) g.ui.Cue(Sound::Button);
        if (c == Control::Command2 || c == Control::Label7 || c == Control::Picture2 ||
            c == Control::Command4)
            g.ui.Cue(Sound::Advance);
        switch (c) {
        case Control::Command1: Command1_Click(g, index); break;
        case Control::Command2:
        case Control::Label7:
        case Control::Picture2: Command2_Click(g); break;
        case Control::Command3: Command3_Click(g); break;
        case Control::Command4:
            NoteAnswer(g, g.f.Command4[index].Caption);
            Command4_Click(g, index);
            break;
        case Control::Label9:
        case Control::Picture1: Label9_Click(g); break;
        default: Label2_Click(g, index); break;
        }
    });
}

bool Menu(Game& g, MenuCommand m, int index) {
    if (g.ended || g.ui.overlay != Overlay::None || !MenuEnabled(g, m, index)) return false;
    g.ui.textHidden = false;
    return RunEvent(g, [&] {
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
    return RunEvent(g, [&] { ゲームの終了_Click(g); });
}

void Tick(Game& g) {
    // While a panel lies over the window or the story text is hidden, the game waits.
    if (g.ui.overlay != Overlay::None || g.ui.textHidden) return;
    // Control or Shift held on the board: the forward button, at the fast-forward tick.
    if (g.ui.paceHeld && !g.f.Picture2.Visible) {
        if (const int forward = ForwardButton(g); forward >= 0 && !g.busy)
            Click(g, Control::Command1, forward);
        return;
    }
    // A hold let go while an event ran ends its fast-forward here, instead of a step.
    if (g.ui.fastForwardReleased && !g.busy) {
        g.ui.fastForwardReleased = false;
        if (g.s.FastForward == kTrue) {
            RunEvent(g, [&] { Command3_Click(g); });
            return;
        }
    }
    RunEvent(g, [&] {
        Timer1_Timer(g);
        AutoAdvanceTick(g);
    });
}

void Form_Load(Game& g) {
    Start(g);
    Mshow(g, g.s.GameMode);
}

void Open(Game& g) {
    OpenReadRecord(g);
    RunEvent(g, [&] { Form_Load(g); });
}

} // namespace vern
