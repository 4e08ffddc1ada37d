// The message history: what the two text panels show, in order, once each time it changes.
#include <gtest/gtest.h>

#include "fake_services.h"
#include "state/history.h"

namespace vern::test {
namespace {

std::deque<std::string> Texts(const Game& g) {
    std::deque<std::string> texts;
    for (const HistoryLine& line : g.ui.history) texts.push_back(line.text);
    return texts;
}

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
    EXPECT_EQ(Texts(g), (std::deque<std::string>{"一", "二"}));
    // A message box notes what is on screen behind it.
    g.f.Label1.Caption = "箱の後ろ";
    MsgBox(g, "箱", MsgButtons::OK, false, "");
    EXPECT_EQ(g.ui.history.back().text, "箱の後ろ");
    // The newest thousand stay.
    for (int i = 0; i < 1500; ++i) {
        g.f.Label1.Caption = std::to_string(i);
        NoteShown(g);
    }
    EXPECT_EQ(g.ui.history.size(), UiState::kHistoryLimit);
    EXPECT_EQ(g.ui.history.front().text, "500");
    EXPECT_EQ(g.ui.history.back().text, "1499");
}

TEST(History, PagesThatOnlyShowATitleAreMarkedSo) {
    const std::string indent(10, ' ');
    struct Case {
        std::string text;
        bool title;
    } cases[] = {
        {"\r" + indent + indent + "≪第二部≫", true},
        {"ＥＶＥＲＹＯＮＥ　ＨＡＳ　ＯＮＥ　ＷＩＳＨ\r\r" + indent + "≪ヴェルナドーラ演義≫", true},
        {indent + "in the deeeeeep darkness．", true},
        {indent + indent + "ＧＡＭＥ  ＯＶＥＲ", true},
        {"ＧＡＭＥ　ＯＶＥＲ", false}, // capitals alone may be a line of the story
        {"夜が明けた。", false},
        {indent + "≪第二部≫\r語りの一行", false},
        {"ＯＫ？", false}, // a wide question mark is a line of the story
        {"", false},
        {"\r   ", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsTitlePage(c.text), c.title) << c.text;
}

} // namespace
} // namespace vern::test
