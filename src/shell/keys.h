// The keyboard, as the front ends hand it to the game: keys by their X keysym names
// ("Return", "space", "Right", "Control_L", "1", "a" …). A key acts through the same event
// boundary as a click; the window only translates its key events into these.
//
// Story: Return, space and Right read on like ≫; Y and N answer a choice; A switches
// auto-advance; Control held fast-forwards until it is released; H hides the text. Board: 1..4
// press Command1(0..3); the arrows move a focus over the ten rows while a unit can be picked, and
// Return or space picks it; Return, space or Escape dismiss a hint. Anywhere: F1 shows the
// keys, Prior (Page Up) the history; Next or Escape close the history.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// H or a right click on the story panel: the story text and the panel's buttons hide so that
// the picture shows whole; false when the story panel is not showing. The next click or key
// shows them again (ShowStoryText) without reading on; ticks wait meanwhile.
bool HideStoryText(Game& g);
bool ShowStoryText(Game& g);

// A key pressed; false when it did nothing.
bool KeyDown(Game& g, const std::string& key);
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
