// The keyboard, as the front ends hand it to the game: keys by their X keysym names
// ("Return", "space", "Right", "Control_L", "1", "a" …). A key acts through the same event
// boundary as a click; the window only translates its key events into these.
//
// Story: Return, space and Right read on like ≫; Y and N answer a choice; A switches
// auto-advance; Control held fast-forwards until it is released; H hides the text. Board: 1..4
// press Command1(0..3); the arrows move a focus over the units that can be picked, and Return or
// space picks it; Return, space or Escape dismiss a hint; Return, space and Right press the one
// forward button (＞, スタート), never a choice; Y and N answer はい / いいえ; R gives the previous
// orders again; Control or Shift held steps a phase at the fast-forward tick. Anywhere: F1
// shows the keys, Prior (Page Up) the history; Next or Escape close the history.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// H or a right click on the story panel: the story text and the panel's buttons hide so that
// the picture shows whole; false when the story panel is not showing. The next click or key
// shows them again (ShowStoryText) without reading on; ticks wait meanwhile.
bool HideStoryText(Game& g);
bool ShowStoryText(Game& g);

// A key pressed; false when it did nothing. repeat: the key held down, repeating.
bool KeyDown(Game& g, const std::string& key, bool repeat = false);
// A held key repeating: it acts as pressed again while the screen it went down on stays, and
// never carries into the next screen.
bool KeyRepeat(Game& g, const std::string& key);

// The board's one forward button (＞ or スタート) when it is the only live button, else -1: the
// reading keys and a click on the message panel press it, and never a button that chooses.
int ForwardButton(const Game& g);
// The live button captioned はい (yes) or いいえ, for Y and N; -1 when there is none.
int AnswerButton(const Game& g, bool yes);
// Keeps the party's orders of the phase that starts now, for R.
void NoteOrders(Game& g);
// Moves the board focus off a unit that can no longer be picked.
void SettleFocus(Game& g);
// A key released; only Control, which acts while held, reacts.
bool KeyUp(Game& g, const std::string& key);
// The window lost the keyboard (to another window, or to a dialog of its own): every held key
// counts as released, since the window will not see its release. False when none was held.
bool FocusLost(Game& g);

// A key pressed and released.
bool Key(Game& g, const std::string& key);

// True while a click on a board label would pick a unit (a target, a recruit, a unit to look
// up): the pointer and the keyboard focus show it.
bool BoardPicks(const Game& g);

// A key in the open name dialog: Return is 決定, Escape the close box, BackSpace takes the last
// character away and a printable key types its character.
void NameInp_Key(Game& g, const std::string& key);

} // namespace vern
