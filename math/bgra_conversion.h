// Frames turned into B G R A pixels on the CPU, for a GL that cannot convert
// them in shaders: its textures then take the pixels as they are. Free of
// Windows and GL.
#pragma once

#include <cstddef>
#include <cstdint>

#include "color_space.h"
#include "frame_layout.h"

namespace noxd {

// Converts the frame to 4-byte B G R A pixels, geometry.width x geometry.height,
// rows `dst_pitch` bytes apart from `dst`; dst row 0 is the picture's top row,
// or its bottom row when `bottom_up`. Alpha is not specified (the drawing ignores it).
//
// YUV formats are read in the colour space `space` (BGR ones ignore it); a
// pixel takes the chroma sample that covers it. Reads no byte outside the
// frame's rows: plane p's PlaneRowCount rows of PlaneRowBytes bytes. Where
// chroma is truncated (packed frames of odd sizes), the last odd column and
// row take the nearest chroma sample the frame has, and a frame one pixel
// wide or high, which has none, is grey in chroma. The frame must be
// drawable (PlanesFault null); every pitch, dst_pitch too, fits in an int,
// as those of frames given to noxd do.
void ConvertToBgra(const FramePlanes& frame, ColorSpaceIndex space, bool bottom_up,
                   uint8_t* dst, ptrdiff_t dst_pitch);

}  // namespace noxd
