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
    // Elsewhere the GL call changed nothing.
    if (GetCurrentThreadId() == renderer.gl_thread_id) {
        renderer.gl_viewport = vp;
        renderer.gl_client_width = client.right - client.left;
        renderer.gl_client_height = client.bottom - client.top;
    }
    renderer.viewport_width = vp.width;
    renderer.viewport_height = vp.height;
}

void ApplyWholeViewport(RendererCore& renderer, int32_t width, int32_t height) {
    glViewport(0, 0, width, height);
    renderer.gl_viewport = {0, 0, width, height};
    renderer.gl_client_width = width;
    renderer.gl_client_height = height;
}

void RequestViewportUpdate(RendererCore& renderer) {
    renderer.viewport_pending = true;
    ApplyViewport(renderer);
}

}  // namespace noxd
