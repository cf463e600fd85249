#include "window_calls.h"

#include <mutex>
#include <unordered_map>

#include "render_window.h"
#include "renderer_core.h"
#include "slim_lock.h"

namespace noxd {

namespace {

// The window-call gate: guards the window table and every renderer's
// WindowCallState. Taken by window procedures on any thread and by creation
// and release; held only for look-ups and counts, never while waiting or
// calling out to the host. A slim lock, which unlike a mutex of the thread
// runtime makes no kernel object the first time two threads meet at it.
SlimLock gate;

class GateHold {
public:
    GateHold() : hold_(gate) {}

private:
    std::lock_guard<SlimLock> hold_;
};

// Which renderer each window's messages belong to; under the gate.
std::unordered_map<HWND, RendererCore*>& AttachedWindows() {
    static std::unordered_map<HWND, RendererCore*> windows;
    return windows;
}

// Handles the messages other threads send to this thread's windows, so a
// message that waits on one of them cannot keep the wait from ending.
// Without an event (none could be made) it looks again every millisecond.
void WaitForALeaveOrSentMessage(HANDLE left) {
    const DWORD count = left ? 1 : 0;
    const DWORD timeout = left ? INFINITE : 1;
    if (MsgWaitForMultipleObjects(count, &left, FALSE, timeout, QS_SENDMESSAGE) ==
        WAIT_OBJECT_0 + count) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

void AttachWindow(HWND window, RendererCore& renderer) {
    GateHold hold;
    AttachedWindows()[window] = &renderer;
}

WindowCall::WindowCall(HWND window) {
    GateHold hold;
    const auto found = AttachedWindows().find(window);
    if (found == AttachedWindows().end()) return;
    renderer_ = found->second;
    host_proc_ = renderer_->host_window_proc;
    ++renderer_->window_calls.in_flight;
}

WindowCall::~WindowCall() {
    if (!renderer_) return;
    bool delete_now = false;
    {
        GateHold hold;
        WindowCallState& calls = renderer_->window_calls;
        --calls.in_flight;
        if (calls.delete_on_last_leave)
            delete_now = calls.in_flight == 0;
        else if (calls.detached)
            SetEvent(calls.left.get());
    }
    if (delete_now) delete renderer_;
}

void DetachAndAwaitWindowCalls(RendererCore& renderer) {
    WindowCallState& calls = renderer.window_calls;
    calls.left.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    // A window's messages are handled on the thread that owns it, so when
    // that is this thread, every hold is a message this release is nested in.
    const bool window_of_this_thread =
        renderer.window && GetWindowThreadProcessId(renderer.window, nullptr) == GetCurrentThreadId();
    int own = 0;
    {
        GateHold hold;
        if (window_of_this_thread) own = calls.in_flight;
        auto& windows = AttachedWindows();
        for (auto it = windows.begin(); it != windows.end();)
            it = it->second == &renderer ? windows.erase(it) : std::next(it);
        calls.detached = true;
        // Under the gate, so a message either found the renderer and its
        // host procedure or finds neither and goes to the host directly.
        GiveBackHostWindow(renderer);
    }
    for (;;) {
        {
            GateHold hold;
            if (calls.in_flight <= own) return;
        }
        WaitForALeaveOrSentMessage(calls.left.get());
    }
}

void DeleteWhenNoWindowCall(RendererCore* renderer) {
    {
        GateHold hold;
        if (renderer->window_calls.in_flight > 0) {
            renderer->window_calls.delete_on_last_leave = true;
            return;
        }
    }
    delete renderer;
}

}  // namespace noxd
