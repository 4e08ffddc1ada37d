// The message history, and the game's way to open a message box or the name dialog: every
// text the message panel and the story label show is kept, including the ones on screen
// behind a dialog, so the core notes them before each dialog and after each event.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// Adds what Label1 and (while the story panel shows) Label7 show now, if it is new.
void NoteShown(Game& g);

// A line of the history's own between games: after 始めから and after a load, so that the lines
// of another party never read as this game's.
inline constexpr const char* kHistoryNewGame = "― 新しいゲーム ―";
inline constexpr const char* kHistoryLoaded = "― ロード ―";
void NoteSeparator(Game& g, const std::string& line);
// The answer given at a story choice ("→ はい"), for the history panel.
void NoteAnswer(Game& g, const std::string& caption);
// A story page that only shows a title: every line a heading set in by the game's indent, or
// wide capital letters. The history panel leaves such pages out.
bool IsTitlePage(const std::string& text);

// A message box and the name dialog through the services, with the history noted first.
MsgAnswer MsgBox(Game& g, const std::string& text, MsgButtons buttons, bool critical,
                 const std::string& title);
void RunNameDialog(Game& g);

} // namespace vern
