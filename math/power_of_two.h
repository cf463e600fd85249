// Texture sides for GLs that take powers of two only (Windows' own GL 1.1).
#pragma once

#include <cstdint>

namespace noxd {

// The smallest power of two not below `value` (1 for anything below 2).
template <typename T>
constexpr T PowerOfTwoCeil(T value) {
    T p = 1;
    while (p < value) p *= 2;
    return p;
}

// The largest power of two not above `value`; 0 for none.
constexpr int32_t PowerOfTwoFloor(int32_t value) {
    if (value < 1) return 0;
    int32_t p = 1;
    while (p <= value / 2) p *= 2;
    return p;
}

}  // namespace noxd
