#include "pipeline.h"

#include "worker.h"

namespace bench {

namespace {

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    // GL draws the whole client area; GDI must not paint over it.
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        ValidateRect(window, nullptr);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

const wchar_t* RegisteredClass() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = BenchWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"NoxdBenchView";
        RegisterClassExW(&wc);
        return L"NoxdBenchView";
    }();
    return name;
}

}  // namespace

BenchWindow::BenchWindow(const ViewLayout& layout)
    : window_(CreateWindowExW(0, RegisteredClass(), L"noxd bench", WS_POPUP | WS_VISIBLE, layout.x,
                              layout.y, layout.client_width, layout.client_height, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {}

void BringToTop(HWND window) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    PumpMessages();
}

}  // namespace bench
