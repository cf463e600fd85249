// The mouse messages of every renderer window, as the core's window
// procedure hands them over: the host's mouse callback first, then the
// tools, the zoom and the overlay buttons. On the thread that owns the window.
#pragma once

#include <windows.h>

struct CGLRenderer;

namespace noxd {

// One message from WM_MOUSEMOVE to WM_MOUSEHWHEEL; the core does the default
// processing afterwards. Called with no lock held; the callbacks run so too.
void HandleMouseMessage(CGLRenderer& renderer, HWND window, UINT message, WPARAM wparam,
                        LPARAM lparam);

// Confines the cursor to the window's rectangle as it is now, or frees it.
void ClipMouseToWindow(const CGLRenderer& renderer, BOOL on);

}  // namespace noxd
