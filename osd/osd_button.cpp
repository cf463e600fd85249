#include "osd_button.h"

#include "osd_image.h"
#include "timing.h"
#include "osd_list.h"

COsdButton::COsdButton(noxd::OverlayRenderer* owner, OsdButtonCallback callback_, HBITMAP normal,
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
    renderer->osd.CountButton();
    counted_ = true;
}

const noxd::PixelImage& COsdButton::ImageFor(ButtonState s) const {
    if (s == kButtonPressed && !pressed_pixels.empty()) return pressed_pixels;
    if (s == kButtonHover && !hover_pixels.empty()) return hover_pixels;
    return normal_pixels;
}

HRESULT COsdButton::Draw() {
    if (normal_pixels.empty()) return E_INVALIDARG;
    drawn_state = state;
    return noxd::DrawOsdImage(*renderer, ImageFor(drawn_state), {x0, y0, x1, y1}, anchor);
}

void COsdButton::FreeResources() {
    if (counted_) renderer->osd.UncountButton();
    counted_ = false;
    normal_pixels.Release();
    pressed_pixels.Release();
    hover_pixels.Release();
}

namespace noxd {

namespace {

bool Contains(const COsdButton& b, PointF p) {
    return b.x0 <= p.x && p.x <= b.x1 && b.y1 <= p.y && p.y <= b.y0;
}

// A pressed button stays pressed while the pointer moves over it.
void SetStateFor(COsdButton& b, UINT message) {
    switch (message) {
    case WM_LBUTTONUP: b.state = kButtonNormal; break;
    case WM_LBUTTONDOWN: b.state = kButtonPressed; break;
    case WM_MOUSEMOVE:
        if (b.state != kButtonPressed) b.state = kButtonHover;
        break;
    default: break;
    }
}

// Runs on the window procedure's thread, where nothing may throw.
void RecordHit(std::vector<ButtonHit>& due, ButtonHit hit) {
    try {
        due.push_back(hit);
    } catch (const std::bad_alloc&) {
        WriteDebugLine("overlay button: no memory to record a callback; it is left out");
    }
}

}  // namespace

bool ButtonsChangedSinceDrawn(const std::vector<CBaseOsdObject*>& overlays) {
    for (const CBaseOsdObject* object : overlays) {
        if (!object || object->kind != kOsdButton) continue;
        const auto& button = static_cast<const COsdButton&>(*object);
        if (button.state != button.drawn_state) return true;
    }
    return false;
}

void FollowPointerOverButtons(OverlayRenderer& renderer, UINT message, PointF p,
                              std::vector<ButtonHit>& due) {
    ScopedRendererLock hold(renderer.lock);
    if (renderer.osd.ButtonCount() <= 0) return;
    for (CBaseOsdObject* object : renderer.osd.Objects()) {
        if (!object || object->kind != kOsdButton) continue;
        auto& button = static_cast<COsdButton&>(*object);
        if (!Contains(button, p)) {
            button.state = kButtonNormal;
            continue;
        }
        SetStateFor(button, message);
        if (button.callback) RecordHit(due, {button.callback, button.handle});
    }
}

}  // namespace noxd
