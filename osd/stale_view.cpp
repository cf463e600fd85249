#include "stale_view.h"

#include <utility>

#include "osd_gl_state.h"
#include "osd_image.h"
#include "osd_list.h"
#include "osd_text.h"

namespace noxd {

namespace {

// Black at 60 %: the picture stays recognisable, the text stands out.
constexpr uint32_t kDimColour = 0x99000000;

// White on nothing, with a black outline that keeps it legible on any picture.
TextStyle StaleTextStyle() {
    return {32, L"Arial", FW_BOLD, 0xFFFFFFFF, 0x00000000, 0xFF000000, 2};
}

void DimViewport() {
    glDisable(GL_TEXTURE_2D);
    const OsdColour dim(kDimColour);
    glBegin(GL_QUADS);
    dim.Issue();
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}

// Corners that show the image pixel for pixel in the viewport's middle.
ImageCorners CentredCorners(const PixelImage& image, int32_t viewport_width,
                            int32_t viewport_height) {
    const float half_w = viewport_width > 0 ? 0.5f * image.width / viewport_width : 0.5f;
    const float half_h = viewport_height > 0 ? 0.5f * image.height / viewport_height : 0.5f;
    return {0.5f - half_w, 0.5f + half_h, 0.5f + half_w, 0.5f - half_h};
}

}  // namespace

HRESULT SetStaleView(OverlayRenderer& renderer, int timeout_ms, const wchar_t* text) {
    if (timeout_ms < 0) return E_INVALIDARG;
    PixelImage image;
    if (text && *text) {
        const HRESULT rasterised = RasterizeOsdText(text, StaleTextStyle(), image);
        if (rasterised != S_OK) return rasterised;
    }
    ScopedRendererLock hold(renderer.lock);
    std::swap(renderer.stale_text, image);
    renderer.stale_timeout_ms = static_cast<uint32_t>(timeout_ms);
    return S_OK;
}

void DrawStaleCover(OverlayRenderer& renderer) {
    SetOverlayBlending(!ConvertsOnCpu(renderer));
    DimViewport();
    const PixelImage& text = renderer.stale_text;
    if (text.empty()) return;
    // A pass of its own: the texture of a text the host has since replaced goes.
    OsdImageTextures& textures = renderer.osd.cover_textures();
    textures.BeginPass(renderer.gl_context.get());
    // Centred on the video area, whatever the picture's shape.
    const OverlaySpace video_area = {renderer.viewport_width, renderer.viewport_height, {}, {}};
    DrawOsdImageFrom(textures, renderer, text,
                     CentredCorners(text, renderer.viewport_width, renderer.viewport_height), 0, video_area);
}

}  // namespace noxd
