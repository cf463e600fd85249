#include "digital_zoom.h"

#include "cgl_renderer.h"
#include "rubber_band.h"

namespace noxd {

bool ZoomArmed(const CGLRenderer& renderer) {
    return renderer.interaction.digital_zoom_enabled && !renderer.interaction.host_zoom_active;
}

bool ZoomBandShown(const CGLRenderer& renderer) {
    return renderer.interaction.show_drag_rect == 1 || ZoomArmed(renderer);
}

// A press always starts from the whole picture, so the user drags on it.
void ZoomPress(CGLRenderer& renderer, int x, int y) {
    InteractionState& s = renderer.interaction;
    s.zoom_applied = 0;
    BeginBandDrag(renderer, &s.zoom_band_slot, s.zoom_drag, x, y);
}

void ZoomMove(CGLRenderer& renderer, int x, int y) {
    InteractionState& s = renderer.interaction;
    FollowBandDrag(renderer, &s.zoom_band_slot, &s.zoom_window, ZoomBandShown(renderer), s.zoom_drag,
                   x, y);
}

// The last move already stored the dragged rectangle; a release after
// movement along both axes applies it from the next frame on.
void ZoomRelease(CGLRenderer& renderer, int x, int y) {
    InteractionState& s = renderer.interaction;
    if (EndBandDrag(s.zoom_drag, x, y) && x != s.zoom_drag.start_x && y != s.zoom_drag.start_y)
        s.zoom_applied = 1;
    s.zoom_band_expired = 1;
}

void ZoomDoubleClick(CGLRenderer& renderer) {
    InteractionState& s = renderer.interaction;
    ReleaseCapture();
    s.zoom_applied = 0;
    s.zoom_band_expired = 1;
}

// Clamps the stored window into the picture and shows it.
static void ShowZoomWindow(CGLRenderer& renderer, VideoQuad& quad) {
    InteractionState& s = renderer.interaction;
    s.zoom_window = ClampedToUnit(s.zoom_window);
    s.shown_zoom_window = s.zoom_window;
    ZoomTexCoords(renderer.shown_bottom_up, s.zoom_window, quad.tex);
}

void ApplyZoomStep(CGLRenderer& renderer, VideoQuad& quad) {
    InteractionState& s = renderer.interaction;
    s.shown_zoom_window = kWholePicture;
    if (s.zoom_applied && (s.digital_zoom_enabled || s.host_zoom_active)) {
        if (s.zoom_band_expired.exchange(0)) RemoveRubberBand(renderer, &s.zoom_band_slot);
        ShowZoomWindow(renderer, quad);
    }
    if (s.static_zoom_enabled) ShowZoomWindow(renderer, quad);
}

void SwitchDigitalZoom(CGLRenderer& renderer, BOOL on) {
    const uint8_t value = static_cast<uint8_t>(on);
    ScopedRendererLock hold(renderer.lock);
    renderer.interaction.digital_zoom_enabled = value;
    if (!value) renderer.interaction.zoom_window = kWholePicture;
}

void SetHostZoomRect(CGLRenderer& renderer, float x0, float y0, float x1, float y1) {
    InteractionState& s = renderer.interaction;
    ScopedRendererLock hold(renderer.lock);
    s.host_zoom_active = IsWholePicture(x0, y0, x1, y1) ? 0 : 1;
    if (s.host_zoom_active) s.zoom_applied = 1;
    s.zoom_window = SortedRect({x0, y0}, {x1, y1});
}

void SwitchStaticZoom(CGLRenderer& renderer, int value) {
    renderer.interaction.static_zoom_enabled = value;
}

void SetStaticZoomWindow(CGLRenderer& renderer, float left, float right, float top, float bottom) {
    ScopedRendererLock hold(renderer.lock);
    renderer.interaction.zoom_window = {left, top, right, bottom};
}

}  // namespace noxd
