// Window services for the window's tests: no real message boxes. Each box is recorded and
// answered from a queue (Yes when it is empty); a hook runs while a box is "open", the way
// the player's events would arrive behind a real one.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "screen/name_dialog.h"
#include "state/game.h"

namespace vern::qt::test {

struct FakeServices : Services {
    std::vector<std::string> boxes;
    std::deque<MsgAnswer> answers;
    std::function<void()> whileBoxOpen;

    MsgAnswer MsgBox(const std::string& text, MsgButtons buttons, bool,
                     const std::string&) override {
        boxes.push_back(text);
        if (whileBoxOpen) whileBoxOpen();
        if (buttons == MsgButtons::OK) return MsgAnswer::OK;
        if (answers.empty()) return MsgAnswer::Yes;
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    // The player accepts whatever name the dialog offers.
    void RunNameDialog(Game& g) override { NameInp_Command3_Click(g); }
    void Beep() override {}
    std::string AppPath() override { return "/nonexistent"; }
};

} // namespace vern::qt::test
