// Creation and release of a renderer: the core's steps. The top layer
// composes them with the layers above (api/view_lifecycle.cpp).
#pragma once

#include <windows.h>

#include "renderer_core.h"

namespace noxd {

// Creation on the calling thread, which becomes the GL thread, into the core
// of an object the caller allocated; the window messages go to
// `window_procedure`. Takes and gives back the lock. On failure the caller
// releases the renderer.
HRESULT CreateRenderer(RendererCore& renderer, WNDPROC window_procedure, HWND window,
                       const wchar_t* title, int window_width, int window_height, int format,
                       int frame_width, int frame_height);

// What creations do where GL offers no shader programs: fail (off, the
// default) or draw on the GL 1.1 path, frames converted on the CPU. Process-
// wide, any thread; the creations that start after the call follow it.
// False for an unknown mode.
enum class FallbackMode : int { Off = 0, CpuConversion = 1 };
bool SetFallbackMode(int mode);

// The steps of release, GL thread, in this order.

// The context current before release, another renderer's of this thread,
// which keeps drawing after this one is gone: current again by Restore()
// when release left none.
class OtherContext {
public:
    explicit OtherContext(const RendererCore& renderer);
    void Restore() const;

private:
    HGLRC context_;
    HDC dc_;
};

// No message of the window reaches the renderer from here on, those being
// handled on other threads are done, and the render thread has ended (the
// own window, which belongs to it, is destroyed). No lock held.
void StopRendererInput(RendererCore& renderer);

// With the lock and the GL binding (ScopedGlBinding) held:
// The renderer's own context made current, in case a later renderer on the
// thread took over; false, and a release from another thread told so,
// when GL must not be touched here.
bool MakeOwnContextCurrent(RendererCore& renderer);
// The frame textures and the program, own context current.
void DeleteCoreGlObjects(RendererCore& renderer);
// The GL context; objects left in it go with it.
void DeleteContext(RendererCore& renderer);

// With the lock held, after the binding: the device context and the window.
void LetGoOfWindow(RendererCore& renderer);

}  // namespace noxd
