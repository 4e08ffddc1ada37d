// The numbered screens of the game outside the story, and the command bar's click handler.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// Runs the step of a mode and puts its text into the message panel.
void Mshow(Game& g, Int16 mode);
// The step of one mode; returns the text for the message panel.
std::string RunGameMode(Game& g, Int16 mode);

// Asks for the hero's name until a name is given.
void AskHeroName(Game& g);

// A click on command button i (0..3).
void Command1_Click(Game& g, int i);
// The load and save requests a step left for after the click.
void RunDeferredRequests(Game& g);

// The escape penalty of modes 4 and 14; returns the screen's text.
std::string EscapePenalty(Game& g, bool inBattle);
// Summoned creatures go back and the displaced units return (victory and escape).
void SendSummonsBack(Game& g);

} // namespace vern
