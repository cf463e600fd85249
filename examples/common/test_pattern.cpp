#include "test_pattern.h"

#include <algorithm>
#include <cmath>

namespace noxd_examples {

namespace {

constexpr Rgb8 kBars[8] = {{235, 235, 235}, {235, 235, 16}, {16, 235, 235}, {16, 235, 16},
                           {235, 16, 235},  {235, 16, 16},  {16, 16, 235},  {16, 16, 16}};

uint8_t ToByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

size_t Aligned4(size_t bytes) { return (bytes + 3) & ~size_t{3}; }

}  // namespace

Rgb8 PatternPixel(int x, int y, int width, int height, int t) {
    const int box = std::max(8, height / 6);
    const int span = std::max(1, width - box);
    const int phase = (t * 7) % (2 * span);
    const int box_x = phase < span ? phase : 2 * span - phase;
    const int box_y = height / 2 - box / 2;
    if (x >= box_x && x < box_x + box && y >= box_y && y < box_y + box) return {255, 255, 255};
    if (y >= height * 3 / 4) {
        const uint8_t grey = static_cast<uint8_t>(x * 255 / std::max(1, width - 1));
        return {grey, grey, grey};
    }
    const int bar = ((x + t * 4) * 8 / std::max(1, width)) % 8;
    return kBars[bar];
}

Yuv8 RgbToYuv(Rgb8 c) {
    const double r = c.r, g = c.g, b = c.b;
    return {ToByte(16 + 0.257 * r + 0.504 * g + 0.098 * b),
            ToByte(128 - 0.148 * r - 0.291 * g + 0.439 * b),
            ToByte(128 + 0.439 * r - 0.368 * g - 0.071 * b)};
}

std::vector<uint8_t> PatternFrame(int format, int width, int height, int t) {
    std::vector<uint8_t> frame;
    auto yuv_at = [&](int x, int y) { return RgbToYuv(PatternPixel(x, y, width, height, t)); };
    switch (format) {
    case 10:
    case 11: {
        // Bottom row first.
        const int bpp = format == 10 ? 4 : 3;
        const size_t stride = Aligned4(static_cast<size_t>(width) * bpp);
        frame.assign(stride * height, 0);
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width; ++x) {
                const Rgb8 c = PatternPixel(x, height - 1 - row, width, height, t);
                uint8_t* p = &frame[row * stride + static_cast<size_t>(x) * bpp];
                p[0] = c.b; p[1] = c.g; p[2] = c.r;
            }
        return frame;
    }
    case 9:
    case 12: {
        frame.assign(static_cast<size_t>(width) * height * 2, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x + 1 < width; x += 2) {
                const Yuv8 a = yuv_at(x, y), b = yuv_at(x + 1, y);
                uint8_t* p = &frame[(static_cast<size_t>(y) * width + x) * 2];
                if (format == 9) {
                    p[0] = a.u; p[1] = a.y; p[2] = a.v; p[3] = b.y;
                } else {
                    p[0] = a.y; p[1] = a.u; p[2] = b.y; p[3] = a.v;
                }
            }
        return frame;
    }
    case 8: {
        const int cw = width / 2, ch = height / 2;
        const size_t luma = static_cast<size_t>(width) * height;
        frame.assign(luma + 2 * static_cast<size_t>(cw) * ch, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) frame[y * width + x] = yuv_at(x, y).y;
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) {
                const Yuv8 c = yuv_at(2 * x, 2 * y);
                frame[luma + y * cw + x] = c.u;
                frame[luma + cw * ch + y * cw + x] = c.v;
            }
        return frame;
    }
    default:
        return frame;
    }
}

}  // namespace noxd_examples
