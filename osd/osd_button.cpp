#include "osd_button.h"

#include "osd_image.h"
#include "renderer/gl_renderer.h"

COsdButton::COsdButton(CGLRenderer* owner, OsdButtonCallback callback_, HBITMAP normal,
                       HBITMAP pressed, HBITMAP hover, const noxd::ImageCorners& corners,
                       int32_t anchor_, uint32_t key_color_, uint8_t key_alpha_)
    : CBaseOsdObject(owner, kOsdButton), callback(callback_), x0(corners.x0), y0(corners.y0),
      x1(corners.x1), y1(corners.y1), key_color(key_color_), key_alpha(key_alpha_),
      anchor(anchor_) {
    if (status != S_OK) return;
    if (!normal) {
        status = E_INVALIDARG;
        return;
    }
    if (pressed && noxd::LoadOsdPixels(pressed, key_color, key_alpha, pressed_pixels) != S_OK)
        pressed_pixels.Release();
    if (hover && noxd::LoadOsdPixels(hover, key_color, key_alpha, hover_pixels) != S_OK)
        hover_pixels.Release();
    status = noxd::LoadOsdPixels(normal, key_color, key_alpha, normal_pixels);
    ++renderer->osd.button_count;
    counted_ = true;
}

const noxd::PixelImage& COsdButton::ImageFor(ButtonState s) const {
    if (s == kButtonPressed && !pressed_pixels.empty()) return pressed_pixels;
    if (s == kButtonHover && !hover_pixels.empty()) return hover_pixels;
    return normal_pixels;
}

HRESULT COsdButton::Draw() {
    if (normal_pixels.empty()) return E_INVALIDARG;
    return noxd::DrawOsdImage(*renderer, ImageFor(state), {x0, y0, x1, y1}, anchor);
}

void COsdButton::FreeResources() {
    if (counted_) --renderer->osd.button_count;
    counted_ = false;
    normal_pixels.Release();
    pressed_pixels.Release();
    hover_pixels.Release();
}
