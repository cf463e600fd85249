#include "frames.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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
    if (format == NOXD_FORMAT_NV12 || format == NOXD_FORMAT_NV21) {
        // h/2 chroma rows of w bytes, the pairs' order by format.
        const int ch = height / 2;
        frame.assign(static_cast<size_t>(width) * (height + ch), 0);
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width; ++x) frame[static_cast<size_t>(row) * width + x] = pixel(x, row).y;
        uint8_t* uv = frame.data() + static_cast<size_t>(width) * height;
        const bool vu = format == NOXD_FORMAT_NV21;
        for (int row = 0; row < ch; ++row)
            for (int x = 0; x + 1 < width; x += 2) {
                const Yuv p = pixel(x, 2 * row);
                uv[row * width + x] = vu ? p.v : p.u;
                uv[row * width + x + 1] = vu ? p.u : p.v;
            }
        return frame;
    }
    const bool uyvy = format == 9;
    // Rows of whole pixel pairs: an odd last pixel has a pair of its own.
    const size_t stride = 4 * ((static_cast<size_t>(width) + 1) / 2);
    frame.resize(stride * height);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; x += 2) {
            const Yuv a = pixel(x, row), b = x + 1 < width ? pixel(x + 1, row) : a;
            uint8_t* pair = &frame[static_cast<size_t>(row) * stride + static_cast<size_t>(x) * 2];
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

size_t PlaneRowBytes(int format, int width, int plane) {
    const size_t w = static_cast<size_t>(width), chroma_w = (w + 1) / 2;
    switch (format) {
    case NOXD_FORMAT_I420: return plane == 0 ? w : chroma_w;
    case NOXD_FORMAT_NV12:
    case NOXD_FORMAT_NV21: return plane == 0 ? w : 2 * chroma_w;
    case NOXD_FORMAT_YUY2:
    case NOXD_FORMAT_UYVY: return plane == 0 ? 4 * chroma_w : 0;
    case NOXD_FORMAT_BGR24: return plane == 0 ? 3 * w : 0;
    case NOXD_FORMAT_BGR32: return plane == 0 ? 4 * w : 0;
    }
    return 0;
}

int PlaneRows(int format, int height, int plane) {
    if (PlaneRowBytes(format, 1, plane) == 0) return 0;
    return plane == 0 ? height : (height + 1) / 2;
}

namespace {

// Picture row `row` of plane `plane` into `dst`.
void WritePlaneRow(int format, int width, int plane, int row,
                   const std::function<PlanesPixel(int, int)>& pixel, uint8_t* dst) {
    const int chroma_w = (width + 1) / 2;
    const auto at = [&](int x, int r) { return pixel(std::min(x, width - 1), r); };
    switch (format) {
    case NOXD_FORMAT_I420:
        if (plane == 0)
            for (int x = 0; x < width; ++x) dst[x] = at(x, row).yuv.y;
        else
            for (int x = 0; x < chroma_w; ++x) dst[x] = plane == 1 ? at(2 * x, 2 * row).yuv.u : at(2 * x, 2 * row).yuv.v;
        return;
    case NOXD_FORMAT_NV12:
    case NOXD_FORMAT_NV21:
        if (plane == 0) {
            for (int x = 0; x < width; ++x) dst[x] = at(x, row).yuv.y;
            return;
        }
        for (int x = 0; x < chroma_w; ++x) {
            const Yuv p = at(2 * x, 2 * row).yuv;
            dst[2 * x] = format == NOXD_FORMAT_NV12 ? p.u : p.v;
            dst[2 * x + 1] = format == NOXD_FORMAT_NV12 ? p.v : p.u;
        }
        return;
    case NOXD_FORMAT_YUY2:
    case NOXD_FORMAT_UYVY:
        for (int x = 0; x < chroma_w; ++x) {
            const Yuv a = at(2 * x, row).yuv, b = at(2 * x + 1, row).yuv;
            uint8_t* pair = dst + 4 * x;
            if (format == NOXD_FORMAT_UYVY) {
                pair[0] = a.u; pair[1] = a.y; pair[2] = a.v; pair[3] = b.y;
            } else {
                pair[0] = a.y; pair[1] = a.u; pair[2] = b.y; pair[3] = a.v;
            }
        }
        return;
    default: {
        const int bytes = format == NOXD_FORMAT_BGR32 ? 4 : 3;
        for (int x = 0; x < width; ++x) {
            const Bgr p = at(x, row).bgr;
            uint8_t* d = dst + bytes * x;
            d[0] = p.b; d[1] = p.g; d[2] = p.r;
            if (bytes == 4) d[3] = 0x5A;
        }
    }
    }
}

}  // namespace

PlanesFrame MakePlanesFrame(int format, int width, int height, int padding, bool bottom_up,
                            const std::function<PlanesPixel(int, int)>& pixel) {
    PlanesFrame f;
    f.desc.size = sizeof(NOXD_PLANES);
    f.desc.format = format;
    f.desc.width = width;
    f.desc.height = height;
    for (int p = 0; p < 3; ++p) {
        const int rows = PlaneRows(format, height, p);
        if (rows == 0) continue;
        const size_t pitch = PlaneRowBytes(format, width, p) + static_cast<size_t>(padding);
        f.storage[p].assign(pitch * rows, 0xEE);
        for (int row = 0; row < rows; ++row) {
            const size_t at = static_cast<size_t>(bottom_up ? rows - 1 - row : row) * pitch;
            WritePlaneRow(format, width, p, row, pixel, &f.storage[p][at]);
        }
        f.desc.data[p] = f.storage[p].data() + (bottom_up ? (rows - 1) * pitch : 0);
        f.desc.pitch[p] = bottom_up ? -static_cast<INT>(pitch) : static_cast<INT>(pitch);
    }
    return f;
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

const Yuv kQuadrantYuv[4] = {{81, 90, 240}, {145, 54, 34}, {230, 128, 128}, {20, 200, 110}};
const Bgr kQuadrantBgr[4] = {{30, 60, 200}, {220, 40, 20}, {35, 210, 90}, {240, 240, 240}};

namespace {

int SplitOf(int size) { return (size + 1) / 2 + ((size + 1) / 2) % 2; }

bool IsBgr(int format) { return format == NOXD_FORMAT_BGR24 || format == NOXD_FORMAT_BGR32; }

}  // namespace

std::function<PlanesPixel(int, int)> Quadrants(int width, int height) {
    const int split_x = SplitOf(width), split_y = SplitOf(height);
    return [=](int x, int row) {
        const int q = (x >= split_x ? 1 : 0) + (row >= split_y ? 2 : 0);
        return PlanesPixel{kQuadrantYuv[q], kQuadrantBgr[q]};
    };
}

Rgb ExpectedQuadrant(int format, int q, int matrix, int range) {
    if (IsBgr(format)) return {kQuadrantBgr[q].r, kQuadrantBgr[q].g, kQuadrantBgr[q].b};
    return ExpectedRgbIn(kQuadrantYuv[q], matrix, range);
}

void QuadrantCentre(int width, int height, int q, int& x, int& y) {
    const int split_x = SplitOf(width), split_y = SplitOf(height);
    x = (q % 2 ? split_x + width : split_x);
    y = (q / 2 ? split_y + height : split_y);
}

const int kAllFormats[7] = {NOXD_FORMAT_I420, NOXD_FORMAT_NV12, NOXD_FORMAT_NV21, NOXD_FORMAT_YUY2,
                            NOXD_FORMAT_UYVY, NOXD_FORMAT_BGR24, NOXD_FORMAT_BGR32};

std::string FormatName(int format) {
    char name[16];
    std::snprintf(name, sizeof name, "0x%X", static_cast<unsigned>(format));
    return name;
}

}  // namespace noxd_test
