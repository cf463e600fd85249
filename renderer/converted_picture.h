// The picture where GL has no shader programs (Windows' own GL 1.1, remote
// sessions, machines without a graphics driver): each frame is converted to
// BGRA on the CPU into a staging picture with a one-pixel rim, and drawn from
// power-of-two GL_BGRA_EXT textures, tiled where the frame is larger than the
// GL's maximum texture size. Only GL 1.1 calls: no program, no multitexture,
// no framebuffer objects.
#pragma once

#include <cstdint>
#include <vector>

#include "frame_layout.h"
#include "gl_objects.h"
#include "image_files.h"
#include "picture_tiles.h"

namespace noxd {

struct RendererCore;

// What the renderer draws the last converted frame from. GL thread, lock held.
struct ConvertedPicture {
    struct Tile {
        PictureTile place;
        HomedTexture texture;
        bool loaded = false;  // the texture holds this frame's pixels
    };
    // The frame in BGRA at (1, 1), with its rim, in the textures' row order.
    std::vector<uint32_t> staging;
    int32_t staging_width = 0;
    FrameGeometry geometry;  // what staging and tiles are made for
    std::vector<Tile> tiles;
};

// Converts the frame, which has the shown geometry, in the colour space asked
// for, and loads it into the tiles' textures. GL thread, lock held.
void UploadConvertedFrame(RendererCore& renderer, const FramePlanes& frame);

// Draws the last converted frame through the quad into the viewport, the
// rest of the window black; texturing is off again afterwards. GL thread, lock held.
void DrawConvertedQuad(RendererCore& renderer, const VideoQuad& quad);

// The last converted frame at its own size, top row first. Lock held.
Picture ConvertedFramePicture(const RendererCore& renderer);

// Deletes the textures, in the renderer's own context. GL thread, at release.
void DeleteConvertedTextures(RendererCore& renderer);

}  // namespace noxd
