// What the game keeps for the player's comfort around its own screens: the message history,
// the panels laid over the window (history, key help), the keyboard focus on the board,
// auto-advance and the held fast-forward key. Lives in memory only; the save file never
// holds it and no rule of the game reads it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "state/form.h"
#include "state/read_steps.h"
#include "state/rng.h"
#include "state/sound.h"
#include "state/state.h"

namespace vern {

enum class Overlay { None, History, Help };

// What a line of the history is: a text the game showed, a page that only shows a title (the
// history panel leaves it out), the answer the player gave at a choice (only the panel shows
// it), a line of the history's own between games.
enum class HistoryKind : std::uint8_t { Text, Title, Answer, Separator };

struct HistoryLine {
    std::string text;
    HistoryKind kind = HistoryKind::Text;
    bool operator==(const HistoryLine&) const = default;
};

// The game as it stood at a story step, to step back to: the game's state is plain data.
struct StoryMoment {
    GameState s;
    Form3 f;
    Rng rng;
    std::uint64_t historyAdded = 0; // lines the history had taken by then
    std::string notedLabel1, notedLabel7;
};

// A party unit's last order, for R (the same orders again).
struct LastOrder {
    bool given = false;
    int target = 0;
    bool heals = false;
};

struct UiState {
    static constexpr std::size_t kHistoryLimit = 1000;

    Overlay overlay = Overlay::None;
    // What Label1 and Label7 have shown, oldest first; consecutive repeats once.
    std::deque<HistoryLine> history;
    std::uint64_t historyAdded = 0;       // every line ever taken, the dropped ones too
    std::string notedLabel1, notedLabel7; // the captions the history last saw
    // The board slot with the keyboard focus while a unit can be picked; -1: none yet.
    int focus = -1;
    bool autoAdvance = false;
    int autoWaitMs = 0;           // how long the current text has been shown under auto-advance
    std::string autoText;         // the text that wait is for
    bool fastForwardHeld = false; // fast-forward runs because Control is held
    // Control was let go (or the window lost the keyboard) while an event ran: the next tick
    // stops the fast-forward it held, instead of reading on.
    bool fastForwardReleased = false;
    int modals = 0; // message boxes and name dialogs shown so far
    // The story text and the story panel's buttons are hidden so that the picture shows whole
    // (H or a right click); the next click or key brings them back without reading on.
    bool textHidden = false;
    // The board is being played with the keys: the window marks each button with its key.
    bool boardKeys = false;
    // Control or Shift held on the board: the phase's "＞" is pressed at the fast-forward tick.
    bool paceHeld = false;
    // The screen a key went down on: a held key repeats only while it stays.
    std::string keyScreen;
    std::array<LastOrder, 5> lastOrders{};
    // The battle additions (enemy plans, the turn's order, forecasts) are drawn on the board.
    bool battleAdditions = true;
    // The game saves by itself on arriving at the free menu (the window turns it on from the
    // player's settings; the script driver only when asked).
    bool autosave = false;
    // The game mode at the end of the last event: arriving at the free menu is a change of it.
    int lastMode = -1;
    // The save folder has been cleared of what a copy killed mid-save left (once a run, before
    // the first record is read or written).
    bool saveFolderTidied = false;
    // Loads so far (ロード, a slot, the quick slot): tells whether a load happened.
    int loads = 0;

    // Reading the story.
    // The steps the player has seen, in any game; written to readFile (when there is one) a few
    // at a time and when the story panel closes.
    ReadSteps read;
    int readUnsaved = 0;
    bool readLoaded = false;
    // The keys' skip (Control held, Tab) passes unread steps too; else it stops at the first.
    bool skipUnread = true;
    bool skipToggled = false; // Tab started the skip that runs
    // How story text appears: 0 at once, else this many characters a second.
    int textSpeed = 0;
    std::string typingText; // the text being typed
    int typedMs = 0;        // how long it has been typing
    bool typingDone = true;
    // Auto-advance's pace, 0 (slow) to 3 (fastest); 1 is the game's first pace.
    int autoSpeed = 1;
    // Where the story can step back to, the latest last.
    std::vector<StoryMoment> back;
    static constexpr std::size_t kBackLimit = 200;
    // The answer the keyboard has chosen at a story choice: 0 はい, 1 いいえ, -1 none yet.
    int choiceFocus = -1;
    // The history panel is scrolled to its end (the window says): Page Down then closes it.
    bool historyAtBottom = true;

    // Music and sound. The effect the running event called for (the most important one), and
    // the piece playing now ("" silence).
    Sound cue = Sound::None;
    std::string music;

    void Cue(Sound s) {
        if (static_cast<int>(s) > static_cast<int>(cue)) cue = s;
    }

    // Every held key counts as let go: the window lost the keyboard to a dialog or to another
    // window, and will not see the keys' release.
    void ReleaseHeldKeys() {
        paceHeld = false;
        if (!fastForwardHeld) return;
        fastForwardHeld = false;
        fastForwardReleased = true;
    }
};

} // namespace vern
