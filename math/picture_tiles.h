// A converted picture in power-of-two textures: GLs without non-power-of-two
// textures (Windows' own GL 1.1) take only power-of-two sides, up to their
// maximum texture size. Each texture holds one tile of the picture with a
// one-texel rim copied from its neighbours (or from its own edge at the
// picture's edge), so linear filtering across a tile's edge reads the right
// texels and no seam shows. Free of Windows and GL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame_layout.h"
#include "power_of_two.h"

namespace noxd {

// One tile: the picture's pixels x..x+width-1, rows y..y+height-1, at
// texel (1, 1) of a texture of texture_width x texture_height, powers of two.
struct PictureTile {
    int32_t x, y, width, height;
    int32_t texture_width, texture_height;
};

// The tiles of a width x height picture, row by row, none larger than
// `max_texture_size` with its rim; as few as the size allows, their sides as
// even as can be. None for an empty picture or a maximum below 4.
std::vector<PictureTile> PictureTilesFor(int32_t width, int32_t height, int32_t max_texture_size);

// The part of `quad` (texture coordinates in fractions of the whole picture)
// that shows `tile` of a width x height picture, with texture coordinates in
// the tile's own texture; false when the quad shows nothing of the tile.
bool TileQuad(const VideoQuad& quad, const PictureTile& tile, int32_t width, int32_t height,
              VideoQuad& out);

// Copies a width x height picture's edge pixels into the one-pixel rim
// around it: `pixels` holds (width + 2) x (height + 2) pixels, the picture
// at (1, 1), rows `pitch` pixels apart.
void CopyEdgesIntoRim(uint32_t* pixels, int32_t width, int32_t height, ptrdiff_t pitch);

}  // namespace noxd
