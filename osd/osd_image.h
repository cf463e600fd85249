// Image overlays: drawing a pixel image over the video, reading GDI bitmaps
// into pixel images, and COsdBitmap.
#pragma once

#include <windows.h>

#include <cstdint>

#include "osd_object.h"
#include "osd_pixels.h"
#include "osd_textures.h"
#include "overlay_layer.h"

namespace noxd {

// Draws the image in the rectangle the corners and anchor give (PlaceImage,
// sizes by `space`), its top row along y0, blended by its own alpha, from
// the image's texture in `textures` on the active unit. On a turned or
// mirrored picture it stays upright, on the screen's bounding box of its
// turned corners. GL thread, lock held.
HRESULT DrawOsdImageFrom(OsdImageTextures& textures, noxd::OverlayRenderer& renderer,
                         const PixelImage& image, const ImageCorners& corners, int32_t anchor,
                         const OverlaySpace& space);

// The same from the overlays' textures, in the pass's space: in the draw pass.
HRESULT DrawOsdImage(noxd::OverlayRenderer& renderer, const PixelImage& image,
                     const ImageCorners& corners, int32_t anchor);

// Reads a GDI bitmap into `image`: 32-bit bitmaps as they are, 8-, 16- and
// 24-bit ones converted (opaque), each row read at the bitmap's own stride.
// E_INVALIDARG for a null handle or a size refused by IsAcceptedBitmapSize,
// E_FAIL when GDI gives no bits or memory is short. Any thread.
HRESULT ReadBitmapPixels(HBITMAP bitmap, PixelImage& image);

// ReadBitmapPixels, then ApplyColourKey with the key colour and alpha.
HRESULT LoadOsdPixels(HBITMAP bitmap, uint32_t key_color, uint8_t key_alpha, PixelImage& image);

// A bitmap file read into `image` and keyed as LoadOsdPixels does, after
// its bytes have been checked (IsWellFormedBmpFile). Top-down and 1-bit
// files are read here (opaque below 32 bits), the others through the
// system's loader. E_INVALIDARG for a file that cannot be read, is
// malformed or that GDI refuses; E_FAIL when memory is short. Any thread.
HRESULT LoadOsdFilePixels(const wchar_t* path, uint32_t key_color, uint8_t key_alpha,
                          PixelImage& image);

}  // namespace noxd

// An image from a bitmap file, a host bitmap or raw 32-bit pixels.
class COsdBitmap : public CBaseOsdObject {
public:
    COsdBitmap(noxd::OverlayRenderer* owner, const noxd::ImageCorners& corners, int32_t anchor,
               uint32_t key_color, uint8_t key_alpha);
    HRESULT Draw() override;
    void FreeResources() override { image.Release(); }

    // Each leaves `status` as the object's construction result.
    void LoadFile(const wchar_t* path);
    void LoadHandle(HBITMAP bitmap);
    // Top row first, blue-green-red-alpha, no row padding; used as given.
    void LoadData32(const void* data, int32_t width, int32_t height);

    noxd::PixelImage image;
    noxd::ImageCorners corners;
    uint32_t key_color;
    uint8_t key_alpha;
    int32_t anchor;
};
