// The component's decoded frames: checked, copied as delivered, and
// described plane by plane as the renderer reads them, so that no picture is
// repacked on its way. Plain logic, no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "nox_values.h"

namespace viewer {

// Picture formats the viewer asks the decoder for.
enum class PictureFormat { kYuy2, kRgb32 };

// The decoder's media type code for a format (QZ_MTC_RAW_YUV422 33, QZ_MTC_RAW_RGB32 34).
uint32_t MediaTypeOf(PictureFormat format);

// The renderer's frame format codes of the pictures the viewer shows.
constexpr int kRendererBgr32 = 10;
constexpr int kRendererBgr24 = 11;
constexpr int kRendererYuy2 = 12;
constexpr int kRendererNv12 = 0x3231564E;

// Where a picture's planes lie in the bytes the viewer holds: per plane the
// offset of its top row and the signed byte distance to the next row down.
struct PlaneLayout {
    int format = 0;  // renderer format code
    uint32_t width = 0;
    uint32_t height = 0;
    size_t offset[3] = {};
    int32_t pitch[3] = {};
    size_t bytes = 0;  // the picture's bytes, every row of every plane with its padding
};

// The layout of a frame that is a whole picture the renderer can show: a
// right descriptor size, a payload, a known format, at least one pixel, rows
// long enough and a claimed length that holds every row. False otherwise,
// and `layout` is left as it was. Pictures may change format and size from
// one frame to the next.
bool LayoutOf(const nox::FrameDesc& frame, PlaneLayout* layout);

// Copies the picture's bytes as delivered, which `layout` (LayoutOf's for
// this frame) describes: the component's buffer lives only for its call.
void CopyPicture(const nox::FrameDesc& frame, const PlaneLayout& layout, std::vector<uint8_t>& out);

// "YUY2", "RGB32", "RGB24" or "NV12", as the console names a format.
std::string FormatName(int renderer_format);

}  // namespace viewer
