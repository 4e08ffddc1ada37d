// セーブ and ロード of the ファイル menu: "save.dat" written and read back. A load is a step of the
// game-mode machine (it ends in Mshow), which is why they live beside it.
#pragma once

#include "state/game.h"

namespace vern {

void セーブ_Click(Game& g);
void ロード_Click(Game& g);

} // namespace vern
