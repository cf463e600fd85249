// The hand-over between a renderer's window procedure and its release. The
// procedure runs on the thread that owns the window, which for a host window
// is not the thread that releases the renderer: each message holds the
// renderer for as long as it is handled, and release waits for the holds of
// other threads before it tears the renderer down.
#pragma once

#include <windows.h>

#include "win32_owners.h"

namespace noxd {

struct RendererCore;

// Per renderer; every field under the process-wide window-call gate.
struct WindowCallState {
    int in_flight = 0;                // messages of any thread now holding the renderer
    bool detached = false;            // no new message can find the renderer
    bool delete_on_last_leave = false;  // release is done; the last message out deletes
    UniqueKernelHandle left;          // auto-reset: a message let go while detached
};

// Makes `window`'s messages find the renderer: its own window at WM_CREATE,
// a host window before its procedure is replaced. Any thread.
void AttachWindow(HWND window, RendererCore& renderer);

// One message's hold on the renderer of its window; no renderer when none is
// attached (any more). Window procedure, on the window's thread.
class WindowCall {
public:
    explicit WindowCall(HWND window);
    ~WindowCall();
    WindowCall(const WindowCall&) = delete;
    WindowCall& operator=(const WindowCall&) = delete;

    RendererCore* renderer() const { return renderer_; }
    // The host's procedure as it was when the message arrived, or null.
    WNDPROC host_proc() const { return host_proc_; }

private:
    RendererCore* renderer_ = nullptr;
    WNDPROC host_proc_ = nullptr;
};

// First step of release, on the releasing thread: no new message finds the
// renderer, a host window gets its procedure and user data back, and the
// messages other threads are handling are waited out (messages sent to this
// thread meanwhile are handled).
void DetachAndAwaitWindowCalls(RendererCore& renderer);

// Last step of release: deletes the renderer, or, when a message of this
// very thread still holds it (release called from within the window
// procedure), leaves that to the message as it lets go.
void DeleteWhenNoWindowCall(RendererCore* renderer);

}  // namespace noxd
