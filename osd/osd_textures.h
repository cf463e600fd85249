// The overlays' images in GL: each image gets a texture of its own, made and
// filled on the GL thread the first time it is drawn and kept while it is
// drawn. A texture whose image no pass has drawn since the pass before (its
// overlay was deleted, the list cleared, a button shows another state) is
// deleted as the next pass begins. So overlays are built and deleted on any
// thread without touching GL, and deleting one costs nothing in the frame
// that follows beyond the texture's deletion.
//
// GL thread, renderer lock held: the draw pass, the "no video" cover and
// release use it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "gl_objects.h"
#include "osd_pixels.h"

namespace noxd {

class OsdImageTextures {
public:
    // Deletes the textures of images not drawn since the pass before.
    void BeginPass(HGLRC own);

    // Binds the texture holding `image` on the active unit, filling it first
    // when it is new; returns the texture coordinates of the image's far
    // corner (1, 1 unless the texture is padded).
    struct FarCorner {
        float s = 1, t = 1;
    };
    FarCorner Bind(const PixelImage& image, HGLRC own);

    // From now on, images go into power-of-two textures, the image in the
    // corner at texel (0, 0), filtered at its edges as in a texture of its
    // own size: for a GL 1.1 without non-power-of-two textures.
    void PadToPowersOfTwo() { padded_ = true; }

    // Deletes every texture: at release, the renderer's context current.
    void DeleteAll(HGLRC own);

private:
    struct Entry {
        uint64_t serial;
        HomedTexture texture;
        uint32_t last_pass;
        FarCorner far_corner;
    };
    std::vector<Entry> entries_;
    uint32_t pass_ = 0;
    bool padded_ = false;
};

}  // namespace noxd
