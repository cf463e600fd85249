#include "window_proc.h"

#include "renderer_core.h"
#include "timing.h"
#include "viewport.h"
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

// Hands a mouse message to the layers above. Nothing they or the host's
// callbacks throw may leave a window procedure: such a message is dropped
// and said so on the debugger output.
void PassMouseMessage(RendererCore& renderer, HWND window, UINT message, WPARAM wparam,
                      LPARAM lparam) noexcept {
    try {
        renderer.hooks.mouse_message(renderer, window, message, wparam, lparam);
    } catch (...) {
        WriteDebugLine("window procedure: a mouse message failed with an exception");
    }
}

}  // namespace

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) {
        // Only the renderer's own window is created with this procedure.
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        auto* renderer = static_cast<RendererCore*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(renderer));
        if (renderer) AttachWindow(window, *renderer);
        return DefWindowProcW(window, message, wparam, lparam);
    }
    // Held until this message is handled: release waits for it.
    const WindowCall call(window);
    RendererCore* renderer = call.renderer();
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

    PassMouseMessage(*renderer, window, message, wparam, lparam);
    return DefaultProcessing(call.host_proc(), window, message, wparam, lparam);
}

}  // namespace noxd
