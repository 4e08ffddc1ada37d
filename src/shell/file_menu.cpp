// Start over and quit. Saving and loading live in battle/save_file.cpp.
#include "shell/file_menu.h"

#include "battle/game_mode.h"
#include "screen/start.h"
#include "state/history.h"

namespace vern {

void 始めから_Click(Game& g) {
    if (MsgBox(g, "リセットしますか？", MsgButtons::YesNo, false, "リセット") == MsgAnswer::No)
        return;
    NoteSeparator(g, kHistoryNewGame);
    Start(g);
    Mshow(g, g.s.GameMode);
    MsgBox(g, "リセットしました。", MsgButtons::OK, false, "リセット完了");
}

void ゲームの終了_Click(Game& g) {
    if (MsgBox(g, "終了しますか？", MsgButtons::YesNo, false, "ゲームの終了") == MsgAnswer::No)
        return;
    EndProgram();
}

} // namespace vern
