// One process-wide gate in front of the system's GL driver. Binding a context
// to a window (pixel format, context creation, making it current, first-time
// set-up, deleting it) takes the gate alone; presenting a frame shares it.
//
// Why: on Wine's GL, binding contexts on several threads at once deadlocked
// for good (one thread in SetPixelFormat, another in wglMakeCurrent), and so
// did a SetPixelFormat on one thread against a SwapBuffers on another, with
// eight views being made and drawn at once. Swaps of different views still
// run side by side; only a binding waits for the swaps in progress.
//
// Any GL thread may take it; nothing taken under it waits for another
// renderer's thread, and it is never taken twice on one thread.
#pragma once

#include <windows.h>

#include <mutex>
#include <shared_mutex>

#include "slim_lock.h"

namespace noxd {

inline SlimLock gl_driver_gate;

// Held while a context is bound to a window, set up or deleted.
class ScopedGlBinding {
public:
    ScopedGlBinding() : hold_(gl_driver_gate) {}

private:
    std::lock_guard<SlimLock> hold_;
};

// Swaps the view's buffers, sharing the gate with other swaps.
inline void PresentBuffers(HDC device_context) {
    std::shared_lock<SlimLock> presenting(gl_driver_gate);
    SwapBuffers(device_context);
}

}  // namespace noxd
