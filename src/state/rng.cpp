// Clock seeding of the game's generator.
#include "state/rng.h"

#include <chrono>

namespace vern {

void Rng::Randomize() {
    if (fixedSeed) return;
    engine_.seed(static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

} // namespace vern
