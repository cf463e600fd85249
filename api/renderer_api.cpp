// The renderer core's exports: creation, release, the window handle, frame
// drawing and the video position.
#include "export_guard.h"
#include "frame_sequence.h"
#include "view_lifecycle.h"
#include "viewport.h"

using namespace noxd;

extern "C" HRESULT noxd_create_renderer(HWND window, const wchar_t* title, int window_width,
                                        int window_height, int format, int frame_width,
                                        int frame_height, NOXD_RENDERER* out) noexcept {
    // Nowhere to hand the renderer to: make none.
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    return RunGuarded(__func__, E_FAIL, [&] {
        HRESULT status = E_FAIL;
        *out = CreateView(window, title, window_width, window_height, format, frame_width,
                          frame_height, status);
        return status;
    });
}

extern "C" HRESULT noxd_release_renderer(NOXD_RENDERER renderer) noexcept {
    return GuardedExport(__func__, renderer, kGlThreadResults, [](CGLRenderer& r) {
        ReleaseView(r);
        return S_OK;
    });
}

extern "C" HWND noxd_get_hwnd(NOXD_RENDERER renderer) noexcept {
    return GuardedExport(__func__, renderer, kWindowResults,
                         [](CGLRenderer& r) { return r.window; });
}

extern "C" HRESULT noxd_draw_frame(NOXD_RENDERER renderer, const void* frame) noexcept {
    return GuardedExport(__func__, renderer, kGlThreadResults, [&](CGLRenderer& r) {
        // A null frame would have GL read from address 0.
        if (!frame) return E_INVALIDARG;
        return ShowFrame(r, frame);
    });
}

extern "C" HRESULT noxd_set_video_pos(NOXD_RENDERER renderer, float left, float bottom,
                                      float right, float top) noexcept {
    return GuardedExport(__func__, renderer, kStatusResults, [&](CGLRenderer& r) {
        r.video_left = left;
        r.video_bottom = bottom;
        r.video_right = right;
        r.video_top = top;
        ApplyViewport(r);
        return S_OK;
    });
}
