// Saving and loading "save.dat". Not built yet: the commands say so and change nothing.
#include "shell/file_menu.h"

namespace vern {

void セーブ_Click(Game& g) {
    if (g.s.SceneNo == 37 && g.s.SaveOpen == 0) return;
    g.svc.MsgBox("セーブはまだ使えません。", MsgButtons::OK, false, "セーブ");
}

void ロード_Click(Game& g) {
    g.svc.MsgBox("ロードはまだ使えません。", MsgButtons::OK, false, "ロード");
}

} // namespace vern
