// The render thread, the renderer's own window and the WGL binding.
#pragma once

#include <windows.h>

namespace noxd {

struct RendererCore;

// Render thread: sets the window up, signals ready_event, then pumps the
// messages of its own window until stop_event or WM_QUIT. Issues no GL call.
DWORD WINAPI RenderThreadMain(void* renderer);

// The module the renderer's code lives in (noxd.dll), whose instance owns the
// "CGLRenderer" class: each build of the DLL loaded into a process then has
// a class of its own, whose procedure is its own.
HINSTANCE RendererModule();

// What GL setup did: the pixel format chosen (0 before one was) and, on
// failure, the Win32 call that failed and the error it left, so a host
// developer can tell a missing driver from a bad window.
struct GlSetupResult {
    const char* failed_step = nullptr;
    DWORD error = 0;
    int pixel_format = 0;
};

// On the creating thread: pixel format, GL context made current, window shown.
// On failure nothing of it is left and an own window is gone.
GlSetupResult SetUpGl(RendererCore& renderer);

// Puts the host's window procedure and user data back into its window.
void GiveBackHostWindow(RendererCore& renderer);

}  // namespace noxd
