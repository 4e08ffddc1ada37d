// The message history: texts as shown (the player's names in them), consecutive repeats once,
// the newest kHistoryLimit kept.
#include "state/history.h"

namespace vern {

namespace {

void Keep(UiState& ui, const std::string& text) {
    if (text.empty() || (!ui.history.empty() && ui.history.back() == text)) return;
    ui.history.push_back(text);
    while (ui.history.size() > UiState::kHistoryLimit) ui.history.pop_front();
}

} // namespace

void NoteShown(Game& g) {
    UiState& ui = g.ui;
    if (g.f.Label1.Caption != ui.notedLabel1) {
        ui.notedLabel1 = g.f.Label1.Caption;
        Keep(ui, ui.notedLabel1);
    }
    // The story label is seen only on the story panel.
    const std::string& story = g.f.Picture2.Visible ? g.f.Label7.Caption : ui.notedLabel7;
    if (story != ui.notedLabel7) {
        ui.notedLabel7 = story;
        Keep(ui, story);
    }
}

void NoteSeparator(Game& g, const std::string& line) {
    NoteShown(g);
    // Whatever the screens show from here on belongs to the new game, even a text equal to the
    // last one noted.
    Keep(g.ui, line);
    g.ui.notedLabel1.clear();
    g.ui.notedLabel7.clear();
}

MsgAnswer MsgBox(Game& g, const std::string& text, MsgButtons buttons, bool critical,
                 const std::string& title) {
    NoteShown(g);
    ++g.ui.modals;
    g.ui.ReleaseHeldKeys(); // the box takes the keyboard
    return g.svc.MsgBox(text, buttons, critical, title);
}

void RunNameDialog(Game& g) {
    NoteShown(g);
    ++g.ui.modals;
    g.ui.ReleaseHeldKeys(); // the dialog takes the keyboard
    g.svc.RunNameDialog(g);
}

} // namespace vern
