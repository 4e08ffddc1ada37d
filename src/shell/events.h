// The events a player can cause, as the front ends hand them to the game. Each runs to its
// end before the next is taken: an event that arrives while another is running (a timer tick
// behind a message box, say) is dropped. An event that ends the program sets Game::ended.
// While a panel lies over the window (the history, the key help) nothing reaches the game: a
// click closes the panel, menu commands and timer ticks are dropped. Keys are in keys.h.
#pragma once

#include <functional>

#include "state/game.h"

namespace vern {

enum class Control {
    Command1,
    Command2,
    Command3,
    Command4,
    Label2,
    Label3,
    Label4,
    Label8,
    Label9,
    Picture1,
    Label7,   // the story text: reads on like ≫
    Picture2, // the story panel: reads on like ≫
    Label1    // the message panel: presses the board's forward button, as the reading keys do
};
enum class MenuCommand { 願い, セーブ, ロード, 始めから, ゲームの終了 };

// Runs one event to its end; false (dropped) while another runs or after the program ended.
// Afterwards the history notes what the panels show.
bool RunEvent(Game& g, const std::function<void()>& handler);

// True when the control could receive a player's click now (visible, enabled, not covered).
bool Clickable(const Game& g, Control c, int index);
bool MenuEnabled(const Game& g, MenuCommand m, int index);

// A player's click; false when the control did not react.
bool Click(Game& g, Control c, int index = 0);
bool Menu(Game& g, MenuCommand m, int index = 0);
// One Timer1 tick.
void Tick(Game& g);
// The main window's close box: it asks what ゲームの終了 asks and ends the program only on はい.
// False when it did not react (another event is running, or the program has ended).
bool CloseBox(Game& g);
// Form3's load event: Start, then the first screen.
void Form_Load(Game& g);
// The window opens: Form_Load as one event.
void Open(Game& g);

// Label2_Click and the timer handler, as the game defines them.
void Label2_Click(Game& g, int i);
void Timer1_Timer(Game& g);

} // namespace vern
