// What the renderer core calls in the layers above it (overlays,
// interaction) without knowing them: hooks given at creation.
#pragma once

#include <windows.h>


namespace noxd {

struct RendererCore;

// Each hook gets the core of the renderer object it was given for; all are set.
struct RendererHooks {
    // A mouse message of the renderer's window, before default processing.
    // Window's thread, no lock held; it may take the lock once input_live.
    void (*mouse_message)(RendererCore& renderer, HWND window, UINT message, WPARAM wparam,
                          LPARAM lparam);
    // Release, lock held, GL context still current: the layers above free
    // what they hold in GL and in the overlay list.
    void (*release)(RendererCore& renderer);
    // Frees the whole object; once, as release's last step or by the last
    // window message that still held the renderer.
    void (*destroy)(RendererCore& renderer);
};

}  // namespace noxd
