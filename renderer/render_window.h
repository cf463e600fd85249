// The render thread, the renderer's own window and the WGL binding.
#pragma once

#include <windows.h>

struct CGLRenderer;

namespace noxd {

// Render thread: sets the window up, signals ready_event, then pumps the
// messages of its own window until stop_event or WM_QUIT. Issues no GL call.
DWORD WINAPI RenderThreadMain(void* renderer);

// On the creating thread: pixel format, GL context made current, window shown.
// On failure nothing of it is left and an own window is gone.
bool SetUpGl(CGLRenderer& renderer);

// Puts the host's window procedure and user data back into its window.
void GiveBackHostWindow(CGLRenderer& renderer);

}  // namespace noxd
