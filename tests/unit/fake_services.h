// A stand-in for the window and runtime services in unit tests: message boxes are recorded
// and answered from a queue, the name dialog runs a queued list of actions, beeps are counted.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "state/game.h"

namespace vern::test {

struct FakeServices : Services {
    struct Box {
        std::string text;
        MsgButtons buttons;
        bool critical;
        std::string title;
    };
    std::vector<Box> boxes;
    std::deque<MsgAnswer> answers;                 // for Yes/No boxes; Yes when empty
    std::deque<std::function<void(Game&)>> dialog; // actions while the name dialog is open
    int dialogOpenings = 0;
    int beeps = 0;
    std::string appPath = ".";

    MsgAnswer MsgBox(const std::string& text, MsgButtons buttons, bool critical,
                     const std::string& title) override {
        boxes.push_back({text, buttons, critical, title});
        if (buttons == MsgButtons::OK) return MsgAnswer::OK;
        if (answers.empty()) return MsgAnswer::Yes;
        MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void RunNameDialog(Game& g) override {
        ++dialogOpenings;
        while (g.n.open && !dialog.empty()) {
            auto action = dialog.front();
            dialog.pop_front();
            action(g);
        }
    }
    void Beep() override { ++beeps; }
    std::string AppPath() override { return appPath; }
    std::optional<std::string> saveFolder; // the program folder when unset
    std::string otherSaveFolder;
    std::string SaveFolder() override { return saveFolder ? *saveFolder : appPath; }
    std::string OtherSaveFolder() override { return otherSaveFolder; }
    bool canDraw = true; // whether the window could draw a checked picture
    bool CanDrawPicture(const std::string&) override { return canDraw; }

    std::string LastText() const { return boxes.empty() ? "" : boxes.back().text; }
};

// A game with fake services and a fixed seed, opened (Start and the first screen) or not.
struct TestGame {
    explicit TestGame(std::uint64_t seed = 1) : g(svc) {
        g.rng.Seed(seed);
        g.rng.fixedSeed = true;
    }
    FakeServices svc;
    Game g;
};

} // namespace vern::test
