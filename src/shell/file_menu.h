// The ファイル menu commands that only the player starts: start over and quit. Saving and loading
// are in battle/save_file.h.
#pragma once

#include "state/game.h"

namespace vern {

void 始めから_Click(Game& g);
void ゲームの終了_Click(Game& g);

} // namespace vern
