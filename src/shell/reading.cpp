// The read steps, the skip, the typing, auto's pace and the step back.
#include "shell/reading.h"

#include <array>
#include <limits>

#include "io/cp932.h"
#include "io/read_file.h"
#include "shell/events.h"
#include "story/dispatcher.h"

namespace vern {

namespace {

// The steps read are written after this many new ones (and whenever the story panel closes).
constexpr int kReadBatch = 32;

struct AutoPace {
    int baseMs;
    int perCharMs;
};
// Slow, the game's first pace, fast, fastest.
constexpr std::array<AutoPace, 4> kAutoPaces{{{2500, 100}, {1500, 60}, {900, 35}, {500, 20}}};

bool SameParty(const GameState& a, const GameState& b) {
    for (int i = 0; i <= 4; ++i)
        if (a.UnitName[i] != b.UnitName[i] || a.UnitKind[i] != b.UnitKind[i] ||
            a.UnitMaxHP[i] != b.UnitMaxHP[i] || a.UnitWish[i] != b.UnitWish[i])
            return false;
    return true;
}

} // namespace

void OpenReadRecord(Game& g) {
    if (g.ui.readLoaded) return;
    g.ui.readLoaded = true;
    const std::string path = g.svc.ReadRecordFile();
    if (!path.empty()) g.ui.read = LoadReadFile(path);
}

void FlushReadRecord(Game& g) {
    if (g.ui.readUnsaved == 0) return;
    g.ui.readUnsaved = 0;
    // A file that cannot be written only costs the marks of this run; the game goes on.
    WriteReadFile(g.svc.ReadRecordFile(), g.ui.read);
}

void NoteRead(Game& g) {
    UiState& ui = g.ui;
    if (g.f.Picture2.Visible && !g.ended) {
        if (ui.read.Add(g.s.SceneNo, g.s.StoryStep) && ++ui.readUnsaved >= kReadBatch)
            FlushReadRecord(g);
        return;
    }
    FlushReadRecord(g);
}

bool StepRead(const Game& g) {
    return g.ui.read.Has(g.s.SceneNo, g.s.StoryStep);
}

bool SkippingByKeys(const Game& g) {
    return g.s.FastForward == kTrue && (g.ui.fastForwardHeld || g.ui.skipToggled);
}

bool ToggleSkip(Game& g) {
    if (g.ended || g.busy || !g.f.Picture2.Visible) return false;
    if (g.s.FastForward == kTrue) {
        g.ui.skipToggled = false;
        return Click(g, Control::Command3);
    }
    if (!Click(g, Control::Command3)) return false;
    g.ui.skipToggled = true;
    g.ui.autoAdvance = false;
    return true;
}

bool ToggleAuto(Game& g) {
    UiState& ui = g.ui;
    if (g.ended || g.busy) return false;
    if (!ui.autoAdvance && !Clickable(g, Control::Command2, 0)) return false;
    ui.autoAdvance = !ui.autoAdvance;
    ui.autoWaitMs = 0;
    ui.autoText = g.f.Label7.Caption;
    return true;
}

void StopSkipAtUnread(Game& g) {
    if (g.ui.skipUnread || !SkippingByKeys(g) || !g.f.Picture2.Visible || StepRead(g)) return;
    StopFastForward(g);
    g.ui.skipToggled = false;
    g.ui.fastForwardHeld = false;
    g.ui.fastForwardReleased = false;
}

bool TypingDone(const Game& g) {
    return g.ui.typingDone || g.ui.typingText != g.f.Label7.Caption;
}

std::size_t TypedChars(const Game& g) {
    const std::size_t all = CharCount(g.f.Label7.Caption);
    if (TypingDone(g) || g.ui.textSpeed <= 0) return all;
    const long long typed = static_cast<long long>(g.ui.typedMs) * g.ui.textSpeed / 1000;
    return typed >= static_cast<long long>(all) ? all : static_cast<std::size_t>(typed);
}

void CompleteTyping(Game& g) {
    g.ui.typingDone = true;
}

bool Elapse(Game& g, int ms) {
    UiState& ui = g.ui;
    if (TypingDone(g) || ms <= 0) return false;
    // The typing waits while a panel lies over the text or the text is hidden.
    if (ui.overlay != Overlay::None || ui.textHidden) return true;
    ui.typedMs = ui.typedMs > std::numeric_limits<int>::max() - ms ? std::numeric_limits<int>::max()
                                                                   : ui.typedMs + ms;
    if (TypedChars(g) >= CharCount(g.f.Label7.Caption)) ui.typingDone = true;
    return true;
}

int AutoAdvancePauseMs(const Game& g, const std::string& text) {
    const int pace = g.ui.autoSpeed < 0 ? 0 : g.ui.autoSpeed > 3 ? 3 : g.ui.autoSpeed;
    const AutoPace& p = kAutoPaces[static_cast<std::size_t>(pace)];
    return p.baseMs + p.perCharMs * static_cast<int>(CharCount(text));
}

std::string StoryMark(const Game& g) {
    if (!g.f.Picture2.Visible) return "";
    if (g.s.FastForward == kTrue) return "スキップ";
    if (g.ui.autoAdvance) return "オート";
    return "";
}

StoryMoment MomentOf(const Game& g) {
    return StoryMoment{g.s, g.f, g.rng, g.ui.historyAdded, g.ui.notedLabel1, g.ui.notedLabel7};
}

void NoteMoment(Game& g, const StoryMoment* before, int modalsBefore, int loadsBefore) {
    UiState& ui = g.ui;
    const bool kept = before && !g.ended && g.f.Picture2.Visible && ui.modals == modalsBefore &&
                      ui.loads == loadsBefore && g.s.SceneNo == before->s.SceneNo &&
                      SameParty(g.s, before->s);
    if (!kept) {
        ui.back.clear();
        return;
    }
    // Only an event that read the story on leaves a moment to come back to.
    if (g.s.StoryStep == before->s.StoryStep && g.f.Label7.Caption == before->f.Label7.Caption)
        return;
    ui.back.push_back(*before);
    if (ui.back.size() > UiState::kBackLimit) ui.back.erase(ui.back.begin());
}

bool StepBack(Game& g) {
    UiState& ui = g.ui;
    if (g.ended || g.busy || !g.f.Picture2.Visible || ui.back.empty()) return false;
    StoryMoment m = std::move(ui.back.back());
    ui.back.pop_back();
    g.s = std::move(m.s);
    g.f = std::move(m.f);
    g.rng = std::move(m.rng);
    // The history as it was: the lines shown since go.
    const std::uint64_t since = ui.historyAdded - m.historyAdded;
    for (std::uint64_t i = 0; i < since && !ui.history.empty(); ++i) ui.history.pop_back();
    ui.historyAdded = m.historyAdded;
    ui.notedLabel1 = m.notedLabel1;
    ui.notedLabel7 = m.notedLabel7;
    // Whatever ran stops: the player is looking back.
    if (g.s.FastForward == kTrue) StopFastForward(g);
    ui.autoAdvance = false;
    ui.skipToggled = false;
    ui.fastForwardHeld = false;
    ui.fastForwardReleased = false;
    ui.textHidden = false;
    ui.choiceFocus = -1;
    ui.typingText = g.f.Label7.Caption;
    ui.typingDone = true;
    return true;
}

void SettleReading(Game& g) {
    UiState& ui = g.ui;
    if (g.s.FastForward != kTrue) ui.skipToggled = false;
    if (!g.f.Picture2.Visible || !g.f.Command4[0].Visible) ui.choiceFocus = -1;
    // A new text types itself out, unless the text shows at once or a skip passes it.
    if (!g.f.Picture2.Visible) {
        ui.typingText.clear();
        ui.typingDone = true;
    } else if (g.f.Label7.Caption != ui.typingText) {
        ui.typingText = g.f.Label7.Caption;
        ui.typedMs = 0;
        ui.typingDone = ui.textSpeed <= 0 || g.s.FastForward == kTrue || g.f.Label7.Caption.empty();
    } else if (g.s.FastForward == kTrue) {
        ui.typingDone = true;
    }
}

} // namespace vern
