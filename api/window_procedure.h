// The window procedure of every renderer window: the renderer's own window
// (class "CGLRenderer") and a host window it has subclassed. It runs on the
// thread that owns the window.
#pragma once

#include <windows.h>

namespace noxd {

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace noxd
