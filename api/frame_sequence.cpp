#include "frame_sequence.h"

#include "editing_tools.h"
#include "frame_counts.h"
#include "gl_driver_gate.h"
#include "noxd.h"
#include "picture.h"
#include "shader_program.h"
#include "snapshot.h"
#include "stale_view.h"
#include "timing.h"
#include "viewport.h"

namespace noxd {

namespace {

// What host threads asked for since the last picture: the viewport after a
// resize, another colour space. Lock held.
void ApplyPendingRequests(CGLRenderer& renderer) {
    if (renderer.viewport_pending.exchange(false)) ApplyViewport(renderer);
    ApplyRequestedColorSpace(renderer);
}

// The view into the bound framebuffer from the bound textures: the part of
// the picture the tools and the zoom leave, the overlays over it, and the
// "no video" cover over both when `stale`. Lock held.
void DrawView(CGLRenderer& renderer, bool stale) {
    VideoQuad quad = UprightVideoQuad(renderer.format_class);
    RunInteractionFrameStep(renderer, quad);
    DrawVideoQuad(renderer, quad);
    if (renderer.osd.Objects().empty() && !stale) return;
    LeaveVideoProgram();
    renderer.osd.Draw({0, renderer.gl_viewport, renderer.gl_client_width, renderer.gl_client_height},
                      renderer.gl_context.get());
    if (stale) DrawStaleCover(renderer);
}

}  // namespace

HRESULT ShowFrame(CGLRenderer& renderer, const void* frame) {
    const uint64_t start_us = SteadyMicroseconds();
    PassFrameEntryPoint();
    {
        ScopedRendererLock hold(renderer.lock);
        ApplyPendingRequests(renderer);
        if (!HasProgram(renderer)) return E_FAIL;
        UploadFrame(renderer, frame);
        DrawView(renderer, false);
        PresentBuffers(renderer.device_context.get());
        PassSwapPoint();
    }
    CountFrame(renderer, start_us);
    return S_OK;
}

HRESULT RedrawView(CGLRenderer& renderer) {
    if (!HasShownAFrame(renderer)) return S_FALSE;
    const bool stale = PictureIsStale(renderer);
    ScopedRendererLock hold(renderer.lock);
    ApplyPendingRequests(renderer);
    if (!HasProgram(renderer)) return E_FAIL;
    BindFrameTextures(renderer);
    DrawView(renderer, stale);
    PresentBuffers(renderer.device_context.get());
    return S_OK;
}

HRESULT TakeSnapshot(CGLRenderer& renderer, int what, Picture& picture) {
    if (!HasShownAFrame(renderer)) return NOXD_E_NO_FRAME;
    const bool stale = PictureIsStale(renderer);
    ScopedRendererLock hold(renderer.lock);
    if (!HasProgram(renderer)) return E_FAIL;
    int32_t width = 0, height = 0;
    SnapshotSize(renderer, what, width, height);
    const OffscreenPicture target(renderer, width, height);
    if (!target.ready()) return E_FAIL;
    if (what == kSnapshotView) {
        ApplyPendingRequests(renderer);
        BindFrameTextures(renderer);
        DrawView(renderer, stale);
    } else {
        ApplyWholeViewport(renderer, width, height);
        BindFrameTextures(renderer);
        DrawVideoQuad(renderer, UprightVideoQuad(renderer.format_class));
    }
    picture = target.Read();
    return S_OK;
}

}  // namespace noxd
