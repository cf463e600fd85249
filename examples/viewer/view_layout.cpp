#include "view_layout.h"

#include <cmath>

namespace viewer {

namespace {

struct Bgr {
    uint8_t b, g, r;
};

// Distance of (x, y) from the segment a-b, in pixels.
double DistanceToSegment(double x, double y, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    double t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

}  // namespace

std::vector<uint8_t> ZoomButtonPixels(bool zoom_on, bool pressed) {
    const int n = layout::kButtonSize;
    const Bgr face = pressed ? Bgr{110, 110, 110} : Bgr{60, 60, 60};
    const Bgr ring = {255, 255, 255};
    const Bgr lens = zoom_on ? Bgr{0, 200, 0} : Bgr{140, 140, 140};
    const double cx = n * 0.42, cy = n * 0.42, radius = n * 0.27;
    std::vector<uint8_t> pixels(static_cast<size_t>(n) * n * 4);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double from_centre = std::hypot(px - cx, py - cy);
            const bool handle = DistanceToSegment(px, py, cx + radius * 0.75, cy + radius * 0.75, n * 0.88,
                                                  n * 0.88) < n * 0.06;
            Bgr c = face;
            if (from_centre < radius - n * 0.05) c = lens;
            else if (from_centre < radius + n * 0.03 || handle) c = ring;
            uint8_t* p = &pixels[(static_cast<size_t>(y) * n + x) * 4];
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
            p[3] = 0xFF;
        }
    }
    return pixels;
}

}  // namespace viewer
