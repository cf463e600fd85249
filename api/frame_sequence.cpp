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
// resize, another colour space; and the program for the frames shown. Lock held.
void ApplyPendingRequests(CGLRenderer& renderer) {
    if (renderer.viewport_pending.exchange(false)) ApplyViewport(renderer);
    ApplyProgramRequests(renderer, renderer.shown_geometry.cls);
}

// The view into the bound framebuffer: the picture from `frame` (or, with
// none, from the textures the last frame left), the part the tools and the
// zoom leave; the overlays over it, in the picture's own pass where the
// picture covers the client area; the "no video" cover over both when
// `stale`. Lock held.
void DrawView(CGLRenderer& renderer, const FramePlanes* frame, bool stale) {
    VideoQuad quad = UprightVideoQuad(renderer.shown_bottom_up);
    RunInteractionFrameStep(renderer, quad);
    const ShownShape shape = ShapePicture(renderer, quad);
    const HGLRC own = renderer.gl_context.get();
    const LayerKey key = {0, renderer.gl_viewport, renderer.gl_client_width, renderer.gl_client_height,
                          shape.rect, shape.orientation};
    const bool overlays = !renderer.osd.Objects().empty();
    const bool on_picture = overlays && PictureCoversClient(renderer);
    const OverlaysOnPicture layer = on_picture ? renderer.osd.PrepareLayer(key, own) : OverlaysOnPicture{};
    if (frame)
        UploadFrame(renderer, *frame);
    else
        BindFrameTextures(renderer);
    DrawVideoQuad(renderer, quad, layer);
    const bool overlays_left = overlays && !layer.texture;
    if (!overlays_left && !stale) return;
    LeaveVideoProgram(renderer);
    if (overlays_left) renderer.osd.Draw(key, own);
    if (stale) DrawStaleCover(renderer);
}

}  // namespace

HRESULT ShowFrame(CGLRenderer& renderer, const FramePlanes& frame) {
    const uint64_t start_us = SteadyMicroseconds();
    PassFrameEntryPoint();
    {
        ScopedRendererLock hold(renderer.lock);
        ShowFrameGeometry(renderer, frame);
        ApplyPendingRequests(renderer);
        if (!CanDrawPictures(renderer)) return E_FAIL;
        renderer.refusal_reported = false;
        DrawView(renderer, &frame, false);
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
    if (!CanDrawPictures(renderer)) return E_FAIL;
    DrawView(renderer, nullptr, stale);
    PresentBuffers(renderer.device_context.get());
    return S_OK;
}

HRESULT TakeSnapshot(CGLRenderer& renderer, int what, Picture& picture) {
    if (!HasShownAFrame(renderer)) return NOXD_E_NO_FRAME;
    const bool stale = PictureIsStale(renderer);
    ScopedRendererLock hold(renderer.lock);
    if (!CanDrawPictures(renderer)) return E_FAIL;
    if (what == kSnapshotFrame && ConvertsOnCpu(renderer)) {
        // The frame as converted is still at hand, at its own size.
        picture = ConvertedFramePicture(renderer);
        return S_OK;
    }
    int32_t width = 0, height = 0;
    SnapshotSize(renderer, what, width, height);
    const SnapshotTarget target(renderer, width, height);
    if (!target.ready()) return E_FAIL;
    if (what == kSnapshotView) {
        ApplyPendingRequests(renderer);
        DrawView(renderer, nullptr, stale);
    } else {
        ApplyWholeViewport(renderer, width, height);
        BindFrameTextures(renderer);
        DrawVideoQuad(renderer, UprightVideoQuad(renderer.shown_bottom_up));
    }
    picture = target.Read();
    return S_OK;
}

}  // namespace noxd
