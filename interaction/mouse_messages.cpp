#include "mouse_messages.h"

#include <windowsx.h>

#include "button_hit_test.h"
#include "cgl_renderer.h"
#include "digital_zoom.h"
#include "editing_tools.h"
#include "rubber_band.h"

namespace noxd {

namespace {

// The message's pointer in client pixels; wheel messages carry screen coordinates.
POINT ClientPointOf(HWND window, UINT message, LPARAM lparam) {
    POINT p = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    if (message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL) ScreenToClient(window, &p);
    return p;
}

SIZE ClientSizeOf(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

// Calls the host's mouse callback before anything else handles the message,
// so a callback that switches a tool changes the handling of this message.
// Returns the normalized point, which the button hit-test needs in any case.
PointF ReportMouseMessage(CGLRenderer& renderer, HWND window, UINT message, WPARAM wparam,
                          LPARAM lparam) {
    const POINT p = ClientPointOf(window, message, lparam);
    const PointF normalized = NormalizedPointIn(renderer, p.x, p.y);
    const MouseCallback callback = renderer.interaction.mouse_callback;
    if (!callback) return normalized;
    PointF reported = normalized;
    if (renderer.interaction.privacy_edit_enabled) {
        const SIZE client = ClientSizeOf(window);
        reported = PermyriadClientPoint(p.x, p.y, client.cx, client.cy);
    }
    callback(&renderer, message, lparam, wparam, reported.x, reported.y);
    return normalized;
}

// The tools' press steps read the point as unsigned words, as a press lies
// inside the client area.
POINT PressPointOf(LPARAM lparam) {
    return {static_cast<LONG>(LOWORD(lparam)), static_cast<LONG>(HIWORD(lparam))};
}

POINT SignedPointOf(LPARAM lparam) { return {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}; }

// Tools, zoom and buttons for one left-button or move message; they take the
// renderer lock, which creation may still hold.
void HandleGesture(CGLRenderer& renderer, UINT message, LPARAM lparam, PointF normalized) {
    if (!renderer.input_live) return;
    switch (message) {
    case WM_MOUSEMOVE: {
        const POINT p = SignedPointOf(lparam);
        ToolsMove(renderer, p.x, p.y);
        break;
    }
    case WM_LBUTTONDOWN: {
        const POINT p = PressPointOf(lparam);
        ToolsPress(renderer, p.x, p.y);
        break;
    }
    case WM_LBUTTONUP: {
        const POINT p = SignedPointOf(lparam);
        ToolsRelease(renderer, p.x, p.y);
        break;
    }
    case WM_LBUTTONDBLCLK:
        if (!renderer.interaction.host_zoom_active) ZoomDoubleClick(renderer);
        break;
    default:
        return;
    }
    HitTestButtons(renderer, message, normalized);
}

bool IsGestureMessage(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
           message == WM_LBUTTONDBLCLK;
}

}  // namespace

void HandleMouseMessage(CGLRenderer& renderer, HWND window, UINT message, WPARAM wparam,
                        LPARAM lparam) {
    const PointF normalized = ReportMouseMessage(renderer, window, message, wparam, lparam);
    if (IsGestureMessage(message)) HandleGesture(renderer, message, lparam, normalized);
}

void ClipMouseToWindow(const CGLRenderer& renderer, BOOL on) {
    if (on) {
        // Taken once: later moves of the window do not move the clip.
        RECT frame = {};
        GetWindowRect(renderer.window, &frame);
        ClipCursor(&frame);
    } else {
        ClipCursor(nullptr);
    }
}

}  // namespace noxd
