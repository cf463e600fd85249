#include "frames.h"

#include <algorithm>
#include <cmath>

namespace noxd_test {

std::vector<uint8_t> YuvFrame(int format, int width, int height,
                              const std::function<Yuv(int, int)>& pixel) {
    std::vector<uint8_t> frame;
    if (format == 8) {
        const int cw = width / 2, ch = height / 2;
        frame.resize(static_cast<size_t>(width) * height + 2 * static_cast<size_t>(cw) * ch);
        uint8_t* y_plane = frame.data();
        uint8_t* u_plane = y_plane + width * height;
        uint8_t* v_plane = u_plane + cw * ch;
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width; ++x) y_plane[row * width + x] = pixel(x, row).y;
        for (int row = 0; row < ch; ++row)
            for (int x = 0; x < cw; ++x) {
                const Yuv p = pixel(2 * x, 2 * row);
                u_plane[row * cw + x] = p.u;
                v_plane[row * cw + x] = p.v;
            }
        return frame;
    }
    const bool uyvy = format == 9;
    frame.resize(static_cast<size_t>(width) * height * 2);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x + 1 < width; x += 2) {
            const Yuv a = pixel(x, row), b = pixel(x + 1, row);
            uint8_t* pair = &frame[(static_cast<size_t>(row) * width + x) * 2];
            if (uyvy) {
                pair[0] = a.u; pair[1] = a.y; pair[2] = a.v; pair[3] = b.y;
            } else {
                pair[0] = a.y; pair[1] = a.u; pair[2] = b.y; pair[3] = a.v;
            }
        }
    return frame;
}

std::vector<uint8_t> BgrFrame(int format, int width, int height,
                              const std::function<Bgr(int, int)>& pixel) {
    const int bytes_per_pixel = format == 10 ? 4 : 3;
    const size_t stride = (static_cast<size_t>(width) * bytes_per_pixel + 3) & ~size_t{3};
    std::vector<uint8_t> frame(stride * height, 0);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            const Bgr p = pixel(x, row);
            uint8_t* dst = &frame[row * stride + static_cast<size_t>(x) * bytes_per_pixel];
            dst[0] = p.b; dst[1] = p.g; dst[2] = p.r;
            if (bytes_per_pixel == 4) dst[3] = 0x5A;  // ignored by the renderer
        }
    return frame;
}

static int ToByte(double channel) {
    return static_cast<int>(std::lround(std::clamp(channel, 0.0, 1.0) * 255.0));
}

Rgb ExpectedRgb(Yuv p) {
    const double y = p.y / 255.0, u = p.u / 255.0 - 0.5, v = p.v / 255.0 - 0.5;
    const double yy = 1.164 * (y - 0.0625);
    return {ToByte(yy + 1.596 * v), ToByte(yy - 0.813 * v - 0.391 * u), ToByte(yy + 2.018 * u)};
}

Rgb ExpectedRgbIn(Yuv p, int matrix, int range) {
    const double kr = matrix ? 0.2126 : 0.299, kb = matrix ? 0.0722 : 0.114;
    const double kg = 1.0 - kr - kb;
    double y = p.y / 255.0, u = p.u / 255.0 - 0.5, v = p.v / 255.0 - 0.5;
    if (range == 0) {
        y = (y - 16.0 / 255.0) * 255.0 / 219.0;
        u *= 255.0 / 224.0;
        v *= 255.0 / 224.0;
    }
    return {ToByte(y + 2.0 * (1.0 - kr) * v),
            ToByte(y - 2.0 * kb * (1.0 - kb) / kg * u - 2.0 * kr * (1.0 - kr) / kg * v),
            ToByte(y + 2.0 * (1.0 - kb) * u)};
}

}  // namespace noxd_test
