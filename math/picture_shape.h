// The picture's shape inside the video area: whether it keeps its aspect
// ratio (and the shape of its pixels), and how it is turned and mirrored.
// One chain of coordinates, written once here: a point of the video area
// goes to the picture rectangle, then the turn and the mirror are undone.
// Free of Windows and GL.
#pragma once

#include <cstdint>
#include <optional>

#include "frame_layout.h"
#include "pointer_math.h"

namespace noxd {

// Codes of noxd_set_aspect.
enum class AspectMode : int32_t {
    Stretch = 0,  // the picture fills the video area whatever its aspect
    Fit = 1,      // the whole picture, as large as fits, centred, black bars
    Fill = 2,     // the video area covered, centred, the overflow cropped
};
std::optional<AspectMode> AspectModeOf(int mode);

// The shape of a pixel, width to height; 0 in either term means square.
struct SampleAspect {
    uint32_t num = 0;
    uint32_t den = 0;
};

// Mirrored left to right first, then turned clockwise by quarter turns.
struct Orientation {
    int32_t quarter_turns = 0;  // 0..3
    bool mirror = false;
    bool operator==(const Orientation& o) const { return quarter_turns == o.quarter_turns && mirror == o.mirror; }
};
// Degrees 0, 90, 180 or 270 and a mirror of 0 or 1; nothing for other values.
std::optional<Orientation> OrientationOf(int degrees, int mirror);

// Where the picture lies in the video area, in fractions of it: x from its
// left edge, y from its bottom edge (the axes of normalized video
// coordinates). Stretch gives the whole area; fill gives a rectangle larger
// than the area.
struct PictureRect {
    double x = 0, y = 0, width = 1, height = 1;
};
PictureRect PictureRectIn(int32_t area_width, int32_t area_height, int32_t frame_width, int32_t frame_height,
                          AspectMode mode, SampleAspect sample, Orientation orientation);

// Whether the picture covers every point of the video area.
bool CoversArea(const PictureRect& rect);

// A point of the picture as shown (x right, y up, 0..1 over the picture
// rectangle) from the same point of the upright, unmirrored picture, and back.
PointF ShownFromUpright(Orientation orientation, PointF upright);
PointF UprightFromShown(Orientation orientation, PointF shown);

// The chain: a point in normalized video coordinates to coordinates of the
// upright picture, 0..1 over it. Outside the picture rectangle (the bars)
// the same linear mapping goes on, giving values below 0 or above 1. In
// stretch mode without turn or mirror it is the identity, exactly.
PointF PicturePointOf(PointF video_point, const PictureRect& rect, Orientation orientation);

// The quad of the upright view (as the zoom left it) placed on the picture
// rectangle, turned and mirrored: each corner of the rectangle gets the
// texture coordinates of the upright corner that lands there.
VideoQuad ShapedVideoQuad(const VideoQuad& upright, const PictureRect& rect, Orientation orientation);

// Where what is drawn in the upright picture's normalized device
// coordinates lands in the video area's: placed on the picture rectangle,
// turned and mirrored. Column-major, for glLoadMatrixf. Drawing outside the
// rectangle (the bars) still lands inside the video area.
void PictureMatrix(const PictureRect& rect, Orientation orientation, float matrix[16]);

// The size in pixels the upright picture has on screen, in a video area of
// the given size: the rectangle's sides swapped under a quarter turn.
void UprightPixelSize(const PictureRect& rect, Orientation orientation, int32_t area_width,
                      int32_t area_height, int32_t& width, int32_t& height);

}  // namespace noxd
