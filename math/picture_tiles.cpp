#include "picture_tiles.h"

#include <algorithm>
#include <cstring>

namespace noxd {

namespace {

// Splits `length` pixels into spans whose sides with their rim fit `max`,
// the first ones one pixel longer where the split is uneven.
struct Spans {
    int32_t count, base, longer;
};
Spans SpansOf(int32_t length, int32_t max) {
    const int32_t room = max - 2;
    const int32_t count = (length + room - 1) / room;
    return {count, length / count, length % count};
}

// The affine map from texture coordinates to vertices that the quad's
// corners 0, 1 and 3 give (its corners form a parallelogram).
struct QuadMap {
    double origin_s, origin_t;
    double inverse[2][2];  // texture coordinates to the corners' weights
    double along1[3], along3[3], vertex0[3];

    explicit QuadMap(const VideoQuad& q) {
        origin_s = q.tex[0][0];
        origin_t = q.tex[0][1];
        const double a = q.tex[1][0] - origin_s, b = q.tex[3][0] - origin_s;
        const double c = q.tex[1][1] - origin_t, d = q.tex[3][1] - origin_t;
        const double det = a * d - b * c;
        inverse[0][0] = det ? d / det : 0;
        inverse[0][1] = det ? -b / det : 0;
        inverse[1][0] = det ? -c / det : 0;
        inverse[1][1] = det ? a / det : 0;
        for (int k = 0; k < 3; ++k) {
            vertex0[k] = q.vertex[0][k];
            along1[k] = q.vertex[1][k] - q.vertex[0][k];
            along3[k] = q.vertex[3][k] - q.vertex[0][k];
        }
    }

    void VertexOf(double s, double t, float vertex[3]) const {
        const double ds = s - origin_s, dt = t - origin_t;
        const double w1 = inverse[0][0] * ds + inverse[0][1] * dt;
        const double w3 = inverse[1][0] * ds + inverse[1][1] * dt;
        for (int k = 0; k < 3; ++k) vertex[k] = static_cast<float>(vertex0[k] + w1 * along1[k] + w3 * along3[k]);
    }
};

}  // namespace

std::vector<PictureTile> PictureTilesFor(int32_t width, int32_t height, int32_t max_texture_size) {
    std::vector<PictureTile> tiles;
    const int32_t max = PowerOfTwoFloor(max_texture_size);
    if (width <= 0 || height <= 0 || max < 4) return tiles;
    const Spans across = SpansOf(width, max), down = SpansOf(height, max);
    tiles.reserve(static_cast<size_t>(across.count) * down.count);
    for (int32_t row = 0, y = 0; row < down.count; ++row) {
        const int32_t h = down.base + (row < down.longer ? 1 : 0);
        for (int32_t column = 0, x = 0; column < across.count; ++column) {
            const int32_t w = across.base + (column < across.longer ? 1 : 0);
            tiles.push_back({x, y, w, h, PowerOfTwoCeil(w + 2), PowerOfTwoCeil(h + 2)});
            x += w;
        }
        y += h;
    }
    return tiles;
}

bool TileQuad(const VideoQuad& quad, const PictureTile& tile, int32_t width, int32_t height,
              VideoQuad& out) {
    double s_min = quad.tex[0][0], s_max = s_min, t_min = quad.tex[0][1], t_max = t_min;
    for (const auto& tex : quad.tex) {
        s_min = std::min<double>(s_min, tex[0]);
        s_max = std::max<double>(s_max, tex[0]);
        t_min = std::min<double>(t_min, tex[1]);
        t_max = std::max<double>(t_max, tex[1]);
    }
    // The tile's part of the picture, in fractions of the whole picture.
    const double lo_s = std::max(s_min, static_cast<double>(tile.x) / width);
    const double hi_s = std::min(s_max, static_cast<double>(tile.x + tile.width) / width);
    const double lo_t = std::max(t_min, static_cast<double>(tile.y) / height);
    const double hi_t = std::min(t_max, static_cast<double>(tile.y + tile.height) / height);
    if (lo_s >= hi_s || lo_t >= hi_t) return false;
    const QuadMap map(quad);
    for (int i = 0; i < 4; ++i) {
        // The quad's corners are the corners of its texture rectangle, so
        // each clamped onto the tile's part is the same corner of that part.
        const double s = std::clamp<double>(quad.tex[i][0], lo_s, hi_s);
        const double t = std::clamp<double>(quad.tex[i][1], lo_t, hi_t);
        map.VertexOf(s, t, out.vertex[i]);
        out.tex[i][0] = static_cast<float>((s * width - tile.x + 1) / tile.texture_width);
        out.tex[i][1] = static_cast<float>((t * height - tile.y + 1) / tile.texture_height);
    }
    return true;
}

void CopyEdgesIntoRim(uint32_t* pixels, int32_t width, int32_t height, ptrdiff_t pitch) {
    if (width <= 0 || height <= 0) return;
    for (int32_t y = 1; y <= height; ++y) {
        uint32_t* row = pixels + y * pitch;
        row[0] = row[1];
        row[width + 1] = row[width];
    }
    const size_t row_bytes = (static_cast<size_t>(width) + 2) * sizeof(uint32_t);
    std::memcpy(pixels, pixels + pitch, row_bytes);
    std::memcpy(pixels + (height + 1) * pitch, pixels + height * pitch, row_bytes);
}

}  // namespace noxd
