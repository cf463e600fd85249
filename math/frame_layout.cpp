#include "frame_layout.h"

#include <algorithm>

namespace noxd {

std::optional<FormatClass> FormatClassOf(int format) {
    switch (format) {
    case 11: return FormatClass::Bgr24;
    case 10: return FormatClass::Bgr32;
    case 12: return FormatClass::Yuy2;
    case 8: return FormatClass::I420;
    case 9: return FormatClass::Uyvy;
    case kFormatNv12: return FormatClass::Nv12;
    case kFormatNv21: return FormatClass::Nv21;
    default: return std::nullopt;
    }
}

int FormatCodeOf(FormatClass cls) {
    switch (cls) {
    case FormatClass::Bgr24: return 11;
    case FormatClass::Bgr32: return 10;
    case FormatClass::Yuy2: return 12;
    case FormatClass::I420: return 8;
    case FormatClass::Uyvy: return 9;
    case FormatClass::Nv12: return kFormatNv12;
    case FormatClass::Nv21: return kFormatNv21;
    }
    return 0;
}

bool IsYuv(FormatClass cls) { return !StoredBottomUp(cls); }

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

size_t BytesPerTexel(TexelLayout layout) {
    switch (layout) {
    case TexelLayout::RgbFromBgr: return 3;
    case TexelLayout::RgbFromBgra: return 4;
    case TexelLayout::LuminanceAlpha: return 2;
    case TexelLayout::RgbaFromBgra: return 4;
    case TexelLayout::Luminance: return 1;
    }
    return 0;
}

namespace {

int32_t Half(int32_t size, ChromaSize chroma) {
    const int64_t rounding = chroma == ChromaSize::RoundedUp ? 1 : 0;
    return static_cast<int32_t>((static_cast<int64_t>(size) + rounding) / 2);
}

}  // namespace

TexturePlan TexturePlanFor(const FrameGeometry& g) {
    const int32_t w = g.width, h = g.height;
    const int32_t half_w = Half(w, g.chroma), half_h = Half(h, g.chroma);
    switch (g.cls) {
    case FormatClass::Bgr24: return {{{0, 0, w, h, TexelLayout::RgbFromBgr}}, 1};
    case FormatClass::Bgr32: return {{{0, 0, w, h, TexelLayout::RgbFromBgra}}, 1};
    case FormatClass::Yuy2:
    case FormatClass::Uyvy:
        // The packed picture is read twice: one texel per pair for chroma,
        // one texel per pixel for luma.
        return {{{1, 0, half_w, h, TexelLayout::RgbaFromBgra}, {0, 0, w, h, TexelLayout::LuminanceAlpha}},
                2};
    case FormatClass::I420:
        return {{{2, 2, half_w, half_h, TexelLayout::Luminance},
                 {1, 1, half_w, half_h, TexelLayout::Luminance},
                 {0, 0, w, h, TexelLayout::Luminance}},
                3};
    case FormatClass::Nv12:
    case FormatClass::Nv21:
        return {{{1, 1, half_w, half_h, TexelLayout::LuminanceAlpha}, {0, 0, w, h, TexelLayout::Luminance}},
                2};
    }
    return {{}, 0};
}

int PlaneCount(FormatClass cls) {
    switch (cls) {
    case FormatClass::I420: return 3;
    case FormatClass::Nv12:
    case FormatClass::Nv21: return 2;
    default: return 1;
    }
}

int32_t PlaneRowCount(const FrameGeometry& geometry, int plane) {
    const TexturePlan plan = TexturePlanFor(geometry);
    int32_t rows = 0;
    for (int i = 0; i < plan.count; ++i)
        if (plan.uploads[i].plane == plane && plan.uploads[i].height > rows) rows = plan.uploads[i].height;
    return rows;
}

size_t PlaneRowBytes(const FrameGeometry& geometry, int plane) {
    const TexturePlan plan = TexturePlanFor(geometry);
    size_t bytes = 0;
    for (int i = 0; i < plan.count; ++i) {
        const TextureUpload& t = plan.uploads[i];
        const size_t row = t.width > 0 ? static_cast<size_t>(t.width) * BytesPerTexel(t.layout) : 0;
        if (t.plane == plane && row > bytes) bytes = row;
    }
    return bytes;
}

namespace {

// Where each plane of a packed frame has its top row, and its pitch, in bytes
// from the frame's first byte.
struct PackedPlane {
    int64_t top;
    int64_t pitch;
};
struct PackedLayout {
    PackedPlane planes[3];
};

PackedLayout PackedLayoutOf(FormatClass cls, int32_t width, int32_t height) {
    const int64_t w = width, h = height;
    switch (cls) {
    case FormatClass::Bgr24:
    case FormatClass::Bgr32: {
        const int64_t stride = static_cast<int64_t>(AlignedRowBytes(static_cast<size_t>(w) * (cls == FormatClass::Bgr24 ? 3 : 4)));
        return {{{(h - 1) * stride, -stride}}};
    }
    case FormatClass::Yuy2:
    case FormatClass::Uyvy: return {{{0, 4 * ((w + 1) / 2)}}};
    case FormatClass::I420: {
        const PlaneOffsets p = I420PlaneOffsets(width, height);
        return {{{0, w}, {p.u, w / 2}, {p.v, w / 2}}};
    }
    case FormatClass::Nv12:
    case FormatClass::Nv21: return {{{0, w}, {w * h, w}}};
    }
    return {};
}

// The first and one past the last byte a plane's rows cover, from its top row.
struct Extent {
    int64_t begin;
    int64_t end;
};
Extent RowsExtent(int64_t pitch, int32_t rows, size_t row_bytes) {
    const int64_t last = static_cast<int64_t>(rows - 1) * pitch;
    const int64_t low = last < 0 ? last : 0;
    const int64_t high = last < 0 ? 0 : last;
    return {low, high + static_cast<int64_t>(row_bytes)};
}

}  // namespace

FramePlanes PackedFramePlanes(FormatClass cls, int32_t width, int32_t height, const void* frame) {
    const FrameGeometry geometry = {cls, width, height, ChromaSize::Truncated};
    const PackedLayout layout = PackedLayoutOf(cls, width, height);
    FramePlanes planes = {geometry, {}};
    const uint8_t* bytes = static_cast<const uint8_t*>(frame);
    for (int p = 0; p < PlaneCount(cls); ++p)
        planes.planes[p] = {bytes + layout.planes[p].top, static_cast<ptrdiff_t>(layout.planes[p].pitch)};
    return planes;
}

size_t FrameBytes(FormatClass cls, int32_t width, int32_t height) {
    const FrameGeometry geometry = {cls, width, height, ChromaSize::Truncated};
    const PackedLayout layout = PackedLayoutOf(cls, width, height);
    int64_t end = 0;
    for (int p = 0; p < PlaneCount(cls); ++p) {
        const int32_t rows = PlaneRowCount(geometry, p);
        const size_t row_bytes = PlaneRowBytes(geometry, p);
        if (rows <= 0 || row_bytes == 0) continue;
        const Extent e = RowsExtent(layout.planes[p].pitch, rows, row_bytes);
        end = std::max(end, layout.planes[p].top + e.end);
    }
    return static_cast<size_t>(end);
}

const char* PlanesFault(const FramePlanes& frame, int32_t max_texture_size) {
    static const char* const kNull[3] = {"data[0] is null", "data[1] is null", "data[2] is null"};
    static const char* const kShort[3] = {"pitch[0] is smaller than a row", "pitch[1] is smaller than a row",
                                          "pitch[2] is smaller than a row"};
    static const char* const kWraps[3] = {"pitch[0] takes the rows out of the address space",
                                          "pitch[1] takes the rows out of the address space",
                                          "pitch[2] takes the rows out of the address space"};
    const FrameGeometry& g = frame.geometry;
    if (g.width < 1 || g.width > max_texture_size) return "width is below 1 or above the GL's maximum texture size";
    if (g.height < 1 || g.height > max_texture_size)
        return "height is below 1 or above the GL's maximum texture size";
    for (int p = 0; p < PlaneCount(g.cls); ++p) {
        const PlaneRows& plane = frame.planes[p];
        if (!plane.top) return kNull[p];
        const size_t row_bytes = PlaneRowBytes(g, p);
        const int64_t pitch = plane.pitch;
        const uint64_t distance = static_cast<uint64_t>(pitch < 0 ? -pitch : pitch);
        if (distance < row_bytes) return kShort[p];
        const Extent e = RowsExtent(pitch, PlaneRowCount(g, p), row_bytes);
        const uint64_t top = reinterpret_cast<uintptr_t>(plane.top);
        const uint64_t below = static_cast<uint64_t>(-e.begin);
        const uint64_t above = static_cast<uint64_t>(e.end);
        if (below > top || above - 1 > static_cast<uint64_t>(UINTPTR_MAX) - top) return kWraps[p];
    }
    return nullptr;
}

bool RowsBottomUp(const FramePlanes& frame) { return frame.planes[0].pitch < 0; }

RowSource RowSourceFor(const TextureUpload& t, const PlaneRows& plane, bool bottom_up) {
    const ptrdiff_t last_row = static_cast<ptrdiff_t>(t.height - 1) * plane.pitch;
    const uint8_t* first = bottom_up ? plane.top + last_row : plane.top;
    const ptrdiff_t step = bottom_up ? -plane.pitch : plane.pitch;
    const size_t texel = BytesPerTexel(t.layout);
    const size_t row_bytes = static_cast<size_t>(t.width) * texel;
    if (step > 0) {
        const size_t stride = static_cast<size_t>(step);
        // GL's own alignment first, so packed frames leave the unpack state alone.
        for (int alignment : {4, 8, 2, 1})
            if ((row_bytes + alignment - 1) / alignment * alignment == stride) return {first, step, alignment, 0};
        // Any alignment that divides the stride says the same; drivers copy
        // rows faster the more aligned they are told they are.
        if (stride % texel == 0) {
            int alignment = 8;
            while (stride % alignment) alignment /= 2;
            return {first, step, alignment, static_cast<int32_t>(stride / texel)};
        }
    }
    return {first, step, 0, 0};
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

VideoQuad UprightVideoQuad(bool bottom_up) {
    VideoQuad q = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                   {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}};
    if (!bottom_up) {
        for (auto& v : q.vertex) v[1] = -v[1];
    }
    return q;
}

}  // namespace noxd
