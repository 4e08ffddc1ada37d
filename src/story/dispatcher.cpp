// The story panel: the dispatcher that runs the current scene for the current step, the ≫,
// 早送り and はい/いいえ buttons, and the timer's fast-forward.
#include "story/dispatcher.h"

#include <limits>

#include "battle/save_file.h"
#include "battle/save_slots.h"
#include "catalogue/units.h"
#include "story/commands.h"
#include "story/scenes.h"

namespace vern {

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string::npos) break;
        out.append(text, pos, hit - pos);
        out += to;
        pos = hit + from.size();
    }
    out.append(text, pos, std::string::npos);
    text = std::move(out);
}

} // namespace

void StopFastForward(Game& g) {
    g.s.FastForward = 0;
    g.f.Timer1.Interval = 200;
    g.f.Command3.Caption = "早送り";
}

void ExpandIndentMarks(std::string& text) {
    ReplaceAll(text, "SP", std::string(10, ' '));
}

void ApplyCharNames(Game& g, std::string& text) {
    for (int i = 1; i <= 10; ++i) ReplaceAll(text, DefaultName(g, i), g.s.CharName[i - 1]);
}

void ShowStoryStep(Game& g) {
    if (g.s.SceneNo > 9999) g.s.SceneNo = 9999;
    LoadLeadPortrait(g);
    std::string text;
    SceneRoutineFor(g.s.SceneNo)(g, text);
    ExpandIndentMarks(text);
    ApplyCharNames(g, text);
    g.f.Label7.Caption = text;
}

void STORYshow(Game& g) {
    g.f.Picture2.Visible = true;
    ShowStoryStep(g);
    // A step that has already left the story (it ended the scene or started a battle) has
    // handed the menus and the command bar back to game mode; they stay usable.
    if (!g.f.Picture2.Visible) return;
    g.f.セーブ.Enabled = false;
    g.f.願い一覧.Enabled = false;
    for (int i = 0; i <= 3; ++i) g.f.Command1[i].Enabled = false;
}

void Command2_Click(Game& g) {
    // The step counter stops at its upper limit: an advance from step 32767 shows 32767 again
    // instead of running past the end of the counter.
    if (g.s.StoryStep < std::numeric_limits<Int16>::max())
        g.s.StoryStep = static_cast<Int16>(g.s.StoryStep + 1);
    ShowStoryStep(g);
    // Fast-forward lives on the story panel: a step that takes the story off it stops it, also
    // when the player's own ≫ got there before the timer (else the next tick would advance the
    // story behind the battle or the free menu).
    if (!g.f.Picture2.Visible && g.s.FastForward == kTrue) StopFastForward(g);
    if (g.s.AskLoad == kTrue) {
        const int loads = g.ui.loads;
        ロード_Click(g);
        // The game's own flow ended without a load: the latest autosave is offered.
        if (g.ui.loads == loads && !g.ended) OfferLatestAutosave(g);
    }
    g.s.AskLoad = 0;
}

void Command3_Click(Game& g) {
    if (g.s.FastForward == kTrue) {
        StopFastForward(g);
    } else {
        g.s.FastForward = kTrue;
        g.f.Timer1.Interval = 25;
        g.f.Command3.Caption = "止める";
    }
}

void Command4_Click(Game& g, int idx) {
    g.s.StoryStep = g.s.ChoiceStep[idx];
    ShowStoryStep(g);
    g.f.Command2.Visible = true;
    g.f.Command3.Visible = true;
    g.f.Command4[0].Visible = false;
    g.f.Command4[1].Visible = false;
}

bool FastForwardTick(Game& g) {
    if (g.s.FastForward != kTrue) return false;
    Command2_Click(g);
    if (!g.f.Picture2.Visible) StopFastForward(g);
    return g.s.FastForward == kTrue;
}

} // namespace vern
