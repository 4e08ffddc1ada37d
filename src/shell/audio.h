// Music and sound, as the game decides them: which piece plays on each screen (content/
// music.txt: the scenes and where their mood turns, the story battles, the screens outside the
// story) and which effect answers each event. The front end plays them (Services::PlayMusic,
// PlaySound); it never decides.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// The piece for the screen as it stands ("" silence).
std::string MusicFor(const Game& g);
// After each event: the music follows the screen, and the event's effect plays (the loudest of
// it; none for reading on while fast-forward or a skip runs).
void SettleAudio(Game& g);

} // namespace vern
