// The story panel: showing a scene step by step, fast-forward and the choice buttons.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// Enters story mode and shows the current step.
void STORYshow(Game& g);
// Runs the current scene for the current step and puts its text into Label7.
void ShowStoryStep(Game& g);
void Command2_Click(Game& g);          // ≫
void Command3_Click(Game& g);          // 早送り / 止める
void Command4_Click(Game& g, int idx); // はい / いいえ
// One fast-forward tick: one advance, as a click on ≫. Fast-forward stops when the story
// panel has closed. Returns false when fast-forward is (now) off.
bool FastForwardTick(Game& g);
// Fast-forward off: the story's tick and the 早送り caption back.
void StopFastForward(Game& g);

// Puts the player's names of the renameable characters in place of their default names.
void ApplyCharNames(Game& g, std::string& text);
// The story texts' indentation mark: "SP" stands for ten spaces.
void ExpandIndentMarks(std::string& text);

} // namespace vern
