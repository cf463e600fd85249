#include "layer_tiles.h"

#include <algorithm>

namespace noxd {

namespace {

bool TileCovered(const uint32_t* pixels, int32_t width, int32_t x0, int32_t y0, int32_t x1,
                 int32_t y1) {
    for (int32_t y = y0; y < y1; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * width;
        for (int32_t x = x0; x < x1; ++x)
            if (row[x] >> 24) return true;
    }
    return false;
}

}  // namespace

std::vector<PixelRect> CoveredTiles(const uint32_t* pixels, int32_t width, int32_t height,
                                    int32_t tile) {
    std::vector<PixelRect> rects;
    if (!pixels || width <= 0 || height <= 0 || tile <= 0) return rects;
    for (int32_t y0 = 0; y0 < height; y0 += tile) {
        const int32_t y1 = std::min(height, y0 + tile);
        bool extending = false;
        for (int32_t x0 = 0; x0 < width; x0 += tile) {
            const int32_t x1 = std::min(width, x0 + tile);
            const bool covered = TileCovered(pixels, width, x0, y0, x1, y1);
            if (covered && extending)
                rects.back().width = x1 - rects.back().x;
            else if (covered)
                rects.push_back({x0, y0, x1 - x0, y1 - y0});
            extending = covered;
        }
    }
    return rects;
}

}  // namespace noxd
