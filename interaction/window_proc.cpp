#include "window_proc.h"

#include <windowsx.h>

#include "button_hit_test.h"
#include "digital_zoom.h"
#include "editing_tools.h"
#include "renderer/gl_renderer.h"
#include "renderer/viewport.h"
#include "rubber_band.h"
#include "window_calls.h"

namespace noxd {

namespace {

// A subclassed host window gets every message we do not swallow.
LRESULT DefaultProcessing(WNDPROC host_proc, HWND window, UINT message, WPARAM wparam,
                          LPARAM lparam) {
    if (host_proc) return CallWindowProcW(host_proc, window, message, wparam, lparam);
    return DefWindowProcW(window, message, wparam, lparam);
}

// A message no renderer holds: one that reached a host window as it was
// being given back goes to the host's procedure, now the window's again.
LRESULT ProcessWithoutRenderer(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    return DefaultProcessing(current == RendererWindowProc ? nullptr : current, window, message,
                             wparam, lparam);
}

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_MOUSEHWHEEL; }

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
    if (!renderer.interaction.input_live) return;
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

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) {
        // Only the renderer's own window is created with this procedure.
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        auto* renderer = static_cast<CGLRenderer*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(renderer));
        if (renderer) AttachWindow(window, *renderer);
        return DefWindowProcW(window, message, wparam, lparam);
    }
    // Held until this message is handled: release waits for it.
    const WindowCall call(window);
    CGLRenderer* renderer = call.renderer();
    if (!renderer) return ProcessWithoutRenderer(window, message, wparam, lparam);
    if (message == WM_SIZE) {
        // Minimised or shown-while-another-maximises sizes change nothing of ours.
        if (wparam != SIZE_RESTORED && wparam != SIZE_MAXIMIZED)
            return DefaultProcessing(call.host_proc(), window, message, wparam, lparam);
        RequestViewportUpdate(*renderer);
        return 0;
    }
    if (!IsMouseMessage(message))
        return DefaultProcessing(call.host_proc(), window, message, wparam, lparam);

    const PointF normalized = ReportMouseMessage(*renderer, window, message, wparam, lparam);
    if (IsGestureMessage(message)) HandleGesture(*renderer, message, lparam, normalized);
    return DefaultProcessing(call.host_proc(), window, message, wparam, lparam);
}

}  // namespace noxd
