// The renderer core's exports: creation, release, the window handle, frame
// drawing and the video position.
#include <cstdio>

#include "export_guard.h"
#include "frame_sequence.h"
#include "renderer_lifecycle.h"
#include "view_lifecycle.h"
#include "viewport.h"

// The descriptor holds pointers: its size differs between 32- and 64-bit
// callers, and docs/api.md names both.
static_assert(sizeof(NOXD_PLANES) == (sizeof(void*) == 4 ? 40 : 56), "NOXD_PLANES changed its layout");

namespace noxd {

namespace {

// The host's descriptor as the renderer reads it, or why it cannot be drawn.
const char* ReadPlanes(const NOXD_PLANES& in, int32_t max_texture_size, FramePlanes& out) {
    if (in.size < sizeof(NOXD_PLANES)) return "size is below sizeof(NOXD_PLANES)";
    const std::optional<FormatClass> cls = FormatClassOf(in.format);
    if (!cls) return "format is not a format code";
    out.geometry = {*cls, in.width, in.height, ChromaSize::RoundedUp};
    for (int p = 0; p < 3; ++p) out.planes[p] = {static_cast<const uint8_t*>(in.data[p]), in.pitch[p]};
    return PlanesFault(out, max_texture_size);
}

// One debugger line for the first frame refused after one was drawn, so a
// host sending bad frames at 25 fps is told once, not 25 times a second.
void ReportRefusal(CGLRenderer& renderer, const char* fault) {
    if (renderer.refusal_reported) return;
    renderer.refusal_reported = true;
    char message[160];
    std::snprintf(message, sizeof message, "noxd_draw_planes: frame refused: %s", fault);
    WriteDebugLine(message);
}

}  // namespace

}  // namespace noxd

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

// The one export without a renderer: it sets what later creations do.
extern "C" HRESULT noxd_set_fallback(int mode) noexcept {
    return RunGuarded(__func__, E_FAIL, [&] { return SetFallbackMode(mode) ? S_OK : E_INVALIDARG; });
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
        const FrameGeometry& g = r.packed_geometry;
        return ShowFrame(r, PackedFramePlanes(g.cls, g.width, g.height, frame));
    });
}

// GL thread only, like noxd_draw_frame; a refused frame changes nothing.
extern "C" HRESULT noxd_draw_planes(NOXD_RENDERER renderer, const NOXD_PLANES* frame) noexcept {
    return GuardedExport(__func__, renderer, kGlThreadResults, [&](CGLRenderer& r) {
        FramePlanes planes;
        const char* fault = frame ? ReadPlanes(*frame, LargestFrameSide(r), planes) : "the descriptor is null";
        if (fault) {
            ReportRefusal(r, fault);
            return E_INVALIDARG;
        }
        return ShowFrame(r, planes);
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
