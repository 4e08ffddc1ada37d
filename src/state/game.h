// One running game: the shared state, the window model, the generator and the services.
#pragma once

#include <exception>

#include "state/form.h"
#include "state/rng.h"
#include "state/services.h"
#include "state/state.h"
#include "state/ui_state.h"

namespace vern {

// Thrown by EndProgram and caught at the event boundary: the program ends at once, nothing
// after the call runs.
struct ProgramEnded : std::exception {
    const char* what() const noexcept override { return "program ended"; }
};

struct Game {
    explicit Game(Services& services) : svc(services), f(MakeForm3()), n(MakeNameInp()) {}
    Services& svc;
    GameState s;
    Form3 f;
    NameInpForm n;
    Rng rng;
    UiState ui;
    bool ended = false; // the program has ended
    bool busy = false;  // an event is being handled

    double Rnd() { return rng.Rnd(); }
};

[[noreturn]] inline void EndProgram() {
    throw ProgramEnded{};
}

// Int of the rules: the largest integer not above x.
long long Int(double x);
// Nearest integer, halves to the even neighbour.
long long RoundHalfEven(double x);
// Smallest integer not below x.
long long Ceiling(double x);
// x as a Long, held at the type's limits (hit points stay far inside them in play).
Long SaturateToLong(double x);

constexpr char CR = '\r';

} // namespace vern
