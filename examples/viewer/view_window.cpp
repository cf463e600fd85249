#include "view_window.h"

namespace viewer {

namespace {

constexpr wchar_t kHostClass[] = L"NoxdViewerHost";
// The route is kept in a window property: a renderer drawing into a window
// takes over its user data.
constexpr wchar_t kRouteProperty[] = L"NoxdViewerRoute";

LRESULT CALLBACK RoutedWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* route = static_cast<WindowRoute*>(GetPropW(window, kRouteProperty));
    if (route) return route->Handle(window, message, wparam, lparam);
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

noxd::UniqueWindow CreateHostWindow(const wchar_t* title, int client_width, int client_height) {
    static const ATOM registered = [] {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS | CS_OWNDC;  // double-clicks reach the renderer's zoom
        wc.lpfnWndProc = RoutedWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kHostClass;
        return RegisterClassExW(&wc);
    }();
    if (!registered) return {};
    RECT frame = {0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    noxd::UniqueWindow window(CreateWindowExW(0, kHostClass, title, WS_OVERLAPPEDWINDOW, 0, 0,
                                              frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                              nullptr, GetModuleHandleW(nullptr), nullptr));
    if (window) ShowWindow(window.get(), SW_SHOWNORMAL);
    return window;
}

WindowRoute::~WindowRoute() {
    if (window_ && IsWindow(window_)) RemovePropW(window_, kRouteProperty);
}

void WindowRoute::Attach(HWND window, ViewControls& controls, bool subclass) {
    window_ = window;
    controls_ = &controls;
    SetPropW(window, kRouteProperty, this);
    if (subclass) {
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RoutedWindowProc)));
    }
}

LRESULT WindowRoute::Handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_KEYDOWN:
        controls_->OnKey(wparam);
        return 0;
    case WM_CLOSE:  // the window goes with the renderer; the main loop ends the run
        controls_->RequestQuit();
        return 0;
    default:
        break;
    }
    return previous_ ? CallWindowProcW(previous_, window, message, wparam, lparam)
                     : DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace viewer
