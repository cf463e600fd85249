#include "window_proc.h"

#include "renderer/gl_renderer.h"
#include "renderer/viewport.h"

namespace noxd {

namespace {

CGLRenderer* RendererOf(HWND window) {
    return reinterpret_cast<CGLRenderer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// A subclassed host window gets every message we do not swallow.
LRESULT DefaultProcessing(CGLRenderer* renderer, HWND window, UINT message, WPARAM wparam,
                          LPARAM lparam) {
    if (renderer && renderer->host_window_proc)
        return CallWindowProcW(renderer->host_window_proc, window, message, wparam, lparam);
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    CGLRenderer* renderer = RendererOf(window);
    switch (message) {
    case WM_CREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        renderer = static_cast<CGLRenderer*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(renderer));
        return DefaultProcessing(renderer, window, message, wparam, lparam);
    }
    case WM_SIZE:
        if (wparam == SIZE_RESTORED || wparam == SIZE_MAXIMIZED) {
            if (renderer) RequestViewportUpdate(*renderer);
            return 0;
        }
        return DefaultProcessing(renderer, window, message, wparam, lparam);
    default:
        return DefaultProcessing(renderer, window, message, wparam, lparam);
    }
}

}  // namespace noxd
