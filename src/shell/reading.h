// Reading the story the way story games are read: the steps the player has read (kept for the
// player, in a file of their own), the keys' skip that stops at the first unread step, text that
// types itself out at a chosen speed, the pace of auto-advance, the marks that say what runs,
// and a step back to an earlier text with the whole game as it stood there.
#pragma once

#include <cstddef>
#include <string>

#include "state/game.h"

namespace vern {

// The steps read so far, from the player's file (Services::ReadRecordFile); at the start.
void OpenReadRecord(Game& g);
// The step on the story panel counts as read; the file is written a few steps at a time and when
// the story panel closes. After each event.
void NoteRead(Game& g);
// Writes what is not written yet (at the end of the program, too).
void FlushReadRecord(Game& g);
// Whether the step on the story panel had been read before it showed.
bool StepRead(const Game& g);

// The keys' skip runs: fast-forward started by Control held or by Tab.
bool SkippingByKeys(const Game& g);
// Tab: starts a skip (or stops whatever fast-forward runs); false off the story panel.
bool ToggleSkip(Game& g);
// A: auto-advance on or off; false where the story cannot read on and it is off.
bool ToggleAuto(Game& g);
// After a tick of fast-forward: a skip of the keys stops on a step not read before, unless the
// player lets it pass unread text too.
void StopSkipAtUnread(Game& g);

// The typing of the story text. Whether the whole text shows; how many characters show.
bool TypingDone(const Game& g);
std::size_t TypedChars(const Game& g);
// The whole text at once (a click or a key during the typing).
void CompleteTyping(Game& g);
// Time passes for the typing; false when nothing is typing.
bool Elapse(Game& g, int ms);
// How long auto-advance leaves a text on screen at its pace, in milliseconds.
int AutoAdvancePauseMs(const Game& g, const std::string& text);

// What runs on the story panel, for its mark: "オート", "スキップ" or "".
std::string StoryMark(const Game& g);

// The game as it stands, to come back to.
StoryMoment MomentOf(const Game& g);
// After each event: keeps the moment before it when the event read the story on, and forgets
// every moment when the story left the panel, a dialog or a message box came, the party changed,
// the scene changed or a record was loaded.
// before: the moment before the event, when the story panel showed then.
void NoteMoment(Game& g, const StoryMoment* before, int modalsBefore, int loadsBefore);
// Back one text, to the game as it stood there; fast-forward, skip and auto stop. False when
// there is nothing to go back to (the start of the scene, or a battle, a dialog, a
// recruitment or a load since).
bool StepBack(Game& g);

// After each event: the comforts that follow the screen (the typing, the choice's focus, a
// skip that ended).
void SettleReading(Game& g);

} // namespace vern
