// A moving test pattern in every frame layout the renderer takes: colour bars
// that scroll with time over a grey ramp, with a white box bouncing across.
#pragma once

#include <cstdint>
#include <vector>

namespace noxd_examples {

struct Rgb8 {
    uint8_t r, g, b;
};

// The pattern's colour at (x, y), y counted down from the top, at frame `t`.
Rgb8 PatternPixel(int x, int y, int width, int height, int t);

// Limited-range BT.601 luma and chroma of a colour.
struct Yuv8 {
    uint8_t y, u, v;
};
Yuv8 RgbToYuv(Rgb8 c);

// Frame `t` of the pattern in renderer format 8, 9, 10, 11 or 12; empty for another code.
std::vector<uint8_t> PatternFrame(int format, int width, int height, int t);

}  // namespace noxd_examples
