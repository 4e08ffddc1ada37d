// Seeing the battle coming. A unit's hit points are at once its power and its speed, the enemies
// plan at the start of each phase, and the resolution is fixed (chance only picks a word): so
// the game knows exactly what will happen. Every figure here comes from running the game's own
// rules on a copy of the whole game (state/quiet_services.h), never from a second formula; the
// copy cannot touch the real game, its generator, the save file or a dialog.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "state/game.h"

namespace vern {

// What one action does, resolved alone against the hit points as they stand.
struct ActionForecast {
    int actor = 0;
    int target = 0;
    bool heals = false;
    bool getsUp = false; // the actor is knocked down: it only gets up
    bool spent = false;  // the target is already dead: the action is lost
    Long targetBefore = 0, targetAfter = 0;
    Long actorBefore = 0, actorAfter = 0;           // differ when a hit is reflected or eaten
    bool knocksDown = false;                        // the target skips its next action
    bool targetDies = false, targetRevives = false; // revives: an extra life, or the unit a
                                                    // destroyed creature stood for comes back
    bool actorDies = false;
    bool operator==(const ActionForecast&) const = default;
};

// An acting enemy's plan for the phase, as the board shows it.
struct Intent {
    int enemy = 0;
    int target = 0;
    bool heals = false;   // a 白僧 heals one of its own
    bool holds = false;   // a スタンピード knocks its target down
    bool doubled = false; // a 聖剣師 strikes with twice its power
    bool drains = false;  // a アンチライフ strikes with its target's own hit points
    bool halved = false, thirded = false; // the target takes half (ダブルライフ) or a third
    bool getsUp = false;                  // knocked down: the enemy only gets up this phase
    ActionForecast effect;                // the action alone, against the board as it stands
    bool operator==(const Intent&) const = default;
};

// The phases in which each board slot acts in this turn as things stand (no hit point changing
// from here on): 1 is the phase under way (or the next one), then 2, 3 …; a unit with a second
// or third action has several. Empty outside a turn.
struct TurnOrder {
    std::array<std::vector<int>, 10> phases;
    bool operator==(const TurnOrder&) const = default;
};

// The whole phase, once every order is given: each slot after it, and who acts next.
struct PhaseForecast {
    std::array<Long, 10> hp{};
    std::array<bool, 10> dead{};
    std::array<bool, 10> knockedDown{}; // skips its next action
    Int16 nextMode = 7;                 // 7 the battle goes on, 8 the party is beaten, 9 won
    bool newTurn = false;               // the next phase opens a new turn
    std::array<bool, 10> actsNext{};    // the slots of the next phase (when the battle goes on)
    bool operator==(const PhaseForecast&) const = default;
};

// Slot i's action of the phase, resolved alone now.
ActionForecast ForecastAction(const Game& g, int i);
// What an order of SelSlot on board slot `slot` would do (while a target is being picked): the
// pick itself runs through the game's own handler; nothing when the pick would not be taken.
std::optional<ActionForecast> ForecastPick(const Game& g, int slot);
// The plans of the enemies that act in the phase under way.
std::vector<Intent> ForecastIntents(const Game& g);
TurnOrder ForecastOrder(const Game& g);
// The phase as it will resolve, once the orders are all given (or while it resolves).
std::optional<PhaseForecast> ForecastPhase(const Game& g);

// Whether a turn is running (the turn screen, a phase being ordered or resolved).
bool InTurn(const Game& g);

} // namespace vern
