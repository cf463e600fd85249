#include "renderer_lifecycle.h"

#include <atomic>
#include <cstdio>
#include <cwchar>

#include "gl_driver_gate.h"
#include "noxd.h"
#include "picture.h"
#include "render_window.h"
#include "shader_program.h"
#include "timing.h"
#include "viewport.h"

namespace noxd {

namespace {

// Waits for a thread that can only be hung once it is this late, so a slow
// start on a busy machine is slow but never a failure.
constexpr DWORD kHungThreadMs = 60000;

// Set the first time a current GL context offers no glCreateProgram while the
// fallback is off; every creation after that fails at once while it stays
// off, as the process's GL will not change.
std::atomic<bool> shaders_unsupported{false};

std::atomic<FallbackMode> fallback_mode{FallbackMode::Off};

bool FallbackOn() { return fallback_mode.load() == FallbackMode::CpuConversion; }


void CopyTitle(RendererCore& renderer, const wchar_t* title) {
    if (!title) return;
    wcsncpy(renderer.window_title, title, 259);
    renderer.window_title[259] = L'\0';
}

// Sets up the frame and viewport groups; false for an
// unknown format.
bool SetUpFrameGroups(RendererCore& renderer, HWND window, int format, int frame_width,
                      int frame_height, int window_width, int window_height) {
    const std::optional<FormatClass> cls = FormatClassOf(format);
    if (!cls) return false;
    renderer.packed_geometry = {*cls, frame_width, frame_height, ChromaSize::Truncated};
    renderer.shown_geometry = renderer.packed_geometry;
    renderer.shown_bottom_up = StoredBottomUp(*cls);
    renderer.reported_geometry = renderer.packed_geometry;
    renderer.program_class = *cls;
    renderer.window = window;
    renderer.window_width = window_width ? window_width : frame_width;
    renderer.window_height = window_height ? window_height : frame_height;
    return true;
}

// One debugger-output line naming the creation step that failed and what
// Windows said about it.
void ReportCreationFailure(const char* step, DWORD error, int pixel_format = 0) {
    char message[200];
    std::snprintf(message, sizeof message,
                  "noxd_create_renderer: %s failed (error %lu, pixel format %d)", step,
                  static_cast<unsigned long>(error), pixel_format);
    WriteDebugLine(message);
}

// The GL in use, by its version string, offers no shader programs.
void ReportMissingShaders(int pixel_format) {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    char message[300];
    std::snprintf(message, sizeof message,
                  "noxd_create_renderer: no glCreateProgram in GL \"%.200s\" (pixel format %d)",
                  version ? version : "?", pixel_format);
    WriteDebugLine(message);
}

// The one line of a creation that fell back, saying why.
void ReportFallback(int pixel_format, int32_t max_texture_size) {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* vendor = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    char message[400];
    std::snprintf(message, sizeof message,
                  "noxd_create_renderer: no glCreateProgram in GL \"%.120s\" (\"%.120s\", pixel format %d):"
                  " GL 1.1 path, frames converted on the CPU, textures up to %d",
                  version ? version : "?", vendor ? vendor : "?", pixel_format,
                  static_cast<int>(max_texture_size));
    WriteDebugLine(message);
}

// Starts the render thread and waits until it has its window ready or has
// ended; false, reported, when it could not be started or never got ready.
bool StartRenderThread(RendererCore& renderer) {
    renderer.ready_event.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    renderer.stop_event.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!renderer.ready_event || !renderer.stop_event) {
        ReportCreationFailure("CreateEventW", GetLastError());
        return false;
    }
    renderer.render_thread.reset(CreateThread(nullptr, 0, RenderThreadMain, &renderer, 0, nullptr));
    if (!renderer.render_thread) {
        ReportCreationFailure("CreateThread", GetLastError());
        return false;
    }
    const HANDLE ready_or_ended[] = {renderer.ready_event.get(), renderer.render_thread.get()};
    const DWORD woke = WaitForMultipleObjects(2, ready_or_ended, FALSE, kHungThreadMs);
    if (woke == WAIT_OBJECT_0) return true;
    ReportCreationFailure(woke == WAIT_TIMEOUT ? "render thread start (hung)" : "render thread start",
                          woke == WAIT_FAILED ? GetLastError() : woke);
    return false;
}

// Binds GL to the window and builds the program; the status says what failed.
// Only a context that is current and lacks glCreateProgram marks the process:
// a window that could not take a context says nothing about the GL stack.
HRESULT SetUpGlAndProgram(RendererCore& renderer) {
    // Held from choosing the pixel format to the built program: first-time
    // set-up on many threads at once also corrupted the driver's heap, and
    // GLEW keeps its entry points in process-wide variables that every
    // initialisation rewrites.
    ScopedGlBinding setting_up;
    const GlSetupResult gl = SetUpGl(renderer);
    if (gl.failed_step) {
        ReportCreationFailure(gl.failed_step, gl.error, gl.pixel_format);
        return NOXD_E_NO_SHADERS;
    }
    // The viewport is set here on the GL thread, so no frame needs to redo it.
    RequestViewportUpdate(renderer);
    renderer.viewport_pending = false;
    glGetError();
    glColor4f(1, 1, 1, 1);
    GLint max_texture_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_texture_size);
    renderer.max_texture_size = max_texture_size;
    if (!wglGetProcAddress("glCreateProgram")) {
        if (!FallbackOn()) {
            shaders_unsupported = true;
            ReportMissingShaders(gl.pixel_format);
            return NOXD_E_NO_SHADERS;
        }
        // GLEW is not initialised: its entry points are process-wide, and a
        // GL 1.1 context would blank those of views drawing with shaders.
        renderer.picture_path = PicturePath::CpuConversion;
        ReportFallback(gl.pixel_format, renderer.max_texture_size);
        return S_OK;
    }
    glewInit();
    BuildShaderProgram(renderer);
    return S_OK;
}

void RunCreation(RendererCore& renderer, HWND window, const wchar_t* title, int window_width,
                 int window_height, int format, int frame_width, int frame_height) {
    renderer.gl_thread_id = GetCurrentThreadId();
    renderer.status = S_OK;
    ScopedRendererLock hold(renderer.lock);
    CopyTitle(renderer, title);
    if (!SetUpFrameGroups(renderer, window, format, frame_width, frame_height, window_width,
                          window_height)) {
        renderer.status = NOXD_E_BAD_FORMAT;
        return;
    }
    if (shaders_unsupported && !FallbackOn()) {
        WriteDebugLine("noxd_create_renderer: no glCreateProgram in this process's GL");
        renderer.status = NOXD_E_NO_SHADERS;
        return;
    }
    if (!StartRenderThread(renderer)) {
        renderer.status = E_FAIL;
        return;
    }
    renderer.status = SetUpGlAndProgram(renderer);
}

void ReportWrongReleaseThread() {
    MessageBoxW(nullptr,
                L"CGLRenderer destructor should be called only from the same thread where it was created",
                L"Exeption", MB_ICONERROR);
}

// Stops the render thread, forcing it after the grace period.
void StopRenderThread(RendererCore& renderer) {
    if (renderer.stop_event) SetEvent(renderer.stop_event.get());
    if (renderer.render_thread &&
        WaitForSingleObject(renderer.render_thread.get(), kHungThreadMs) != WAIT_OBJECT_0)
        TerminateThread(renderer.render_thread.get(), 0);
    renderer.stop_event.reset();
    renderer.ready_event.reset();
    renderer.render_thread.reset();
}

}  // namespace

bool SetFallbackMode(int mode) {
    if (mode != static_cast<int>(FallbackMode::Off) && mode != static_cast<int>(FallbackMode::CpuConversion))
        return false;
    fallback_mode = static_cast<FallbackMode>(mode);
    return true;
}

OtherContext::OtherContext(const RendererCore& renderer)
    : context_(wglGetCurrentContext()), dc_(wglGetCurrentDC()) {
    if (context_ == renderer.gl_context.get()) context_ = nullptr;
}

void OtherContext::Restore() const {
    if (!context_ || wglGetCurrentContext()) return;
    ScopedGlBinding rebinding;
    wglMakeCurrent(dc_, context_);
}

void StopRendererInput(RendererCore& renderer) {
    renderer.input_live = false;
    DetachAndAwaitWindowCalls(renderer);
    // The render thread ends before the lock is taken: its window procedure
    // may be waiting for the lock, and must not keep release waiting in turn.
    StopRenderThread(renderer);
}

bool MakeOwnContextCurrent(RendererCore& renderer) {
    if (!renderer.gl_context) return false;
    if (renderer.gl_thread_id != GetCurrentThreadId()) {
        ReportWrongReleaseThread();
        return false;
    }
    return wglGetCurrentContext() == renderer.gl_context.get() ||
           wglMakeCurrent(renderer.device_context.get(), renderer.gl_context.get());
}

void DeleteCoreGlObjects(RendererCore& renderer) {
    try {
        DeleteFrameTextures(renderer);
        DeleteShaderProgram(renderer);
    } catch (...) {
        ReportWrongReleaseThread();
    }
}

void DeleteContext(RendererCore& renderer) {
    renderer.program = 0;
    renderer.fragment_shader = 0;
    renderer.layer_program = {};
    if (renderer.gl_context) CountContextDeletion();
    renderer.gl_context.reset();
}

void LetGoOfWindow(RendererCore& renderer) {
    renderer.device_context.reset();
    renderer.window = nullptr;
}

HRESULT CreateRenderer(RendererCore& renderer, WNDPROC window_procedure, HWND window,
                       const wchar_t* title, int window_width, int window_height, int format,
                       int frame_width, int frame_height) {
    renderer.window_procedure = window_procedure;
    RunCreation(renderer, window, title, window_width, window_height, format, frame_width,
                frame_height);
    // The lock is free now, so the window procedure may take it for mouse input.
    if (renderer.status == S_OK) renderer.input_live = true;
    return renderer.status;
}

}  // namespace noxd
