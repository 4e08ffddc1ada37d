// The story steps the player has seen, in any game: a set of (scene, step). It belongs to the
// player, not to the game in progress: 始めから and loads keep it, and no save holds it.
#pragma once

#include <cstdint>
#include <set>

namespace vern {

class ReadSteps {
  public:
    bool Has(int scene, int step) const { return steps_.count(Key(scene, step)) != 0; }
    // True when the step was not read before.
    bool Add(int scene, int step) { return steps_.insert(Key(scene, step)).second; }
    std::size_t size() const { return steps_.size(); }
    void Clear() { steps_.clear(); }
    bool operator==(const ReadSteps&) const = default;

    // Scene in the high half, step in the low half; both as the game's 16-bit numbers.
    static std::uint32_t Key(int scene, int step) {
        return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(scene)) << 16) |
               static_cast<std::uint16_t>(step);
    }
    const std::set<std::uint32_t>& keys() const { return steps_; }

  private:
    std::set<std::uint32_t> steps_;
};

} // namespace vern
