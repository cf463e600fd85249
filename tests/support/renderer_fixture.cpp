#include "renderer_fixture.h"

namespace noxd_test {

std::atomic<int> host_proc_calls{0};

namespace {

// The X pointer outlives each test process: left where an earlier case
// clipped or moved it, it would send real mouse moves to a new window that
// appears under it, besides the messages a case sends itself.
void ParkPointerInTheScreenCorner() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

}  // namespace

ScopedRenderer::ScopedRenderer(int format, int frame_width, int frame_height, int client_width,
                               int client_height, const wchar_t* title) {
    ParkPointerInTheScreenCorner();
    status_ = noxd_create_renderer(nullptr, title, client_width, client_height, format,
                                   frame_width, frame_height, &renderer_);
}

ScopedRenderer::ScopedRenderer(HWND host, int format, int frame_width, int frame_height) {
    ParkPointerInTheScreenCorner();
    status_ = noxd_create_renderer(host, nullptr, 0, 0, format, frame_width, frame_height,
                                   &renderer_);
}

ScopedRenderer::~ScopedRenderer() {
    if (renderer_) noxd_release_renderer(renderer_);
}

// The first swap of a new window now and then reaches the X server before
// Wine has put the window's GL surface on screen, and is lost there: the
// window stays black until the next swap (seen in about 1 new window in 300
// on a busy machine; the frame was drawn, a redraw then showed it). So the
// first read shows the frame again while the screen still shows what it did
// before the draw; a redraw is not a frame, the statistics stay as they are.
Capture ScopedRenderer::DrawAndCapture(const std::vector<uint8_t>& frame) {
    return CaptureAfter([&] { noxd_draw_frame(renderer_, frame.data()); });
}

Capture ScopedRenderer::DrawPlanesAndCapture(const NOXD_PLANES& frame) {
    return CaptureAfter([&] { EXPECT_EQ(noxd_draw_planes(renderer_, &frame), S_OK); });
}

Capture ScopedRenderer::CaptureAfter(const std::function<void()>& draw) {
    constexpr int kRedrawsForALostFirstSwap = 3;
    const Capture before = picture_read_ ? Capture() : Capture::OfClient(window());
    draw();
    PumpMessages();
    Capture shot = Capture::SettledOfClient(window());
    for (int i = 0; !picture_read_ && i < kRedrawsForALostFirstSwap && shot.SamePixelsAs(before);
         ++i) {
        noxd_redraw(renderer_);
        PumpMessages();
        shot = Capture::SettledOfClient(window());
    }
    picture_read_ = true;
    return shot;
}

NOXD_STATS StatsOf(NOXD_RENDERER renderer) {
    NOXD_STATS stats = {};
    stats.size = sizeof stats;
    EXPECT_EQ(noxd_get_stats(renderer, &stats), S_OK);
    return stats;
}

void SendMouse(HWND window, UINT message, int x, int y, WPARAM wparam) {
    SendMessageW(window, message, wparam, MAKELPARAM(x, y));
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::vector<MouseCall> mouse_calls;

void CALLBACK RecordMouseCall(NOXD_RENDERER renderer, UINT message, LPARAM lparam, WPARAM wparam,
                              float x, float y) {
    mouse_calls.push_back({renderer, message, lparam, wparam, x, y});
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    ++host_proc_calls;
    return DefWindowProcW(window, message, wparam, lparam);
}

HWND CreateHostWindow(int x, int y, int client_width, int client_height) {
    static const bool registered = [] {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = HostWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"NoxdTestHost";
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    RECT frame = {0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND window = CreateWindowExW(0, L"NoxdTestHost", L"host", WS_OVERLAPPEDWINDOW, x, y,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    return window;
}

}  // namespace noxd_test
