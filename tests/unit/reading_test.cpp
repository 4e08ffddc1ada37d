// The step back: what it keeps and where it stops. Every event that reads the story on leaves a
// moment to come back to; a battle, a dialog, a recruitment, a load or a new scene in between
// leaves nothing to step back across.
#include <gtest/gtest.h>

#include <functional>

#include "fake_services.h"
#include "shell/events.h"
#include "shell/reading.h"
#include "state/history.h"

namespace vern::test {
namespace {

// A story on its panel: two texts read, so two moments to come back to.
struct Story {
    TestGame t;
    Game& g = t.g;
    Story() {
        g.f.Picture2.Visible = true;
        g.f.Command2.Visible = true;
        g.s.SceneNo = 5;
        g.s.StoryStep = 1;
        g.f.Label7.Caption = "一";
        for (const char* text : {"二", "三"}) Read(text);
    }
    void Read(const char* text) {
        RunEvent(g, [&] {
            ++g.s.StoryStep;
            g.f.Label7.Caption = text;
        });
    }
};

TEST(StepBack, ComesBackTextByTextToTheGameAsItStood) {
    Story story;
    Game& g = story.g;
    ASSERT_EQ(g.ui.back.size(), 2u);
    g.s.FastForward = kTrue;
    g.ui.autoAdvance = true;
    ASSERT_TRUE(StepBack(g));
    EXPECT_EQ(g.s.StoryStep, 2);
    EXPECT_EQ(g.f.Label7.Caption, "二");
    EXPECT_EQ(g.s.FastForward, 0) << "fast-forward stops";
    EXPECT_FALSE(g.ui.autoAdvance) << "auto stops";
    EXPECT_TRUE(StepBack(g));
    EXPECT_FALSE(StepBack(g)) << "no further than the first text";
    EXPECT_EQ(g.s.StoryStep, 1);
}

TEST(StepBack, NothingStepsBackAcrossWhatCannotBeUndone) {
    struct Case {
        const char* what;
        std::function<void(Game&)> event;
    } cases[] = {
        {"a battle", [](Game& g) { g.f.Picture2.Visible = false; }},
        {"a message box", [](Game& g) { MsgBox(g, "箱", MsgButtons::OK, false, ""); }},
        {"a recruitment", [](Game& g) { g.s.UnitName[4] = "新顔"; }},
        {"a load", [](Game& g) { ++g.ui.loads; }},
        {"a new scene", [](Game& g) { g.s.SceneNo = 6; }},
    };
    for (const Case& c : cases) {
        Story story;
        Game& g = story.g;
        RunEvent(g, [&] {
            ++g.s.StoryStep;
            g.f.Label7.Caption = "四";
            c.event(g);
        });
        // Back on the story panel after it, reading on: only what came after can be undone.
        g.f.Picture2.Visible = true;
        EXPECT_FALSE(StepBack(g)) << c.what;
        story.Read("五");
        EXPECT_TRUE(StepBack(g)) << c.what;
        EXPECT_EQ(g.f.Label7.Caption, "四") << c.what;
        EXPECT_FALSE(StepBack(g)) << c.what;
    }
}

TEST(StepBack, ATickThatReadsNothingLeavesNoMoment) {
    Story story;
    Game& g = story.g;
    RunEvent(g, [] {});
    EXPECT_EQ(g.ui.back.size(), 2u);
}

} // namespace
} // namespace vern::test
