#include "picture_shape.h"

#include <algorithm>
#include <cmath>

namespace noxd {

std::optional<AspectMode> AspectModeOf(int mode) {
    if (mode < 0 || mode > 2) return std::nullopt;
    return static_cast<AspectMode>(mode);
}

std::optional<Orientation> OrientationOf(int degrees, int mirror) {
    if (degrees < 0 || degrees > 270 || degrees % 90 != 0 || (mirror != 0 && mirror != 1)) return std::nullopt;
    return Orientation{degrees / 90, mirror == 1};
}

PictureRect PictureRectIn(int32_t area_width, int32_t area_height, int32_t frame_width, int32_t frame_height,
                          AspectMode mode, SampleAspect sample, Orientation orientation) {
    if (mode == AspectMode::Stretch || area_width <= 0 || area_height <= 0 || frame_width <= 0 ||
        frame_height <= 0)
        return {};
    // The picture's shape on screen: its pixels' shape applied across, then turned.
    const bool square = sample.num == 0 || sample.den == 0;
    double shown_w = frame_width * (square ? 1.0 : static_cast<double>(sample.num) / sample.den);
    double shown_h = frame_height;
    if (orientation.quarter_turns % 2) std::swap(shown_w, shown_h);
    const double scale_w = area_width / shown_w, scale_h = area_height / shown_h;
    const double scale = mode == AspectMode::Fit ? std::min(scale_w, scale_h) : std::max(scale_w, scale_h);
    const double width = shown_w * scale / area_width, height = shown_h * scale / area_height;
    return {(1.0 - width) / 2, (1.0 - height) / 2, width, height};
}

bool CoversArea(const PictureRect& r) {
    return r.x <= 0 && r.y <= 0 && r.x + r.width >= 1 && r.y + r.height >= 1;
}

PointF ShownFromUpright(Orientation o, PointF p) {
    if (o.mirror) p.x = 1.0f - p.x;
    // A clockwise quarter turn takes the top-left corner (0, 1) to the top-right (1, 1).
    for (int i = 0; i < o.quarter_turns; ++i) p = {p.y, 1.0f - p.x};
    return p;
}

PointF UprightFromShown(Orientation o, PointF p) {
    for (int i = 0; i < o.quarter_turns; ++i) p = {1.0f - p.y, p.x};
    if (o.mirror) p.x = 1.0f - p.x;
    return p;
}

namespace {

// The same as UprightFromShown in double, for the chain's precision.
void UndoOrientation(Orientation o, double& x, double& y) {
    for (int i = 0; i < o.quarter_turns; ++i) {
        const double turned_x = 1.0 - y;
        y = x;
        x = turned_x;
    }
    if (o.mirror) x = 1.0 - x;
}

// The quad vertex that lies at the unit-square corner (x, y) of the viewport.
int VertexAt(const VideoQuad& quad, float x, float y) {
    for (int i = 0; i < 4; ++i)
        if ((quad.vertex[i][0] > 0) == (x > 0.5f) && (quad.vertex[i][1] > 0) == (y > 0.5f)) return i;
    return 0;
}

}  // namespace

PointF PicturePointOf(PointF v, const PictureRect& r, Orientation o) {
    double x = (v.x - r.x) / r.width;
    double y = (v.y - r.y) / r.height;
    UndoOrientation(o, x, y);
    return {static_cast<float>(x), static_cast<float>(y)};
}

VideoQuad ShapedVideoQuad(const VideoQuad& upright, const PictureRect& r, Orientation o) {
    // The rectangle's corners in the order the quad draws them.
    static const float kCorners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    VideoQuad shaped = {};
    for (int i = 0; i < 4; ++i) {
        const PointF from = UprightFromShown(o, {kCorners[i][0], kCorners[i][1]});
        const int source = VertexAt(upright, from.x, from.y);
        shaped.tex[i][0] = upright.tex[source][0];
        shaped.tex[i][1] = upright.tex[source][1];
        shaped.vertex[i][0] = static_cast<float>(2 * (r.x + kCorners[i][0] * r.width) - 1);
        shaped.vertex[i][1] = static_cast<float>(2 * (r.y + kCorners[i][1] * r.height) - 1);
        shaped.vertex[i][2] = 0;
    }
    return shaped;
}

void PictureMatrix(const PictureRect& r, Orientation o, float m[16]) {
    // Columns of the turn: where the x and y axes go; a clockwise quarter
    // turn takes (x, y) to (y, -x).
    double xx = o.mirror ? -1.0 : 1.0, xy = 0.0, yx = 0.0, yy = 1.0;
    for (int i = 0; i < o.quarter_turns; ++i) {
        const double nxx = xy, nxy = -xx, nyx = yy, nyy = -yx;
        xx = nxx, xy = nxy, yx = nyx, yy = nyy;
    }
    // Then scaled to the rectangle and moved to its centre.
    const double matrix[16] = {r.width * xx, r.height * xy, 0, 0,
                               r.width * yx, r.height * yy, 0, 0,
                               0, 0, 1, 0,
                               2 * r.x + r.width - 1, 2 * r.y + r.height - 1, 0, 1};
    for (int i = 0; i < 16; ++i) m[i] = static_cast<float>(matrix[i]);
}

void UprightPixelSize(const PictureRect& r, Orientation o, int32_t area_width, int32_t area_height,
                      int32_t& width, int32_t& height) {
    const int32_t shown_w = static_cast<int32_t>(std::lround(r.width * area_width));
    const int32_t shown_h = static_cast<int32_t>(std::lround(r.height * area_height));
    const bool turned = o.quarter_turns % 2 != 0;
    width = turned ? shown_h : shown_w;
    height = turned ? shown_w : shown_h;
}

}  // namespace noxd
