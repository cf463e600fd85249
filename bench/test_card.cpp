#include "test_card.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "common/test_pattern.h"
#include "bench_stats.h"

namespace bench {

namespace {

using noxd_examples::PatternPixel;
using noxd_examples::Rgb8;

uint32_t Packed(int r, int g, int b) {
    auto clamp = [](int v) { return static_cast<uint32_t>(std::min(255, std::max(0, v))); };
    return clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

int ToByte(double channel) { return static_cast<int>(std::lround(channel * 255.0)); }

// Limited-range BT.601 back to RGB, as the renderer's shaders compute it.
uint32_t ShownYuv(noxd_examples::Yuv8 c) {
    const double y = 1.164 * (c.y / 255.0 - 0.0625);
    const double u = c.u / 255.0 - 0.5, v = c.v / 255.0 - 0.5;
    return Packed(ToByte(y + 1.596 * v), ToByte(y - 0.813 * v - 0.391 * u), ToByte(y + 2.018 * u));
}

constexpr int kI420 = 8;

bool IsYuv(int format) { return format == kI420 || format == 9 || format == 12 || format == kFormatNv12; }

// True when the pattern has one colour over the square of radius `r` around (x, y).
bool FlatAround(int x, int y, int width, int height, int r) {
    const Rgb8 centre = PatternPixel(x, y, width, height, 0);
    for (int dy = -r; dy <= r; dy += r)
        for (int dx = -r; dx <= r; dx += r) {
            const int px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= width || py >= height) return false;
            const Rgb8 c = PatternPixel(px, py, width, height, 0);
            if (c.r != centre.r || c.g != centre.g || c.b != centre.b) return false;
        }
    return true;
}

bool Near(uint32_t got, uint32_t want, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((got >> shift) & 0xFF), b = static_cast<int>((want >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance) return false;
    }
    return true;
}

}  // namespace

uint32_t ExpectedCardColour(int format, int x, int y, int width, int height) {
    const Rgb8 c = PatternPixel(x, y, width, height, 0);
    return IsYuv(format) ? ShownYuv(noxd_examples::RgbToYuv(c)) : Packed(c.r, c.g, c.b);
}

CardVerdict CheckCard(const Screenshot& shot, int format, int frame_width, int frame_height,
                      const ClientRegion& region, int tolerance) {
    CardVerdict verdict;
    if (shot.width <= 0 || shot.height <= 0 ||
        static_cast<int>(shot.pixels.size()) < shot.width * shot.height)
        return verdict;
    const int left = std::max(0, region.left), top = std::max(0, region.top);
    const int right = std::min(shot.width, region.right), bottom = std::min(shot.height, region.bottom);
    const double scale_x = static_cast<double>(frame_width) / shot.width;
    const double scale_y = static_cast<double>(frame_height) / shot.height;
    // Filtering reaches about one screen pixel into the frame around a point.
    const int margin = std::max(3, static_cast<int>(2 * std::max(scale_x, scale_y)) + 2);
    // A 24 x 18 grid finds a picture that is flipped, shifted, scaled or has
    // its chroma swapped, since the bars and the ramp differ along both axes.
    const int step_x = std::max(1, shot.width / 24), step_y = std::max(1, shot.height / 18);
    for (int y = top + step_y / 2; y < bottom; y += step_y)
        for (int x = left + step_x / 2; x < right; x += step_x) {
            const int fx = static_cast<int>((x + 0.5) * scale_x);
            const int fy = static_cast<int>((y + 0.5) * scale_y);
            if (!FlatAround(fx, fy, frame_width, frame_height, margin)) continue;
            const uint32_t want = ExpectedCardColour(format, fx, fy, frame_width, frame_height);
            const uint32_t got = shot.pixels[static_cast<size_t>(y) * shot.width + x] & 0xFFFFFF;
            ++verdict.compared;
            if (Near(got, want, tolerance)) continue;
            if (verdict.wrong++ == 0)
                verdict.first_wrong = Format("at (%d, %d) got #%06x want #%06x", x, y,
                                             static_cast<unsigned>(got), static_cast<unsigned>(want));
        }
    return verdict;
}

namespace {

// NV12 carries I420's samples: the same Y plane, then each U beside its V.
std::vector<uint8_t> Nv12FromI420(const std::vector<uint8_t>& i420, int width, int height) {
    const size_t luma = static_cast<size_t>(width) * height, chroma = luma / 4;
    std::vector<uint8_t> nv12(i420.begin(), i420.begin() + static_cast<std::ptrdiff_t>(luma));
    nv12.reserve(luma + 2 * chroma);
    for (size_t i = 0; i < chroma; ++i) {
        nv12.push_back(i420[luma + i]);
        nv12.push_back(i420[luma + chroma + i]);
    }
    return nv12;
}

std::vector<uint8_t> PatternFrame(int format, int width, int height, int t) {
    if (format != kFormatNv12) return noxd_examples::PatternFrame(format, width, height, t);
    return Nv12FromI420(noxd_examples::PatternFrame(kI420, width, height, t), width, height);
}

}  // namespace

std::vector<uint8_t> CardFrame(int format, int width, int height) { return PatternFrame(format, width, height, 0); }

std::vector<std::vector<uint8_t>> MovingFrames(int format, int width, int height, int count) {
    std::vector<std::vector<uint8_t>> frames;
    for (int t = 1; t <= count; ++t) frames.push_back(PatternFrame(format, width, height, t));
    return frames;
}

std::vector<PlaneRows> PackedPlanes(int format, int width, int height) {
    const size_t luma = static_cast<size_t>(width) * height;
    const int cw = width / 2, ch = height / 2;
    if (format == kI420)
        return {{0, width, width, height}, {luma, cw, cw, ch}, {luma + luma / 4, cw, cw, ch}};
    if (format == kFormatNv12) return {{0, width, width, height}, {luma, width, width, ch}};
    return {};
}

int PaddedPitch(int row_bytes) { return (row_bytes + 63) / 64 * 64 + 64; }

std::vector<PlaneRows> PaddedPlanes(int format, int width, int height) {
    std::vector<PlaneRows> planes = PackedPlanes(format, width, height);
    size_t offset = 0;
    for (PlaneRows& plane : planes) {
        plane.offset = offset;
        plane.pitch = PaddedPitch(plane.row_bytes);
        offset += static_cast<size_t>(plane.pitch) * plane.rows;
    }
    return planes;
}

PaddedFrame PadRows(const std::vector<uint8_t>& packed, int format, int width, int height) {
    const std::vector<PlaneRows> from = PackedPlanes(format, width, height);
    PaddedFrame padded = {{}, PaddedPlanes(format, width, height)};
    if (from.empty()) return padded;
    const PlaneRows& last = padded.planes.back();
    padded.bytes.assign(last.offset + static_cast<size_t>(last.pitch) * last.rows, 0);
    for (size_t i = 0; i < from.size(); ++i) {
        const PlaneRows& to = padded.planes[i];
        for (int row = 0; row < to.rows; ++row)
            std::copy_n(packed.data() + from[i].offset + static_cast<size_t>(row) * from[i].pitch, to.row_bytes,
                        padded.bytes.data() + to.offset + static_cast<size_t>(row) * to.pitch);
    }
    return padded;
}

}  // namespace bench
