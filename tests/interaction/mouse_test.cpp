// The mouse callback as a host receives it from real window messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "interaction/cgl_renderer.h"
#include "support/debug_print.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

class MouseCallbackTest : public ::testing::Test {
protected:
    void SetUp() override { mouse_calls.clear(); }
};

TEST_F(MouseCallbackTest, ArgumentsInOrderWithNormalizedPointInsideBorders) {
    ScopedRenderer r(12, 64, 64, 400, 300);
    ASSERT_EQ(r.status(), S_OK);
    noxd_set_video_pos(r.get(), 0.25f, 0.75f, 0.75f, 0.25f);
    noxd_set_mouse_callback(r.get(), RecordMouseCall);
    SendMouse(r.window(), WM_MOUSEMOVE, 200, 150, MK_SHIFT);
    SendMouse(r.window(), WM_RBUTTONDOWN, 100, 75, MK_RBUTTON);
    SendMouse(r.window(), WM_MBUTTONUP, 300, 225);
    ASSERT_EQ(mouse_calls.size(), 3u);
    EXPECT_EQ(mouse_calls[0].renderer, r.get());
    EXPECT_EQ(mouse_calls[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(mouse_calls[0].lparam, MAKELPARAM(200, 150));
    EXPECT_EQ(mouse_calls[0].wparam, static_cast<WPARAM>(MK_SHIFT));
    EXPECT_FLOAT_EQ(mouse_calls[0].x, 0.5f);
    EXPECT_FLOAT_EQ(mouse_calls[0].y, 0.5f);
    EXPECT_EQ(mouse_calls[1].message, static_cast<UINT>(WM_RBUTTONDOWN));
    EXPECT_FLOAT_EQ(mouse_calls[1].x, 0.0f);
    EXPECT_FLOAT_EQ(mouse_calls[1].y, 1.0f);
    EXPECT_FLOAT_EQ(mouse_calls[2].x, 1.0f);
    EXPECT_FLOAT_EQ(mouse_calls[2].y, 0.0f);

    // Removed: no more mouse_calls.
    noxd_set_mouse_callback(r.get(), nullptr);
    SendMouse(r.window(), WM_MOUSEMOVE, 10, 10);
    EXPECT_EQ(mouse_calls.size(), 3u);
}

TEST_F(MouseCallbackTest, PrivacyEditingReportsTheClientOnATenThousandScale) {
    ScopedRenderer r(12, 64, 64, 640, 480);
    ASSERT_EQ(r.status(), S_OK);
    noxd_set_mouse_callback(r.get(), RecordMouseCall);
    noxd_set_privacy_mask_flag(r.get(), 2);  // any non-zero byte switches it on
    SendMouse(r.window(), WM_LBUTTONDOWN, 639, 479, MK_LBUTTON);
    SendMouse(r.window(), WM_LBUTTONUP, 639, 479);
    noxd_set_privacy_mask_flag(r.get(), 0);
    SendMouse(r.window(), WM_MOUSEMOVE, 320, 240);
    ASSERT_EQ(mouse_calls.size(), 3u);
    EXPECT_EQ(mouse_calls[0].x, 10000.0f);
    EXPECT_EQ(mouse_calls[0].y, 9979.0f);
    EXPECT_FLOAT_EQ(mouse_calls[2].x, 0.5f);
    EXPECT_FLOAT_EQ(mouse_calls[2].y, 0.5f);
}

TEST_F(MouseCallbackTest, WheelReportsTheSamePointAsAMove) {
    ScopedRenderer r(12, 64, 64, 400, 300);
    ASSERT_EQ(r.status(), S_OK);
    noxd_set_mouse_callback(r.get(), RecordMouseCall);
    POINT screen = {120, 90};
    ClientToScreen(r.window(), &screen);
    SendMouse(r.window(), WM_MOUSEMOVE, 120, 90);
    SendMessageW(r.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    ASSERT_EQ(mouse_calls.size(), 2u);
    EXPECT_EQ(mouse_calls[1].message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(mouse_calls[1].lparam, MAKELPARAM(screen.x, screen.y));
    EXPECT_FLOAT_EQ(mouse_calls[1].x, mouse_calls[0].x);
    EXPECT_FLOAT_EQ(mouse_calls[1].y, mouse_calls[0].y);
}

// Counts what reaches the host's own procedure behind the renderer.
std::vector<UINT> host_messages;
std::vector<size_t> callbacks_seen_at_host;
LRESULT CALLBACK RecordingHostProc(HWND w, UINT message, WPARAM wparam, LPARAM lparam) {
    if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_SIZE) {
        host_messages.push_back(message);
        callbacks_seen_at_host.push_back(mouse_calls.size());
    }
    return DefWindowProcW(w, message, wparam, lparam);
}

// A host window whose own procedure records what reaches it.
HWND CreateRecordingHost() {
    HWND host = CreateHostWindow(700, 100, 320, 240);
    SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingHostProc));
    return host;
}

TEST_F(MouseCallbackTest, HostProcedureGetsMouseMessagesAfterTheCallbackButNotRestoredSizes) {
    HWND host = CreateRecordingHost();
    {
        ScopedRenderer r(host, 12, 64, 64);
        ASSERT_EQ(r.status(), S_OK);
        noxd_set_mouse_callback(r.get(), RecordMouseCall);
        host_messages.clear();
        callbacks_seen_at_host.clear();
        SendMouse(host, WM_MOUSEMOVE, 10, 10);
        SendMouse(host, WM_LBUTTONDOWN, 10, 10);
        SendMouse(host, WM_LBUTTONUP, 10, 10);
        SendMessageW(host, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240));
        SendMessageW(host, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(320, 240));
        SendMessageW(host, WM_SIZE, SIZE_MINIMIZED, 0);
        const std::vector<UINT> want = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SIZE};
        EXPECT_EQ(host_messages, want);
        // Each mouse message reached the host after its callback.
        ASSERT_GE(callbacks_seen_at_host.size(), 3u);
        EXPECT_EQ(callbacks_seen_at_host[0], 1u);
        EXPECT_EQ(callbacks_seen_at_host[1], 2u);
        EXPECT_EQ(callbacks_seen_at_host[2], 3u);
    }
    DestroyWindow(host);
}

void CALLBACK ThrowingCallback(NOXD_RENDERER, UINT, LPARAM, WPARAM, float, float) {
    throw std::runtime_error("host callback");
}

// What a host callback throws ends inside the window procedure: the message
// still reaches the host's own procedure, and the debugger output says so.
TEST_F(MouseCallbackTest, ThrowingCallbackStaysInsideTheWindowProcedure) {
    HWND host = CreateRecordingHost();
    {
        ScopedRenderer r(host, 12, 64, 64);
        ASSERT_EQ(r.status(), S_OK);
        noxd_set_mouse_callback(r.get(), ThrowingCallback);
        host_messages.clear();
        DebugPrintCatcher debugger;
        SendMouse(host, WM_LBUTTONDOWN, 10, 10);
        SendMouse(host, WM_LBUTTONUP, 10, 10);
        const std::vector<UINT> want = {WM_LBUTTONDOWN, WM_LBUTTONUP};
        EXPECT_EQ(host_messages, want);
        char line[128];
        std::snprintf(line, sizeof line,
                      "MYDBG 0x%04lX window procedure: a mouse message failed with an exception\n",
                      GetCurrentThreadId());
        EXPECT_EQ(std::count(debugger.lines().begin(), debugger.lines().end(), line), 2);
    }
    DestroyWindow(host);
}

TEST(MouseApiTest, NullHandlesAndResults) {
    EXPECT_EQ(noxd_set_mouse_callback(nullptr, RecordMouseCall), S_OK);
    EXPECT_EQ(noxd_clip_mouse(nullptr, 1), 0);
    EXPECT_EQ(noxd_stop_win_callback(nullptr, 5), 0);
    ScopedRenderer r(12, 64, 64, 200, 100);
    ASSERT_EQ(r.status(), S_OK);
    // Any value is taken and changes nothing: the mouse callback still comes.
    EXPECT_EQ(noxd_stop_win_callback(r.get(), 0), 1);
    ASSERT_EQ(noxd_set_mouse_callback(r.get(), RecordMouseCall), S_OK);
    mouse_calls.clear();
    SendMouse(r.window(), WM_MOUSEMOVE, 50, 50);
    EXPECT_EQ(mouse_calls.size(), 1u);
    ASSERT_EQ(noxd_set_mouse_callback(r.get(), nullptr), S_OK);
    // The X server may still be placing the new window: a try counts only
    // when the window stood still across the call.
    bool clipped_to_frame = false;
    for (int attempt = 0; attempt < 20 && !clipped_to_frame; ++attempt) {
        RECT before = {}, clip = {}, after = {};
        GetWindowRect(r.window(), &before);
        EXPECT_EQ(noxd_clip_mouse(r.get(), 1), 1);
        GetClipCursor(&clip);
        GetWindowRect(r.window(), &after);
        clipped_to_frame = EqualRect(&before, &after) && EqualRect(&clip, &before);
        if (!clipped_to_frame) Sleep(50);
    }
    EXPECT_TRUE(clipped_to_frame);
    EXPECT_EQ(noxd_clip_mouse(r.get(), 0), 1);
    RECT released = {};
    GetClipCursor(&released);
    RECT frame = {};
    GetWindowRect(r.window(), &frame);
    EXPECT_FALSE(EqualRect(&released, &frame));
}

}  // namespace
