#include "decoded_frame.h"

#include <cstring>
#include <limits>

namespace viewer {

namespace {

// How a media type's picture lies in its buffer.
struct MediaShape {
    uint32_t media_type;
    int renderer_format;
    uint32_t bytes_per_pixel;  // of the first plane
    bool chroma_plane;         // NV12's interleaved U,V rows after the luma rows
};

const MediaShape kShapes[] = {
    {nox::kMediaYuv422, kRendererYuy2, 2, false},
    {nox::kMediaRgb32, kRendererBgr32, 4, false},
    {nox::kMediaRgb888, kRendererBgr24, 3, false},
    {nox::kMediaSimNv12, kRendererNv12, 1, true},
};

const MediaShape* ShapeOf(uint32_t media_type) {
    for (const MediaShape& shape : kShapes)
        if (shape.media_type == media_type) return &shape;
    return nullptr;
}

// Bytes the widest row of the picture takes; YUY2 and NV12 hold pixels in pairs.
uint64_t RowBytes(const MediaShape& shape, uint32_t width) {
    const uint64_t w = width;
    if (shape.renderer_format == kRendererYuy2 || shape.chroma_plane) return (w + 1) / 2 * 2 * shape.bytes_per_pixel;
    return w * shape.bytes_per_pixel;
}

}  // namespace

uint32_t MediaTypeOf(PictureFormat format) {
    return format == PictureFormat::kYuy2 ? nox::kMediaYuv422 : nox::kMediaRgb32;
}

bool LayoutOf(const nox::FrameDesc& frame, PlaneLayout* layout) {
    const MediaShape* shape = ShapeOf(frame.media_type);
    if (frame.size != nox::kFrameDescSize || !frame.payload || !shape || frame.width == 0 || frame.height == 0 ||
        frame.stride > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ||
        frame.stride < RowBytes(*shape, frame.width))
        return false;
    const uint64_t rows = frame.height + (shape->chroma_plane ? (frame.height + 1) / 2 : 0);
    const uint64_t bytes = rows * frame.stride;
    if (frame.length < bytes) return false;
    PlaneLayout planes;
    planes.format = shape->renderer_format;
    planes.width = frame.width;
    planes.height = frame.height;
    planes.pitch[0] = static_cast<int32_t>(frame.stride);
    if (shape->chroma_plane) {
        planes.offset[1] = static_cast<size_t>(frame.height) * frame.stride;
        planes.pitch[1] = planes.pitch[0];
    }
    planes.bytes = static_cast<size_t>(bytes);
    *layout = planes;
    return true;
}

void CopyPicture(const nox::FrameDesc& frame, const PlaneLayout& layout, std::vector<uint8_t>& out) {
    out.assign(frame.payload, frame.payload + layout.bytes);
}

std::string FormatName(int renderer_format) {
    switch (renderer_format) {
    case kRendererYuy2: return "YUY2";
    case kRendererBgr32: return "RGB32";
    case kRendererBgr24: return "RGB24";
    case kRendererNv12: return "NV12";
    default: return "format " + std::to_string(renderer_format);
    }
}

}  // namespace viewer
