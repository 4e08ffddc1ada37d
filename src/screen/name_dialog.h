// NameInp, the modal dialog that names a story character.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// Opens the dialog (its load event, then the service's modal loop) and returns once it closed.
void ShowNameInp(Game& g);

// The dialog's events, fed by the front end while it is open.
void NameInp_Form_Load(Game& g);
// The player changed Text1 to text.
void NameInp_Text1_Change(Game& g, const std::string& text);
void NameInp_Command1_Click(Game& g); // デフォルト
void NameInp_Command2_Click(Game& g); // ランダム
void NameInp_Command3_Click(Game& g); // 決定
// Closing, through 決定 or the close box.
void NameInp_Form_Unload(Game& g);

} // namespace vern
