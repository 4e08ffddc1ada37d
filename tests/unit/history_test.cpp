// The message history: what the two text panels show, in order, once each time it changes.
#include <gtest/gtest.h>

#include "fake_services.h"
#include "state/history.h"

namespace vern::test {
namespace {

TEST(History, KeepsWhatThePanelsShowOnceAndOnlyTheNewest) {
    TestGame t;
    Game& g = t.g;
    g.f.Label1.Caption = "一";
    NoteShown(g);
    NoteShown(g);
    // The story label counts only while the story panel shows it.
    g.f.Label7.Caption = "隠れた本文";
    NoteShown(g);
    g.f.Picture2.Visible = true;
    g.f.Label7.Caption = "二";
    NoteShown(g);
    // A text shown again right after itself is kept once; empty texts are not kept.
    g.f.Label1.Caption = "二";
    g.f.Label7.Caption = "";
    NoteShown(g);
    EXPECT_EQ(g.ui.history, (std::deque<std::string>{"一", "二"}));
    // A message box notes what is on screen behind it.
    g.f.Label1.Caption = "箱の後ろ";
    MsgBox(g, "箱", MsgButtons::OK, false, "");
    EXPECT_EQ(g.ui.history.back(), "箱の後ろ");
    // The newest thousand stay.
    for (int i = 0; i < 1500; ++i) {
        g.f.Label1.Caption = std::to_string(i);
        NoteShown(g);
    }
    EXPECT_EQ(g.ui.history.size(), UiState::kHistoryLimit);
    EXPECT_EQ(g.ui.history.front(), "500");
    EXPECT_EQ(g.ui.history.back(), "1499");
}

} // namespace
} // namespace vern::test
