// The one random generator of the game. Rnd() is uniform in [0, 1); a seed replays a game.
#pragma once

#include <cstdint>
#include <random>

namespace vern {

class Rng {
  public:
    explicit Rng(std::uint64_t seed = 0) : engine_(seed) {}
    // Uniform in [0, 1), 53 random bits.
    double Rnd() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    void Seed(std::uint64_t seed) { engine_.seed(seed); }
    // Start's reseeding from the clock; skipped while a fixed seed is in force.
    void Randomize();
    bool fixedSeed = false;

  private:
    std::mt19937_64 engine_;
};

} // namespace vern
