// Where a layer of overlays has anything to show: the parts of it that must
// be laid over the picture, so that the rest of the window costs nothing.
#pragma once

#include <cstdint>
#include <vector>

namespace noxd {

// A rectangle of a layer in pixels: columns from the left, rows counted in
// the layer's own row order.
struct PixelRect {
    int32_t x, y, width, height;
};

// Tiles of `tile` x `tile` pixels (smaller at the right and last edges) that
// hold a pixel whose alpha byte is not 0, neighbouring tiles of a tile row
// merged into one rectangle. `pixels` are 32-bit words with alpha in the top
// byte, `width` x `height`, rows in order. Everything outside the result has
// alpha 0, which a premultiplied layer shows as nothing at all.
std::vector<PixelRect> CoveredTiles(const uint32_t* pixels, int32_t width, int32_t height,
                                    int32_t tile);

}  // namespace noxd
