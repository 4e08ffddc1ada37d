// Start over and quit. Saving and loading live in shell/save_file.cpp.
#include "shell/file_menu.h"

#include "battle/game_mode.h"
#include "shell/start.h"

namespace vern {

void 始めから_Click(Game& g) {
    if (g.svc.MsgBox("リセットしますか？", MsgButtons::YesNo, false, "リセット") == MsgAnswer::No)
        return;
    Start(g);
    Mshow(g, g.s.GameMode);
    g.svc.MsgBox("リセットしました。", MsgButtons::OK, false, "リセット完了");
}

void ゲームの終了_Click(Game& g) {
    if (g.svc.MsgBox("終了しますか？", MsgButtons::YesNo, false, "ゲームの終了") == MsgAnswer::No)
        return;
    EndProgram();
}

} // namespace vern
