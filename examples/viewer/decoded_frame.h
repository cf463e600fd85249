// The component's decoded frames, read from its frame descriptor and copied
// into the layout the renderer takes. Plain logic, no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace viewer {

// Picture formats the viewer asks the decoder for.
enum class PictureFormat { kYuy2, kRgb32 };

// The decoder's media type code for a format (QZ_MTC_RAW_YUV422 33, QZ_MTC_RAW_RGB32 34).
uint32_t MediaTypeOf(PictureFormat format);
// The renderer's frame format code (NOXD_FORMAT_YUY2 12, NOXD_FORMAT_BGR32 10).
int RendererFormatOf(PictureFormat format);

// Descriptor fields: little-endian 32-bit words at 0 (size, 44), 4 sequence,
// 8 media type, 12 width, 16 height, 32 row stride, 36 payload length; the
// payload address at 40 is a native pointer.
struct DecodedFrame {
    uint32_t size = 0;
    uint32_t sequence = 0;
    uint32_t media_type = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t stride = 0;
    uint32_t length = 0;
    const uint8_t* payload = nullptr;
};
constexpr uint32_t kFrameDescSize = 44;

DecodedFrame ReadFrameDesc(const uint8_t* desc);

// Whether the frame is a whole picture of the format and size the view was
// made for: a right descriptor size, a payload, rows long enough.
bool Fits(const DecodedFrame& frame, PictureFormat format, uint32_t width, uint32_t height);

// Bytes of one renderer frame: rows padded to 4 bytes, as the renderer reads them.
size_t RendererFrameBytes(PictureFormat format, uint32_t width, uint32_t height);

// Copies a fitting frame into `out` in the renderer's layout: YUY2 top row
// first as delivered; RGB32 turned bottom row first, which the renderer's
// 32-bit BGR format expects (the decoder delivers the top row first).
void CopyToRendererLayout(const DecodedFrame& frame, PictureFormat format, std::vector<uint8_t>& out);

}  // namespace viewer
