// The ファイル menu: save, load, start over and quit.
#pragma once

#include "state/game.h"

namespace vern {

void セーブ_Click(Game& g);
void ロード_Click(Game& g);
void 始めから_Click(Game& g);
void ゲームの終了_Click(Game& g);

} // namespace vern
