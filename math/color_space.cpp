#include "color_space.h"

namespace noxd {

std::optional<ColorSpaceIndex> ColorSpaceOf(int matrix, int range) {
    const bool known_matrix = matrix == kMatrixBt601 || matrix == kMatrixBt709;
    const bool known_range = range == kRangeLimited || range == kRangeFull;
    if (!known_matrix || !known_range) return std::nullopt;
    return static_cast<ColorSpaceIndex>(matrix * 2 + range);
}

}  // namespace noxd
