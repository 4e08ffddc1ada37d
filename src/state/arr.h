// Fixed-range arrays indexed the way the game's rules index them (0..19, 1..12, ...).
// Every access is checked: an index outside the range is a bug in the game, so it throws
// instead of being clamped or reading a neighbour.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace vern {

struct IndexOutOfRange : std::out_of_range {
    using std::out_of_range::out_of_range;
};

template <typename T, int Lo, int Hi> class Arr {
    static_assert(Hi >= Lo);

  public:
    static constexpr int lo = Lo;
    static constexpr int hi = Hi;

    T& operator[](long long i) { return data_[check(i)]; }
    const T& operator[](long long i) const { return data_[check(i)]; }
    static constexpr bool inRange(long long i) { return i >= Lo && i <= Hi; }
    void fill(const T& v) { data_.fill(v); }
    bool operator==(const Arr&) const = default;

  private:
    static std::size_t check(long long i) {
        if (!inRange(i))
            throw IndexOutOfRange("index " + std::to_string(i) + " outside " + std::to_string(Lo) +
                                  ".." + std::to_string(Hi));
        return static_cast<std::size_t>(i - Lo);
    }
    std::array<T, Hi - Lo + 1> data_{};
};

} // namespace vern
