#include "curve_walk.h"

#include <algorithm>
#include <cmath>

namespace noxd {

namespace {

// pi as the curves use it: acos(-1) rounded to float.
const float kPi = static_cast<float>(std::acos(-1.0));

constexpr double kTenthOfADegree = 0.1 * 3.14159265358979323846 / 180.0;

// At least 16 points even for a curve of a pixel or less.
constexpr size_t kLargestStride = 225;

}  // namespace

const TenthDegreeTurn& TurnTable() {
    static const TenthDegreeTurn table = [] {
        TenthDegreeTurn t;
        for (float degrees = 0.0f; degrees < 360.0f;
             degrees = static_cast<float>(static_cast<double>(degrees) + 0.10000000149011612)) {
            const float a = degrees * kPi / 180.0f;
            t.cos.push_back(std::cos(a));
            t.sin.push_back(std::sin(a));
        }
        return t;
    }();
    return table;
}

size_t CurveStride(double largest_radius) {
    if (!(largest_radius > 0) || !std::isfinite(largest_radius)) return 1;
    // A chord over the angle a departs from a circle of radius r by about
    // r * a * a / 8; at most 1 / (16 r) pixels gives a <= sqrt(1/2) / r.
    const double widest_angle = std::sqrt(0.5) / largest_radius;
    const double steps = std::floor(widest_angle / kTenthOfADegree);
    return static_cast<size_t>(std::clamp(steps, 1.0, static_cast<double>(kLargestStride)));
}

}  // namespace noxd
