// A battle board for the battle tests: ten named units with chosen hit points and wishes, the
// window started, and helpers to read the command bar.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "fake_services.h"
#include "screen/panels.h"
#include "screen/start.h"

namespace vern::test {

struct BattleBoard : ::testing::Test {
    TestGame t;
    Game& g = t.g;
    GameState& s = t.g.s;

    void SetUp() override {
        Start(g);
        for (int i = 0; i <= 9; ++i) Unit(i, 0);
        s.SelSlot = 10;
    }
    // Slot i: named "u<i>", full hit points hp, wish w, waiting (or down at 0 HP).
    void Unit(int i, Long hp, int w = 0) {
        s.UnitName[i] = "u" + std::to_string(i);
        s.UnitMaxHP[i] = s.UnitHP[i] = hp;
        s.UnitWish[i] = static_cast<Byte>(w);
        s.UnitWishState[i] = 0;
        s.SlotState[i] = hp != 0 ? 0 : 4;
        s.SlotCross[i] = 0;
        s.SlotCrossNext[i] = 0;
        s.SlotSummoned[i] = 0;
        s.SlotHeals[i] = 0;
        s.PhaseHPChange[i] = 0;
    }
    std::array<std::string, 4> Captions() const {
        return {g.f.Command1[0].Caption, g.f.Command1[1].Caption, g.f.Command1[2].Caption,
                g.f.Command1[3].Caption};
    }
    const std::string& Message() const { return g.f.Label1.Caption; }
};

} // namespace vern::test
