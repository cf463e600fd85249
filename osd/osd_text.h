// Text overlays: a string rasterised once through GDI, with an outline, into
// a pixel image whose alpha comes from the colours; drawn like a bitmap.
#pragma once

#include <windows.h>

#include <cstdint>

#include "osd_object.h"
#include "osd_pixels.h"

namespace noxd {

// What a text overlay draws and in which colours (0xAABBGGRR; the alpha byte
// of each colour is the alpha its pixels get, 0 meaning transparent).
struct TextStyle {
    int32_t font_height;       // as GDI takes it
    const wchar_t* face_name;  // null for the default face
    int32_t weight;            // 400 normal, 700 bold
    uint32_t text_color;
    uint32_t background_color;
    uint32_t outline_color;
    uint8_t outline_width;     // pixels around each glyph
};

// Draws `text` with a non-antialiased font on a canvas of TextCanvasSize of
// its extent, at (20, 2), over the background and an outline of the given
// width, and reads the canvas into `image` with ApplyTextAlpha. E_INVALIDARG
// for null text or a canvas GDI cannot make, E_FAIL when the font cannot be
// made or the canvas cannot be read. Any thread; all GDI objects are gone
// when it returns.
HRESULT RasterizeOsdText(const wchar_t* text, const TextStyle& style, PixelImage& image);

}  // namespace noxd

class COsdText : public CBaseOsdObject {
public:
    COsdText(noxd::OverlayRenderer* owner, const wchar_t* text, const noxd::TextStyle& style,
             const noxd::ImageCorners& corners, int32_t anchor);
    HRESULT Draw() override;
    void FreeResources() override { image.Release(); }

    noxd::ImageCorners corners;
    noxd::PixelImage image;
    int32_t anchor;
};
