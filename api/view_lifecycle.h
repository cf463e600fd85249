// A view's creation and release, composed from every layer.
#pragma once

#include <windows.h>

#include "cgl_renderer.h"

namespace noxd {

// noxd_create_renderer into a new object: the renderer, or null with the
// status of the failed creation (the object then released and freed).
CGLRenderer* CreateView(HWND window, const wchar_t* title, int window_width, int window_height,
                        int format, int frame_width, int frame_height, HRESULT& status);

// noxd_release_renderer, and a failed creation's end: input stopped, the
// overlays freed, every GL object and the context deleted, the window given
// back; the object is freed at once or as the last window message that
// still holds it lets go. GL thread.
void ReleaseView(CGLRenderer& renderer);

}  // namespace noxd
