// The host's mouse calls: the callback, cursor clipping and the stored
// stop value.
#include "renderer/gl_renderer.h"

using namespace noxd;

extern "C" HRESULT noxd_set_mouse_callback(NOXD_RENDERER renderer, MouseCallback callback) {
    if (renderer) renderer->interaction.mouse_callback = callback;
    return S_OK;
}

extern "C" int noxd_clip_mouse(NOXD_RENDERER renderer, BOOL on) {
    if (!renderer) return 0;
    if (on) {
        // Taken once: later moves of the window do not move the clip.
        RECT frame = {};
        GetWindowRect(renderer->window, &frame);
        ClipCursor(&frame);
    } else {
        ClipCursor(nullptr);
    }
    return 1;
}

extern "C" int noxd_stop_win_callback(NOXD_RENDERER renderer, int value) {
    if (!renderer) return 0;
    renderer->interaction.stop_win_callback_value = value;
    return 1;
}
