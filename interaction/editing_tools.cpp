#include "editing_tools.h"

#include "digital_zoom.h"
#include "cgl_renderer.h"
#include "rubber_band.h"

namespace noxd {

namespace {

// One privacy or motion tool: the same steps over its own fields.
struct AreaTool {
    DragRecord& drag;
    std::atomic<int32_t>& enabled;
    std::atomic<int32_t>& released;
    UINT_PTR& band_slot;
    RectF& rect;
};

AreaTool PrivacyTool(InteractionState& s) {
    return {s.privacy_drag, s.privacy_edit_enabled, s.privacy_released, s.privacy_band_slot,
            s.privacy_rect};
}

AreaTool MotionTool(InteractionState& s) {
    return {s.motion_drag, s.motion_edit_enabled, s.motion_released, s.motion_band_slot, s.motion_rect};
}

void AreaPress(CGLRenderer& renderer, AreaTool tool, int x, int y) {
    BeginBandDrag(renderer, &tool.band_slot, tool.drag, x, y);
    tool.released = 0;
}

void AreaMove(CGLRenderer& renderer, AreaTool tool, int x, int y) {
    FollowBandDrag(renderer, &tool.band_slot, &tool.rect, tool.drag.active, tool.drag, x, y);
}

// Switching a tool off ends its drag but leaves band, capture and released flag.
void SwitchAreaTool(AreaTool tool, BOOL on) {
    const uint8_t value = static_cast<uint8_t>(on);
    tool.enabled = value;
    if (!value) tool.drag.active = false;
}

void AreaRelease(AreaTool tool, int x, int y) {
    EndBandDrag(tool.drag, x, y);
    tool.released = 1;
}

void AreaFrameStep(CGLRenderer& renderer, AreaTool tool) {
    if (!tool.enabled) return;
    if (tool.released.exchange(0)) RemoveRubberBand(renderer, &tool.band_slot);
    tool.rect = ClampedToUnit(tool.rect);
}

void DragRectPress(CGLRenderer& renderer, int x, int y) {
    InteractionState& s = renderer.interaction;
    s.zoom_applied = 0;
    BeginBandDrag(renderer, &s.zoom_band_slot, s.rect_drag, x, y);
    s.rect_released = 0;
}

void DragRectMove(CGLRenderer& renderer, int x, int y) {
    InteractionState& s = renderer.interaction;
    FollowBandDrag(renderer, &s.zoom_band_slot, &s.zoom_window, ZoomBandShown(renderer), s.rect_drag,
                   x, y);
}

void DragRectRelease(CGLRenderer& renderer, int x, int y) {
    InteractionState& s = renderer.interaction;
    EndBandDrag(s.rect_drag, x, y);
    s.rect_released = 1;
}

}  // namespace

void ToolsPress(CGLRenderer& renderer, int x, int y) {
    InteractionState& s = renderer.interaction;
    if (s.show_drag_rect == 1) DragRectPress(renderer, x, y);
    if (ZoomArmed(renderer)) ZoomPress(renderer, x, y);
    if (s.privacy_edit_enabled) AreaPress(renderer, PrivacyTool(s), x, y);
    if (s.motion_edit_enabled) AreaPress(renderer, MotionTool(s), x, y);
}

void ToolsMove(CGLRenderer& renderer, int x, int y) {
    InteractionState& s = renderer.interaction;
    if (s.rect_drag.active) DragRectMove(renderer, x, y);
    if (s.zoom_drag.active && !s.host_zoom_active) ZoomMove(renderer, x, y);
    if (s.privacy_drag.active) AreaMove(renderer, PrivacyTool(s), x, y);
    if (s.motion_drag.active) AreaMove(renderer, MotionTool(s), x, y);
}

void ToolsRelease(CGLRenderer& renderer, int x, int y) {
    InteractionState& s = renderer.interaction;
    if (s.show_drag_rect == 1) DragRectRelease(renderer, x, y);
    if (ZoomArmed(renderer)) ZoomRelease(renderer, x, y);
    if (s.privacy_edit_enabled) AreaRelease(PrivacyTool(s), x, y);
    if (s.motion_edit_enabled) AreaRelease(MotionTool(s), x, y);
}

void RunEditingToolsFrameStep(CGLRenderer& renderer) {
    InteractionState& s = renderer.interaction;
    AreaFrameStep(renderer, MotionTool(s));
    AreaFrameStep(renderer, PrivacyTool(s));
    if (s.show_drag_rect == 1 && s.rect_released.exchange(0))
        RemoveRubberBand(renderer, &s.zoom_band_slot);
}

void RunInteractionFrameStep(CGLRenderer& renderer, VideoQuad& quad) {
    RunEditingToolsFrameStep(renderer);
    ApplyZoomStep(renderer, quad);
}

ToolRectState ToolRectInFrame(CGLRenderer& renderer, int tool, RectF& rect) {
    InteractionState& s = renderer.interaction;
    ScopedRendererLock hold(renderer.lock);
    const RectF* stored = tool == kToolZoom      ? &s.zoom_window
                          : tool == kToolPrivacy ? &s.privacy_rect
                          : tool == kToolMotion  ? &s.motion_rect
                                                 : nullptr;
    if (!stored) return ToolRectState::NoSuchTool;
    const RectF r = *stored;
    if (r.left == kUnsetRect.left && r.top == kUnsetRect.top && r.right == kUnsetRect.right &&
        r.bottom == kUnsetRect.bottom)
        return ToolRectState::NotYet;
    rect = tool == kToolZoom ? r : FrameRectOf(r, s.shown_zoom_window);
    return ToolRectState::Known;
}

void SwitchDragRect(CGLRenderer& renderer, BOOL on) {
    renderer.interaction.show_drag_rect = static_cast<uint8_t>(on) == 1 ? 1 : 0;
}

void SwitchPrivacyMask(CGLRenderer& renderer, BOOL on) {
    SwitchAreaTool(PrivacyTool(renderer.interaction), on);
}

void SwitchMotionEdit(CGLRenderer& renderer, BOOL on) {
    SwitchAreaTool(MotionTool(renderer.interaction), on);
}

}  // namespace noxd
