#include "frame_layout.h"

namespace noxd {

std::optional<FormatClass> FormatClassOf(int format) {
    switch (format) {
    case 11: return FormatClass::Bgr24;
    case 10: return FormatClass::Bgr32;
    case 12: return FormatClass::Yuy2;
    case 8: return FormatClass::I420;
    case 9: return FormatClass::Uyvy;
    default: return std::nullopt;
    }
}

bool StoredBottomUp(FormatClass cls) {
    return cls == FormatClass::Bgr24 || cls == FormatClass::Bgr32;
}

PlaneOffsets I420PlaneOffsets(int32_t width, int32_t height) {
    // The V plane follows a quarter-size U plane; the products wrap like the
    // 32-bit arithmetic hosts expect for absurd sizes instead of overflowing UB.
    const uint32_t luma = static_cast<uint32_t>(width) * static_cast<uint32_t>(height);
    const int32_t five_quarters = static_cast<int32_t>(5u * luma) / 4;
    return {static_cast<int32_t>(luma), five_quarters};
}

size_t AlignedRowBytes(size_t bytes) { return (bytes + 3) & ~size_t{3}; }

TexturePlan TexturePlanFor(FormatClass cls, int32_t width, int32_t height, PlaneOffsets planes) {
    const int32_t half_w = width / 2;
    const int32_t half_h = height / 2;
    switch (cls) {
    case FormatClass::Bgr24:
        return {{{0, width, height, TexelLayout::RgbFromBgr, 0}}, 1};
    case FormatClass::Bgr32:
        return {{{0, width, height, TexelLayout::RgbFromBgra, 0}}, 1};
    case FormatClass::Yuy2:
    case FormatClass::Uyvy: {
        // The packed picture is read twice: one texel per pair for chroma,
        // one texel per pixel for luma. A row of odd width ends in a half
        // used pair, which the chroma rows must step over too.
        const int32_t pairs_per_row = static_cast<int32_t>((static_cast<int64_t>(width) + 1) / 2);
        return {{{1, half_w, height, TexelLayout::RgbaFromBgra, 0, 4, pairs_per_row},
                 {0, width, height, TexelLayout::LuminanceAlpha, 0}},
                2};
    }
    case FormatClass::I420:
        return {{{2, half_w, half_h, TexelLayout::Luminance, static_cast<size_t>(planes.v), 1},
                 {1, half_w, half_h, TexelLayout::Luminance, static_cast<size_t>(planes.u), 1},
                 {0, width, height, TexelLayout::Luminance, 0, 1}},
                3};
    }
    return {{}, 0};
}

static size_t BytesPerTexel(TexelLayout layout) {
    switch (layout) {
    case TexelLayout::RgbFromBgr: return 3;
    case TexelLayout::RgbFromBgra: return 4;
    case TexelLayout::LuminanceAlpha: return 2;
    case TexelLayout::RgbaFromBgra: return 4;
    case TexelLayout::Luminance: return 1;
    }
    return 0;
}

size_t FrameBytes(FormatClass cls, int32_t width, int32_t height) {
    const TexturePlan plan = TexturePlanFor(cls, width, height, I420PlaneOffsets(width, height));
    size_t end = 0;
    for (int i = 0; i < plan.count; ++i) {
        const TextureUpload& t = plan.uploads[i];
        if (t.width <= 0 || t.height <= 0) continue;
        // GL reads the last row without its padding.
        const size_t row = static_cast<size_t>(t.width) * BytesPerTexel(t.layout);
        const size_t bytes = RowStride(t) * static_cast<size_t>(t.height - 1) + row;
        if (t.offset + bytes > end) end = t.offset + bytes;
    }
    return end;
}

size_t RowStride(const TextureUpload& t) {
    const int32_t texels = t.row_texels > 0 ? t.row_texels : t.width;
    const size_t bytes = static_cast<size_t>(texels) * BytesPerTexel(t.layout);
    const size_t alignment = static_cast<size_t>(t.row_alignment);
    return (bytes + alignment - 1) / alignment * alignment;
}

Viewport ViewportFromVideoPos(float left, float bottom, float right, float top,
                              int32_t client_width, int32_t client_height) {
    const double w = client_width;
    const double h = client_height;
    const float x0 = static_cast<float>(left * w);
    const float y0 = static_cast<float>(h - bottom * h);
    const float vw = static_cast<float>(right * w - x0);
    const float vh = static_cast<float>(h - (top * h + y0));
    return {static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(vw),
            static_cast<int32_t>(vh)};
}

bool CoversClient(const Viewport& v, int32_t client_width, int32_t client_height) {
    const int64_t right = static_cast<int64_t>(v.x) + v.width;
    const int64_t top = static_cast<int64_t>(v.y) + v.height;
    return v.x <= 0 && v.y <= 0 && right >= client_width && top >= client_height;
}

VideoQuad UprightVideoQuad(FormatClass cls) {
    VideoQuad q = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                   {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}};
    if (!StoredBottomUp(cls)) {
        for (auto& v : q.vertex) v[1] = -v[1];
    }
    return q;
}

}  // namespace noxd
