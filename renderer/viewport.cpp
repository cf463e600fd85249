#include "viewport.h"

#include "renderer_core.h"

namespace noxd {

void ApplyViewport(RendererCore& renderer) {
    RECT client = {};
    GetClientRect(renderer.window, &client);
    const Viewport vp = ViewportFromVideoPos(renderer.video_left, renderer.video_bottom,
                                             renderer.video_right, renderer.video_top,
                                             client.right - client.left, client.bottom - client.top);
    glViewport(vp.x, vp.y, vp.width, vp.height);
    renderer.viewport_width = vp.width;
    renderer.viewport_height = vp.height;
}

void RequestViewportUpdate(RendererCore& renderer) {
    renderer.viewport_pending = true;
    ApplyViewport(renderer);
}

}  // namespace noxd
