// Creation and release of a renderer: the core's sequences, which reach the
// layers above only through the hooks they are given.
#pragma once

#include <windows.h>

#include "renderer_core.h"

namespace noxd {

// Creation on the calling thread, which becomes the GL thread, into the core
// of an object the caller allocated. On failure the renderer is released
// (ReleaseRenderer), the object included, and the status returned. Takes
// and gives back the lock.
HRESULT CreateRenderer(RendererCore& renderer, const RendererHooks& hooks, HWND window,
                       const wchar_t* title, int window_width, int window_height, int format,
                       int frame_width, int frame_height);

// Release on the GL thread: window calls, render thread, GL objects, the
// layers above (hook release), context, window and lock; then the object
// itself (hook destroy), at once or as the last window message lets go.
void ReleaseRenderer(RendererCore& renderer);

}  // namespace noxd
