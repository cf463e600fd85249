#include "pointer_math.h"

#include <algorithm>
#include <cmath>

namespace noxd {

namespace {

double NonZero(double d) { return d == 0.0 ? 1.0 : d; }

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

}  // namespace

PointF NormalizedVideoPoint(int px, int py, int client_width, int client_height, VideoPos pos) {
    const double width_span = static_cast<double>(pos.right) - pos.left;
    const double height_span = static_cast<double>(pos.bottom) - pos.top;
    const double x = px / NonZero(client_width * width_span) - pos.left / NonZero(width_span);
    const double y = 1.0 - py / NonZero(client_height * height_span) + pos.top / NonZero(height_span);
    return {static_cast<float>(x), static_cast<float>(y)};
}

PointF PermyriadClientPoint(int px, int py, int client_width, int client_height) {
    const int x = client_width == 0 ? 0 : px == client_width - 1 ? 10000 : px * 10000 / client_width;
    const int y = client_height == 0 ? 0 : py * 10000 / client_height;
    return {static_cast<float>(x), static_cast<float>(y)};
}

RectF SortedRect(PointF a, PointF b) {
    return {std::min(a.x, b.x), std::max(a.y, b.y), std::max(a.x, b.x), std::min(a.y, b.y)};
}

RectF ClampedToUnit(RectF r) {
    return {Clamp01(r.left), Clamp01(r.top), Clamp01(r.right), Clamp01(r.bottom)};
}

bool IsWholePicture(float x0, float y0, float x1, float y1) {
    return !(std::fabs(x0) > 0.001f || std::fabs(y0 - 1.0f) > 0.001f ||
             std::fabs(x1 - 1.0f) > 0.001f || std::fabs(y1) > 0.001f);
}

RectF FrameRectOf(RectF r, RectF zoom) {
    const float w = zoom.right - zoom.left, h = zoom.top - zoom.bottom;
    return {zoom.left + r.left * w, zoom.bottom + r.top * h, zoom.left + r.right * w, zoom.bottom + r.bottom * h};
}

void ZoomTexCoords(bool bottom_up, RectF w, float tex[4][2]) {
    // Textures holding the top row first have t = 0 at the top of the picture.
    const float near_t = bottom_up ? w.bottom : 1.0f - w.top;
    const float far_t = bottom_up ? w.top : 1.0f - w.bottom;
    const float coords[4][2] = {{w.left, near_t}, {w.right, near_t}, {w.right, far_t}, {w.left, far_t}};
    for (int i = 0; i < 4; ++i) {
        tex[i][0] = coords[i][0];
        tex[i][1] = coords[i][1];
    }
}

}  // namespace noxd
