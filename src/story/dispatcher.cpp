// The story panel. The scenes are not told yet: entering the story shows a plain screen that
// leads back to the free menu.
#include "story/dispatcher.h"

#include "battle/command_bar.h"
#include "shell/panels.h"

namespace vern {

void STORYshow(Game& g) {
    SetSingleButton(g, "＞");
    SetChoice1(g, 18);
}

void ShowStoryStep(Game&) {}
void Command2_Click(Game&) {}
void Command3_Click(Game&) {}
void Command4_Click(Game&, int) {}
bool FastForwardTick(Game& g) {
    return g.s.FastForward == kTrue;
}

} // namespace vern
