// Coordinate maths of the mouse handling and the zoom, free of Windows and GL:
// client pixels to normalized video coordinates, the 0-10000 client scale,
// result rectangles and zoom texture coordinates.
#pragma once

#include <cstdint>


namespace noxd {

struct VideoPos {
    float left, bottom, right, top;  // fractions of the client area from its top-left corner
};

struct PointF {
    float x, y;
};

// x from 0 at the video's left edge to 1 at its right, y from 0 at its bottom
// to 1 at its top; a zero divisor counts as 1.
PointF NormalizedVideoPoint(int px, int py, int client_width, int client_height, VideoPos pos);

// The whole client area on a 0-10000 scale, y downward; the last column is
// exactly 10000. An axis of zero size reports 0.
PointF PermyriadClientPoint(int px, int py, int client_width, int client_height);

// A rectangle as left, top, right, bottom in normalized coordinates (y up).
struct RectF {
    float left, top, right, bottom;
};

RectF SortedRect(PointF a, PointF b);
RectF ClampedToUnit(RectF r);

// The whole picture.
constexpr RectF kWholePicture = {0.0f, 1.0f, 1.0f, 0.0f};

// A host zoom rectangle within 0.001 of the whole picture on every edge.
bool IsWholePicture(float x0, float y0, float x1, float y1);

// A rectangle given relative to the part of the frame a zoom window shows,
// in the whole frame's coordinates.
RectF FrameRectOf(RectF in_view, RectF zoom_window);

// Texture coordinates T0..T3 that show `window` upright over the viewport,
// from textures holding the picture bottom row first or top row first.
void ZoomTexCoords(bool bottom_up, RectF window, float tex[4][2]);

}  // namespace noxd
