#include "decoded_frame.h"

#include <cstring>

namespace viewer {

namespace {

uint32_t BytesPerPixel(PictureFormat format) { return format == PictureFormat::kYuy2 ? 2 : 4; }

size_t RendererRowBytes(PictureFormat format, uint32_t width) {
    return (static_cast<size_t>(width) * BytesPerPixel(format) + 3) & ~size_t{3};
}

}  // namespace

uint32_t MediaTypeOf(PictureFormat format) {
    return format == PictureFormat::kYuy2 ? nox::kMediaYuv422 : nox::kMediaRgb32;
}

int RendererFormatOf(PictureFormat format) { return format == PictureFormat::kYuy2 ? 12 : 10; }

bool Fits(const nox::FrameDesc& frame, PictureFormat format, uint32_t width, uint32_t height) {
    const uint64_t row = static_cast<uint64_t>(width) * BytesPerPixel(format);
    return frame.size == nox::kFrameDescSize && frame.payload && frame.media_type == MediaTypeOf(format) &&
           frame.width == width && frame.height == height && frame.stride >= row &&
           frame.length >= static_cast<uint64_t>(frame.stride) * height;
}

size_t RendererFrameBytes(PictureFormat format, uint32_t width, uint32_t height) {
    return RendererRowBytes(format, width) * height;
}

void CopyToRendererLayout(const nox::FrameDesc& frame, PictureFormat format, std::vector<uint8_t>& out) {
    const size_t row = RendererRowBytes(format, frame.width);
    const size_t used = static_cast<size_t>(frame.width) * BytesPerPixel(format);
    out.assign(row * frame.height, 0);
    if (out.empty()) return;  // no row to copy, and no element to take the address of
    const bool flip = format == PictureFormat::kRgb32;
    for (uint32_t y = 0; y < frame.height; ++y) {
        const uint32_t target = flip ? frame.height - 1 - y : y;
        std::memcpy(&out[target * row], frame.payload + static_cast<size_t>(y) * frame.stride, used);
    }
}

}  // namespace viewer
