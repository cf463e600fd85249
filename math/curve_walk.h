// The points of the filled circle and the rotated ellipse: one turn walked in
// steps of a tenth of a degree (about 3600 angles), of which a curve draws
// only as many as its size on the screen shows. No window system here.
#pragma once

#include <cstddef>
#include <vector>

namespace noxd {

// The cosines and sines, in float, of the angles of the tenth-degree walk:
// the angle in degrees is kept in float and each step of 0.1f is added in
// double. Computed once per process.
struct TenthDegreeTurn {
    std::vector<float> cos;
    std::vector<float> sin;
};
const TenthDegreeTurn& TurnTable();

// How many steps of the walk one chord of a curve spans, for a curve whose
// points lie at most `largest_radius` pixels from its centre. A chord of a
// 3600-point turn departs from the curve by far less than a pixel, so most
// of its points change no pixel, yet each costs the GL a triangle or a line
// segment. The chord is chosen so that it departs from the curve by at most
// 1/16 pixel squared over the radius: on average a fifth of a pixel of the
// whole curve lands on the other side of a pixel centre. 1 (every point) for
// radii beyond about 200 pixels or that are not numbers.
size_t CurveStride(double largest_radius);

// Calls emit(cos, sin) for the walk's first angle (the filled circle's hub)
// and then every `stride`-th one; the last chord, back to the first point,
// is never longer than the others.
template <typename Emit>
void ForEachCurvePoint(size_t stride, Emit emit) {
    const TenthDegreeTurn& turn = TurnTable();
    for (size_t i = 0; i < turn.cos.size(); i += stride) emit(turn.cos[i], turn.sin[i]);
}

}  // namespace noxd
