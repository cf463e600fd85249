// A renderer owned by one test, released on every path out of it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "noxd.h"
#include "window_capture.h"

namespace noxd_test {

class ScopedRenderer {
public:
    // A renderer on a window of its own with the given client size.
    ScopedRenderer(int format, int frame_width, int frame_height, int client_width,
                   int client_height, const wchar_t* title = L"noxd test");
    // A renderer drawing into a host window.
    ScopedRenderer(HWND host, int format, int frame_width, int frame_height);
    ~ScopedRenderer();
    ScopedRenderer(const ScopedRenderer&) = delete;
    ScopedRenderer& operator=(const ScopedRenderer&) = delete;

    HRESULT status() const { return status_; }
    NOXD_RENDERER get() const { return renderer_; }
    HWND window() const { return noxd_get_hwnd(renderer_); }

    // Draws the frame and reads back what the window then shows. The first
    // picture of a new window is drawn again should its swap be lost.
    Capture DrawAndCapture(const std::vector<uint8_t>& frame);
    Capture DrawPlanesAndCapture(const NOXD_PLANES& frame);

private:
    Capture CaptureAfter(const std::function<void()>& draw);

    HRESULT status_ = E_FAIL;
    NOXD_RENDERER renderer_ = nullptr;
    // Whether a DrawAndCapture has already read the window's picture.
    bool picture_read_ = false;
};

// The renderer's whole statistics, the call expected to succeed.
NOXD_STATS StatsOf(NOXD_RENDERER renderer);

// One call of the mouse callback as the host received it.
struct MouseCall {
    NOXD_RENDERER renderer;
    UINT message;
    LPARAM lparam;
    WPARAM wparam;
    float x, y;
};
// Every call RecordMouseCall received, in order; a case clears it first.
extern std::vector<MouseCall> mouse_calls;
void CALLBACK RecordMouseCall(NOXD_RENDERER renderer, UINT message, LPARAM lparam, WPARAM wparam,
                              float x, float y);

// Sends a mouse message with a client point; the window's own thread handles
// it before this returns.
void SendMouse(HWND window, UINT message, int x, int y, WPARAM wparam = 0);

// Dispatches the calling thread's pending messages.
void PumpMessages();

// A plain visible top-level window with the given client size, owned by the
// calling thread; its procedure counts messages for the tests.
HWND CreateHostWindow(int x, int y, int client_width, int client_height);
LRESULT CALLBACK HostWindowProc(HWND, UINT, WPARAM, LPARAM);
extern std::atomic<int> host_proc_calls;

}  // namespace noxd_test
