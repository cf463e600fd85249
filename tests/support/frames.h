// Frames in the five layouts the renderer takes, built pixel by pixel, and
// the colours a viewer should see for them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "noxd.h"
#include "window_capture.h"

namespace noxd_test {

struct Yuv {
    uint8_t y, u, v;
};
struct Bgr {
    uint8_t b, g, r;
};

// `pixel(x, row)` gives each pixel, row 0 being the first row in memory.
// Packed formats take chroma from the even pixel of each pair (rows of whole
// pairs, as the renderer reads them), I420 and
// NV12/NV21 from the top-left pixel of each 2x2 block.
std::vector<uint8_t> YuvFrame(int format, int width, int height,
                              const std::function<Yuv(int x, int row)>& pixel);
// Rows padded to 4 bytes, as the renderer reads them.
std::vector<uint8_t> BgrFrame(int format, int width, int height,
                              const std::function<Bgr(int x, int row)>& pixel);

// A frame given plane by plane, in buffers of its own. Each row is followed
// by `padding` bytes of 0xEE, which no picture here has; with `bottom_up`
// each plane's rows lie last row first and its pitch is negative. Chroma
// planes of odd sizes are (w+1)/2 x (h+1)/2. `pixel(x, row)` gives each
// pixel, row 0 at the top; BGR formats take its `bgr`, the others its `yuv`.
struct PlanesPixel {
    Yuv yuv;
    Bgr bgr;
};
struct PlanesFrame {
    std::vector<uint8_t> storage[3];
    NOXD_PLANES desc = {};
};
PlanesFrame MakePlanesFrame(int format, int width, int height, int padding, bool bottom_up,
                            const std::function<PlanesPixel(int x, int row)>& pixel);

// Bytes of one row of each plane of a frame given plane by plane, and its rows.
size_t PlaneRowBytes(int format, int width, int plane);
int PlaneRows(int format, int height, int plane);

// Limited-range BT.601, clamped to 0..255 as the screen shows it.
Rgb ExpectedRgb(Yuv yuv);

// The colour in a matrix (0 BT.601, 1 BT.709) and range (0 limited, 1 full),
// worked out from the matrix's luma weights rather than from rounded
// coefficients, clamped to 0..255.
Rgb ExpectedRgbIn(Yuv yuv, int matrix, int range);

// A test card of four quadrants, split on even columns and rows so that
// every 2x2 chroma block lies inside one; saturated colours, where the
// matrices differ most. Quadrant q: 0 top left, 1 top right, 2 bottom left,
// 3 bottom right.
extern const Yuv kQuadrantYuv[4];
extern const Bgr kQuadrantBgr[4];
std::function<PlanesPixel(int x, int row)> Quadrants(int width, int height);
// The colour quadrant q shows in a matrix and range (BGR formats ignore them).
Rgb ExpectedQuadrant(int format, int q, int matrix = 0, int range = 0);
// The centre of quadrant q of a width x height frame shown scaled by 2.
void QuadrantCentre(int width, int height, int q, int& x, int& y);

// Every format code, and a name for messages ("0x3231564E").
extern const int kAllFormats[7];
std::string FormatName(int format);

}  // namespace noxd_test
