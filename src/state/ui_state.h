// What the game keeps for the player's comfort around its own screens: the message history,
// the panels laid over the window (history, key help), the keyboard focus on the board,
// auto-advance and the held fast-forward key. Lives in memory only; the save file never
// holds it and no rule of the game reads it.
#pragma once

#include <array>
#include <deque>
#include <string>

namespace vern {

enum class Overlay { None, History, Help };

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
    std::deque<std::string> history;
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
    // Loads so far (ロード, a slot, the quick slot): tells whether a load happened.
    int loads = 0;

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
