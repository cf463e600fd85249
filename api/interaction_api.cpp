// The interaction's exports: the host's mouse callback, cursor clipping and
// the stored stop value; the digital zoom; the editing tools.
#include "digital_zoom.h"
#include "editing_tools.h"
#include "export_guard.h"
#include "mouse_messages.h"

using namespace noxd;

extern "C" HRESULT noxd_set_mouse_callback(NOXD_RENDERER renderer,
                                           MouseCallback callback) noexcept {
    return GuardedExport(__func__, renderer, kStatusResults, [&](CGLRenderer& r) {
        r.interaction.mouse_callback = callback;
        return S_OK;
    });
}

extern "C" int noxd_clip_mouse(NOXD_RENDERER renderer, BOOL on) noexcept {
    return GuardedExport(__func__, renderer, kIntResults, [&](CGLRenderer& r) {
        ClipMouseToWindow(r, on);
        return 1;
    });
}

// Kept for hosts that call it; nothing ever depended on the value.
extern "C" int noxd_stop_win_callback(NOXD_RENDERER renderer, int) noexcept {
    return GuardedExport(__func__, renderer, kIntResults, [](CGLRenderer&) { return 1; });
}

extern "C" int noxd_enable_digital_zoom(NOXD_RENDERER renderer, BOOL on) noexcept {
    return GuardedExport(__func__, renderer, kIntResults, [&](CGLRenderer& r) {
        SwitchDigitalZoom(r, on);
        return 0;
    });
}

extern "C" int noxd_set_zoom_rect(NOXD_RENDERER renderer, float x0, float y0, float x1,
                                  float y1) noexcept {
    return GuardedExport(__func__, renderer, kIntResults, [&](CGLRenderer& r) {
        SetHostZoomRect(r, x0, y0, x1, y1);
        return 0;
    });
}

extern "C" int noxd_enable_digital_zoom_static(NOXD_RENDERER renderer, int value) noexcept {
    return GuardedExport(__func__, renderer, kIntResults, [&](CGLRenderer& r) {
        SwitchStaticZoom(r, value);
        return 1;
    });
}

extern "C" int noxd_digital_zoom_static(NOXD_RENDERER renderer, float left, float right, float top,
                                        float bottom) noexcept {
    return GuardedExport(__func__, renderer, kIntResults, [&](CGLRenderer& r) {
        SetStaticZoomWindow(r, left, right, top, bottom);
        return 1;
    });
}

extern "C" HRESULT noxd_show_drag_rect(NOXD_RENDERER renderer, BOOL on) noexcept {
    return GuardedExport(__func__, renderer, kStatusResults, [&](CGLRenderer& r) {
        SwitchDragRect(r, on);
        return S_OK;
    });
}

extern "C" HRESULT noxd_set_privacy_mask_flag(NOXD_RENDERER renderer, BOOL on) noexcept {
    return GuardedExport(__func__, renderer, kStatusResults, [&](CGLRenderer& r) {
        SwitchPrivacyMask(r, on);
        return S_OK;
    });
}

extern "C" HRESULT noxd_start_motion_edit(NOXD_RENDERER renderer, BOOL on) noexcept {
    return GuardedExport(__func__, renderer, kStatusResults, [&](CGLRenderer& r) {
        SwitchMotionEdit(r, on);
        return S_OK;
    });
}

// Any thread; the rectangle comes from under the lock.
extern "C" HRESULT noxd_get_tool_rect(NOXD_RENDERER renderer, int tool, float rect[4]) noexcept {
    return GuardedExport(__func__, renderer, kCheckedResults, [&](CGLRenderer& r) {
        if (!rect) return E_INVALIDARG;
        RectF found = {};
        switch (ToolRectInFrame(r, tool, found)) {
        case ToolRectState::NoSuchTool: return E_INVALIDARG;
        case ToolRectState::NotYet:
            rect[0] = rect[1] = rect[2] = rect[3] = 0.0f;
            return S_FALSE;
        case ToolRectState::Known: break;
        }
        rect[0] = found.left;
        rect[1] = found.top;
        rect[2] = found.right;
        rect[3] = found.bottom;
        return S_OK;
    });
}
