// The colour spaces YUV frames can be converted in: a matrix (BT.601 or
// BT.709) and a range (limited or full). Free of Windows and GL.
#pragma once

#include <cstdint>
#include <optional>

namespace noxd {

// Codes of noxd_set_color_space.
enum ColorMatrixCode { kMatrixBt601 = 0, kMatrixBt709 = 1 };
enum ColorRangeCode { kRangeLimited = 0, kRangeFull = 1 };

// Position of a colour space in the shader source tables: BT.601 limited 0,
// BT.601 full 1, BT.709 limited 2, BT.709 full 3.
using ColorSpaceIndex = uint32_t;
constexpr ColorSpaceIndex kDefaultColorSpace = 0;
constexpr ColorSpaceIndex kColorSpaceCount = 4;

// The index of a matrix and range code pair; nothing for codes outside them.
std::optional<ColorSpaceIndex> ColorSpaceOf(int matrix, int range);

}  // namespace noxd
