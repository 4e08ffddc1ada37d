// The one random generator of the game. Rnd() is uniform in [0, 1); a seed replays a game.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <random>

namespace vern {

class Rng {
  public:
    explicit Rng(std::uint64_t seed = 0) : engine_(seed) {}
    // Uniform in [0, 1), 53 random bits; scripted values first, when a test queued some.
    double Rnd() {
        if (!scripted_.empty()) {
            const double r = scripted_.front();
            scripted_.pop_front();
            return r;
        }
        return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
    }
    // Tests: the next draws return these values, in order.
    void Script(std::initializer_list<double> values) { scripted_.insert(scripted_.end(), values); }
    bool ScriptDone() const { return scripted_.empty(); }
    void Seed(std::uint64_t seed) { engine_.seed(seed); }
    // Start's reseeding from the clock; skipped while a fixed seed is in force.
    void Randomize();
    bool fixedSeed = false;
    bool operator==(const Rng&) const = default;

  private:
    std::mt19937_64 engine_;
    std::deque<double> scripted_;
};

} // namespace vern
