// The message history: texts as shown (the player's names in them), consecutive repeats once,
// the newest kHistoryLimit kept.
#include "state/history.h"

namespace vern {

namespace {

void Keep(UiState& ui, const std::string& text, HistoryKind kind) {
    if (text.empty() || (!ui.history.empty() && ui.history.back().text == text)) return;
    ui.history.push_back({text, kind});
    ++ui.historyAdded;
    while (ui.history.size() > UiState::kHistoryLimit) ui.history.pop_front();
}

// A line set in from the left margin by at least ten spaces: a heading.
bool Centred(const std::string& line) {
    return line.compare(0, 10, std::string(10, ' ')) == 0;
}

// A line of nothing but wide capital letters and wide spaces: a title in letters.
bool WideCapitals(const std::string& line) {
    bool any = false;
    for (std::size_t i = 0; i < line.size();) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c == ' ') {
            ++i;
            continue;
        }
        if (line.compare(i, 3, "\xE3\x80\x80") == 0) { // 　
            i += 3;
            continue;
        }
        // Ａ..Ｚ are EF BC A1 .. EF BC BA; ．is EF BC 8E.
        if (i + 3 > line.size() || c != 0xEF || static_cast<unsigned char>(line[i + 1]) != 0xBC)
            return false;
        const auto last = static_cast<unsigned char>(line[i + 2]);
        if (!((last >= 0xA1 && last <= 0xBA) || last == 0x8E)) return false;
        any = true;
        i += 3;
    }
    return any;
}

} // namespace

bool IsTitlePage(const std::string& text) {
    bool centred = false;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find(CR, at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        if (Centred(line))
            centred = true;
        else if (!WideCapitals(line))
            return false;
    }
    // At least one heading: a line of capitals alone may be a line of the story.
    return centred;
}

void NoteShown(Game& g) {
    UiState& ui = g.ui;
    if (g.f.Label1.Caption != ui.notedLabel1) {
        ui.notedLabel1 = g.f.Label1.Caption;
        Keep(ui, ui.notedLabel1, HistoryKind::Text);
    }
    // The story label is seen only on the story panel.
    const std::string& story = g.f.Picture2.Visible ? g.f.Label7.Caption : ui.notedLabel7;
    if (story != ui.notedLabel7) {
        ui.notedLabel7 = story;
        Keep(ui, story, IsTitlePage(story) ? HistoryKind::Title : HistoryKind::Text);
    }
}

void NoteSeparator(Game& g, const std::string& line) {
    NoteShown(g);
    // Whatever the screens show from here on belongs to the new game, even a text equal to the
    // last one noted.
    Keep(g.ui, line, HistoryKind::Separator);
    g.ui.notedLabel1.clear();
    g.ui.notedLabel7.clear();
}

void NoteAnswer(Game& g, const std::string& caption) {
    NoteShown(g);
    Keep(g.ui, "→ " + caption, HistoryKind::Answer);
}

namespace {

// A dialog stops a skip: a held key counts as let go, and Tab's skip ends at the next tick.
void TakeKeyboard(UiState& ui) {
    ui.ReleaseHeldKeys();
    if (ui.skipToggled) {
        ui.skipToggled = false;
        ui.fastForwardReleased = true;
    }
}

} // namespace

MsgAnswer MsgBox(Game& g, const std::string& text, MsgButtons buttons, bool critical,
                 const std::string& title) {
    NoteShown(g);
    // Something went wrong: the box sounds as it opens.
    if (critical) g.svc.PlaySound(SoundName(Sound::Error));
    ++g.ui.modals;
    TakeKeyboard(g.ui); // the box takes the keyboard
    return g.svc.MsgBox(text, buttons, critical, title);
}

void RunNameDialog(Game& g) {
    NoteShown(g);
    ++g.ui.modals;
    TakeKeyboard(g.ui); // the dialog takes the keyboard
    g.svc.RunNameDialog(g);
}

} // namespace vern
