#include "window_procedure.h"

#include "cgl_renderer.h"
#include "mouse_messages.h"
#include "timing.h"
#include "viewport.h"
#include "window_calls.h"
#include "window_messages.h"

namespace noxd {

namespace {

// The mouse handling: host callback, tools, zoom, buttons. Nothing it or
// the host's callbacks throw may leave a window procedure: such a message is
// dropped and said so on the debugger output.
void PassMouseMessage(CGLRenderer& renderer, HWND window, UINT message, WPARAM wparam,
                      LPARAM lparam) noexcept {
    try {
        HandleMouseMessage(renderer, window, message, wparam, lparam);
    } catch (...) {
        WriteDebugLine("window procedure: a mouse message failed with an exception");
    }
}

}  // namespace

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    // Only the renderer's own window is created with this procedure.
    if (message == WM_CREATE) return AttachCreatedWindow(window, wparam, lparam);
    // Held until this message is handled: release waits for it.
    const WindowCall call(window);
    // Every renderer is a CGLRenderer: the exports make no other.
    auto* renderer = static_cast<CGLRenderer*>(call.renderer());
    if (!renderer) return ProcessWithoutRenderer(RendererWindowProc, window, message, wparam, lparam);
    if (message == WM_SIZE && ResizesView(wparam)) {
        RequestViewportUpdate(*renderer);
        return 0;
    }
    if (IsMouseMessage(message)) PassMouseMessage(*renderer, window, message, wparam, lparam);
    return DefaultProcessing(call.host_proc(), window, message, wparam, lparam);
}

}  // namespace noxd
