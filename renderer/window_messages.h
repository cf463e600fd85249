// The renderer core's part in a renderer window's messages: which renderer a
// message belongs to, the default processing, the viewport after a resize.
// The window procedure that joins them with the mouse handling is the top
// layer's; it is given to the core at creation (window_procedure).
#pragma once

#include <windows.h>

namespace noxd {

struct RendererCore;

// WM_CREATE of the renderer's own window: the window joins the renderer
// passed as the creation parameter.
LRESULT AttachCreatedWindow(HWND window, WPARAM wparam, LPARAM lparam);

// A subclassed host window gets every message we do not swallow.
LRESULT DefaultProcessing(WNDPROC host_proc, HWND window, UINT message, WPARAM wparam,
                          LPARAM lparam);

// A message no renderer holds: one that reached a host window as it was
// being given back goes to the host's procedure, now the window's again
// unless it is still `ours`.
LRESULT ProcessWithoutRenderer(WNDPROC ours, HWND window, UINT message, WPARAM wparam,
                               LPARAM lparam);

// A WM_SIZE that changes the view: restored or maximised. Minimised sizes,
// or shown-while-another-maximises, change nothing of ours.
bool ResizesView(WPARAM size_kind);

bool IsMouseMessage(UINT message);

}  // namespace noxd
