// The windows of the viewer: the plain host window of --host-window mode,
// and the route by which keys and the close box of the view's window reach
// the view's controls, whichever window it is.
#pragma once

#include <windows.h>

#include "view_controls.h"
#include "win32_owners.h"

namespace viewer {

// A visible top-level window of the calling thread with the given client
// size, whose procedure hands keys and closing to a WindowRoute.
noxd::UniqueWindow CreateHostWindow(const wchar_t* title, int client_width, int client_height);

// Sends the view's window's keys and close box to the controls. For the
// renderer's own window it subclasses the window, whose procedure then runs
// on the renderer's thread. It must outlive the renderer: the window may
// call through it until the renderer has destroyed or given it back.
class WindowRoute {
public:
    WindowRoute() = default;
    WindowRoute(const WindowRoute&) = delete;
    WindowRoute& operator=(const WindowRoute&) = delete;
    ~WindowRoute();

    // `subclass`: true for the renderer's own window, false for a window of
    // CreateHostWindow, whose class procedure already routes.
    void Attach(HWND window, ViewControls& controls, bool subclass);

    LRESULT Handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

private:
    HWND window_ = nullptr;
    ViewControls* controls_ = nullptr;
    WNDPROC previous_ = nullptr;
};

}  // namespace viewer
