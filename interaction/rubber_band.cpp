#include "rubber_band.h"

#include "cgl_renderer.h"
#include "osd_geometry.h"

namespace noxd {

namespace {

constexpr uint32_t kBandColor = 0xFF00FFFF;  // opaque yellow
constexpr uint16_t kBandDashMask = 0xAAAA;

}  // namespace

PointF NormalizedPointIn(const CGLRenderer& renderer, int px, int py) {
    RECT client = {};
    GetClientRect(renderer.window, &client);
    const VideoPos pos = {renderer.video_left, renderer.video_bottom, renderer.video_right,
                          renderer.video_top};
    const PointF video =
        NormalizedVideoPoint(px, py, client.right - client.left, client.bottom - client.top, pos);
    // Through the picture as it is on screen now, also on a paused picture.
    const ShownShape shown = ShownShapeOf(renderer);
    return PicturePointOf(video, shown.rect, shown.orientation);
}

void RemoveRubberBand(CGLRenderer& renderer, UINT_PTR* slot) {
    ScopedRendererLock hold(renderer.lock);
    if (*slot) renderer.osd.Delete(slot);
}

void BeginBandDrag(CGLRenderer& renderer, UINT_PTR* slot, DragRecord& drag, int x, int y) {
    RemoveRubberBand(renderer, slot);
    SetCapture(renderer.window);
    drag.start_x = drag.current_x = x;
    drag.start_y = drag.current_y = y;
    drag.active = true;
}

void FollowBandDrag(CGLRenderer& renderer, UINT_PTR* slot, RectF* result, bool show,
                    DragRecord& drag, int x, int y) {
    drag.current_x = x;
    drag.current_y = y;
    UpdateRubberBand(renderer, slot, result, show, drag.start_x, drag.start_y, x, y);
}

bool EndBandDrag(DragRecord& drag, int x, int y) {
    drag.current_x = x;
    drag.current_y = y;
    ReleaseCapture();
    return drag.active.exchange(false);
}

void UpdateRubberBand(CGLRenderer& renderer, UINT_PTR* slot, RectF* result, bool show, int x0,
                      int y0, int x1, int y1) {
    ScopedRendererLock hold(renderer.lock);
    if (x0 == x1 && y0 == y1) {
        if (*slot) renderer.osd.Delete(slot);
        return;
    }
    const PointF a = NormalizedPointIn(renderer, x0, y0);
    const PointF b = NormalizedPointIn(renderer, x1, y1);
    if (!show) return;
    // The band is built with its own dash pattern; later host overlays keep theirs.
    CBaseOsdObject* band = NewOsdRectangleWithPattern(renderer, kBandDashMask, a.x, a.y, b.x, b.y,
                                                      false, kBandColor, 1u, true);
    renderer.osd.Add(slot, band);
    *result = SortedRect(a, b);
}

}  // namespace noxd
