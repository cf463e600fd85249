// A renderer on a host window that another thread owns and floods with
// messages, released again and again: no message handled after a release
// returned may still reach that renderer, and every release gives the host
// its window procedure and user data back.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "noxd.h"
#include "support/rounds.h"

namespace {

constexpr LONG_PTR kHostUserData = 0x5EED;  // no pointer: using it as a renderer faults

std::atomic<long> host_messages{0};

LRESULT CALLBACK FloodedHostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    ++host_messages;
    return DefWindowProcW(window, message, wparam, lparam);
}

// The renderer the test has not released yet; a callback for any other
// renderer comes from a message that outlived its release.
std::atomic<NOXD_RENDERER> live{nullptr};
std::atomic<long> callbacks{0};
std::atomic<long> stale_callbacks{0};

void CALLBACK CheckingMouseCallback(NOXD_RENDERER renderer, UINT, LPARAM, WPARAM, float, float) {
    ++callbacks;
    if (renderer != live.load()) ++stale_callbacks;
    // Stay a moment, so a release is likely to begin while this message is held.
    for (int i = 0; i < 3; ++i) SwitchToThread();
    if (renderer != live.load()) ++stale_callbacks;
}

// Owns the host window and floods it with mouse moves, clicks, sizes and
// paints, sent and posted, until told to stop.
class FloodingWindowThread {
public:
    FloodingWindowThread() : thread_([this] { Run(); }) {
        while (!window_.load()) SwitchToThread();
    }
    ~FloodingWindowThread() {
        stop_ = true;
        thread_.join();
    }
    HWND window() const { return window_.load(); }

private:
    void Run() {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = FloodedHostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"NoxdFloodedHost";
        RegisterClassExW(&wc);
        HWND window = CreateWindowExW(0, wc.lpszClassName, L"flooded host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      0, 0, 240, 180, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, kHostUserData);
        window_ = window;
        for (int n = 0; !stop_; ++n) {
            const LPARAM point = MAKELPARAM(10 + n % 200, 10 + n % 150);
            SendMessageW(window, WM_MOUSEMOVE, 0, point);
            PostMessageW(window, n % 2 ? WM_LBUTTONDOWN : WM_LBUTTONUP, n % 2 ? MK_LBUTTON : 0, point);
            PostMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(240 - n % 7, 180));
            InvalidateRect(window, nullptr, FALSE);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        }
        DestroyWindow(window);
    }

    std::atomic<bool> stop_{false};
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

TEST(ReleaseRaceTest, ReleasesUnderAMessageFloodNeverMeetALateMessage) {
    const int kCycles = noxd_test::Rounds(500, 5000);
    FloodingWindowThread host;
    HWND window = host.window();
    const LONG_PTR host_proc = GetWindowLongPtrW(window, GWLP_WNDPROC);
    std::vector<uint8_t> frame(16 * 16 * 4, 0x40);
    int bad_hand_backs = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        NOXD_RENDERER renderer = nullptr;
        ASSERT_EQ(noxd_create_renderer(window, nullptr, 0, 0, NOXD_FORMAT_BGR32, 16, 16, &renderer), S_OK)
            << "cycle " << cycle;
        live = renderer;
        noxd_set_mouse_callback(renderer, CheckingMouseCallback);
        if (cycle % 10 == 0) noxd_draw_frame(renderer, frame.data());
        // Released once the flood has reached this renderer (or after a
        // while without it), so the release meets messages in flight.
        const long seen = callbacks.load();
        for (int wait = 0; wait < 200 && callbacks.load() == seen; ++wait) Sleep(1);
        noxd_release_renderer(renderer);
        live = nullptr;
        bad_hand_backs += GetWindowLongPtrW(window, GWLP_WNDPROC) != host_proc ||
                          GetWindowLongPtrW(window, GWLP_USERDATA) != kHostUserData;
    }
    EXPECT_EQ(stale_callbacks.load(), 0);
    EXPECT_EQ(bad_hand_backs, 0);
    // The flood really met the renderers.
    EXPECT_GE(callbacks.load(), kCycles);
    EXPECT_GT(host_messages.load(), 10 * kCycles);
}

}  // namespace
