// The curves draw fewer points than the tenth-degree walk where their size
// allows: the pixel centres a filled circle covers must stay those that the
// full walk covers, up to a few on the rim.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "math/curve_walk.h"

namespace {

struct Point {
    double x, y;
};

// The disc's rim as drawn, every `stride`-th point of the walk, in float as GL takes it.
std::vector<Point> Rim(double cx, double cy, double r, size_t stride) {
    std::vector<Point> rim;
    noxd::ForEachCurvePoint(stride, [&](float c, float s) {
        rim.push_back({static_cast<float>(cx + r * c), static_cast<float>(cy + r * s)});
    });
    return rim;
}

// Pixel centres (x + 0.5, y + 0.5) inside the convex polygon, one span [first, last) per row.
std::vector<std::pair<int, int>> CoveredSpans(const std::vector<Point>& rim, int top, int bottom) {
    std::vector<std::pair<int, int>> spans;
    for (int y = top; y <= bottom; ++y) {
        const double yc = y + 0.5;
        double left = 1e300, right = -1e300;
        for (size_t i = 0; i < rim.size(); ++i) {
            const Point a = rim[i], b = rim[(i + 1) % rim.size()];
            if ((a.y <= yc) == (b.y <= yc)) continue;
            const double x = a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
        if (left > right) {
            spans.push_back({0, 0});
        } else {
            spans.push_back({static_cast<int>(std::ceil(left - 0.5)), static_cast<int>(std::ceil(right - 0.5))});
        }
    }
    return spans;
}

int PixelsInOneOnly(const std::vector<std::pair<int, int>>& a, const std::vector<std::pair<int, int>>& b) {
    int differing = 0;
    for (size_t row = 0; row < a.size(); ++row) {
        const int na = std::max(0, a[row].second - a[row].first), nb = std::max(0, b[row].second - b[row].first);
        const int both = na && nb ? std::max(0, std::min(a[row].second, b[row].second) -
                                                    std::max(a[row].first, b[row].first))
                                  : 0;
        differing += na + nb - 2 * both;
    }
    return differing;
}

TEST(CurveWalkTest, FewerPointsCoverTheSamePixelCentresButForAFewOnTheRim) {
    std::mt19937 random(12);
    std::uniform_real_distribution<double> offset(0.0, 1.0);
    int curves = 0, differing = 0, worst = 0;
    for (double r = 0.5; r <= 420; r *= 1.09) {
        for (int i = 0; i < 6; ++i) {
            const double cx = 500 + offset(random), cy = 500 + offset(random);
            const int top = static_cast<int>(cy - r) - 2, bottom = static_cast<int>(cy + r) + 2;
            const int d = PixelsInOneOnly(CoveredSpans(Rim(cx, cy, r, 1), top, bottom),
                                          CoveredSpans(Rim(cx, cy, r, noxd::CurveStride(r)), top, bottom));
            worst = std::max(worst, d);
            differing += d;
            ++curves;
        }
    }
    EXPECT_LE(worst, 3);
    EXPECT_LT(differing, curves / 3);
}

TEST(CurveWalkTest, SmallCurvesDrawAFewPointsLargeOnesAllAndOddRadiiAreSafe) {
    const size_t all = noxd::TurnTable().cos.size();
    EXPECT_GE(all, 3599u);
    EXPECT_LE(all, 3601u);
    auto points = [](size_t stride) {
        size_t n = 0;
        noxd::ForEachCurvePoint(stride, [&](float, float) { ++n; });
        return n;
    };
    EXPECT_LE(points(noxd::CurveStride(19.2)), all / 15);  // a circle of 0.04 x 480
    EXPECT_EQ(points(noxd::CurveStride(288)), all);
    for (double odd : {0.0, -3.0, 1e-30, std::nan(""), HUGE_VAL})
        EXPECT_GE(points(noxd::CurveStride(odd)), 16u) << odd;
}

}  // namespace
