#include "window_messages.h"

#include "renderer_core.h"
#include "window_calls.h"

namespace noxd {

LRESULT AttachCreatedWindow(HWND window, WPARAM wparam, LPARAM lparam) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* renderer = static_cast<RendererCore*>(create->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(renderer));
    if (renderer) AttachWindow(window, *renderer);
    return DefWindowProcW(window, WM_CREATE, wparam, lparam);
}

LRESULT DefaultProcessing(WNDPROC host_proc, HWND window, UINT message, WPARAM wparam,
                          LPARAM lparam) {
    if (host_proc) return CallWindowProcW(host_proc, window, message, wparam, lparam);
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT ProcessWithoutRenderer(WNDPROC ours, HWND window, UINT message, WPARAM wparam,
                               LPARAM lparam) {
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    return DefaultProcessing(current == ours ? nullptr : current, window, message, wparam, lparam);
}

bool ResizesView(WPARAM size_kind) { return size_kind == SIZE_RESTORED || size_kind == SIZE_MAXIMIZED; }

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_MOUSEHWHEEL; }

}  // namespace noxd
