// The story panel: showing a scene step by step, fast-forward and the choice buttons.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

void STORYshow(Game& g);
void ShowStoryStep(Game& g);
void Command2_Click(Game& g);          // ≫
void Command3_Click(Game& g);          // 早送り / 止める
void Command4_Click(Game& g, int idx); // はい / いいえ
// One fast-forward tick; returns false when fast-forward is off.
bool FastForwardTick(Game& g);

} // namespace vern
