#include "view_lifecycle.h"

#include <new>

#include "gl_driver_gate.h"
#include "renderer_lifecycle.h"
#include "window_calls.h"
#include "window_procedure.h"

namespace noxd {

CGLRenderer* CreateView(HWND window, const wchar_t* title, int window_width, int window_height,
                        int format, int frame_width, int frame_height, HRESULT& status) {
    auto* renderer = new (std::nothrow) CGLRenderer;
    if (!renderer) {
        status = E_UNEXPECTED;
        return nullptr;
    }
    status = CreateRenderer(*renderer, RendererWindowProc, window, title, window_width,
                            window_height, format, frame_width, frame_height);
    if (status == S_OK && ConvertsOnCpu(*renderer)) renderer->osd.KeepToGl11();
    if (status == S_OK) return renderer;
    ReleaseView(*renderer);
    return nullptr;
}

void ReleaseView(CGLRenderer& renderer) {
    const OtherContext other(renderer);
    StopRendererInput(renderer);
    {
        ScopedRendererLock hold(renderer.lock);
        {
            ScopedGlBinding unbinding;
            const bool own_current = MakeOwnContextCurrent(renderer);
            OverlayList& overlays = renderer.osd;
            if (!overlays.Objects().empty()) overlays.Clear();
            if (own_current) {
                overlays.DeleteGlObjects(renderer.gl_context.get());
                DeleteCoreGlObjects(renderer);
            }
            DeleteContext(renderer);
        }
        LetGoOfWindow(renderer);
    }
    other.Restore();
    DeleteWhenNoWindowCall(&renderer);
}

}  // namespace noxd
