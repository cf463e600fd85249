// The component's decoded frames, checked against the view and copied into
// the layout the renderer takes. Plain logic, no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "nox_values.h"

namespace viewer {

// Picture formats the viewer asks the decoder for.
enum class PictureFormat { kYuy2, kRgb32 };

// The decoder's media type code for a format (QZ_MTC_RAW_YUV422 33, QZ_MTC_RAW_RGB32 34).
uint32_t MediaTypeOf(PictureFormat format);
// The renderer's frame format code (NOXD_FORMAT_YUY2 12, NOXD_FORMAT_BGR32 10).
int RendererFormatOf(PictureFormat format);

// Whether the frame is a whole picture of the format and size the view was
// made for: a right descriptor size, a payload, rows long enough.
bool Fits(const nox::FrameDesc& frame, PictureFormat format, uint32_t width, uint32_t height);

// Bytes of one renderer frame: rows padded to 4 bytes, as the renderer reads them.
size_t RendererFrameBytes(PictureFormat format, uint32_t width, uint32_t height);

// Copies a fitting frame into `out` in the renderer's layout: YUY2 top row
// first as delivered; RGB32 turned bottom row first, which the renderer's
// 32-bit BGR format expects (the decoder delivers the top row first).
void CopyToRendererLayout(const nox::FrameDesc& frame, PictureFormat format, std::vector<uint8_t>& out);

}  // namespace viewer
