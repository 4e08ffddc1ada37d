// The rounding rules the game uses when it turns a fraction into a whole number.
#include <cmath>
#include <limits>

#include "state/game.h"

namespace vern {

long long Int(double x) {
    return static_cast<long long>(std::floor(x));
}

long long RoundHalfEven(double x) {
    return static_cast<long long>(std::nearbyint(x));
}

long long Ceiling(double x) {
    return static_cast<long long>(std::ceil(x));
}

Long SaturateToLong(double x) {
    if (x >= std::numeric_limits<Long>::max()) return std::numeric_limits<Long>::max();
    if (x <= std::numeric_limits<Long>::min()) return std::numeric_limits<Long>::min();
    return static_cast<Long>(x);
}

} // namespace vern
