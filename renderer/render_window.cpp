#include "render_window.h"

#include <mutex>

#include "renderer_core.h"
#include "slim_lock.h"
#include "window_calls.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace noxd {

namespace {

constexpr wchar_t kWindowClass[] = L"CGLRenderer";
constexpr DWORD kOwnWindowExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
constexpr DWORD kOwnWindowStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
// The frame is sized without the clipping bits, which do not change it.
constexpr DWORD kOwnWindowFrameStyle = WS_POPUP | WS_OVERLAPPEDWINDOW;

// Renderers created on several threads at once register the class at once.
// A registration that fails because the class exists can return while the
// winning registration is still being completed, and a window created then
// fails with ERROR_CLASS_DOES_NOT_EXIST; so registrations take turns. Held
// only around RegisterClassExW, on render threads.
SlimLock class_registration_lock;

// Registers "CGLRenderer"; a failure because it already exists is expected
// from the second renderer on.
void RegisterRendererClass(WNDPROC procedure) {
    std::lock_guard<SlimLock> registering(class_registration_lock);
    // Never deleted: the class keeps it for the life of the process.
    static HBRUSH black_brush = CreateSolidBrush(RGB(0, 0, 0));
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_BYTEALIGNCLIENT;
    wc.lpfnWndProc = procedure;
    wc.hInstance = RendererModule();
    wc.hIcon = LoadIconW(nullptr, IDI_WINLOGO);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = black_brush;
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
}

// A hidden top-level window at (0, 0) whose client area has the asked size.
HWND CreateOwnWindow(RendererCore& renderer) {
    RECT frame = {0, 0, renderer.window_width, renderer.window_height};
    AdjustWindowRectEx(&frame, kOwnWindowFrameStyle, FALSE, kOwnWindowExStyle);
    return CreateWindowExW(kOwnWindowExStyle, kWindowClass, renderer.window_title, kOwnWindowStyle,
                           0, 0, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                           nullptr, RendererModule(), &renderer);
}

// Subclasses the host's window. The user data is ours before our procedure
// can run, so it never reads what the host kept there as a renderer.
void TakeOverHostWindow(RendererCore& renderer) {
    HWND window = renderer.window;
    renderer.host_user_data = GetWindowLongPtrW(window, GWLP_USERDATA);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&renderer));
    renderer.host_window_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    AttachWindow(window, renderer);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(renderer.window_procedure));
}

// Dispatches messages until stop_event is signalled or WM_QUIT arrives. It
// sleeps until a message or the stop comes, so an idle view costs no CPU.
void PumpMessagesUntilStopped(HANDLE stop_event) {
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &stop_event, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1) return;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (WaitForSingleObject(stop_event, 0) != WAIT_TIMEOUT) return;
        }
    }
}

// Destroys the renderer's own window on the thread that owns it.
void DestroyOwnWindow(HWND window) {
    if (!IsWindow(window)) return;
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        DestroyWindow(window);
    else
        SendMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace

DWORD WINAPI RenderThreadMain(void* arg) {
    if (!arg) return 0;
    auto& renderer = *static_cast<RendererCore*>(arg);
    HWND own_window = nullptr;
    if (renderer.window) {
        TakeOverHostWindow(renderer);
    } else {
        renderer.own_window = TRUE;
        RegisterRendererClass(renderer.window_procedure);
        own_window = CreateOwnWindow(renderer);
        if (!own_window) renderer.window_error = GetLastError();
        renderer.window = own_window;
    }
    // Copied before the signal: the creating thread may release right after it.
    HANDLE stop_event = renderer.stop_event.get();
    SetEvent(renderer.ready_event.get());
    PumpMessagesUntilStopped(stop_event);
    // The window belongs to this thread, so this thread destroys it.
    if (own_window) DestroyOwnWindow(own_window);
    return 0;
}

namespace {

// The pixel format every renderer asks for: RGBA, double-buffered, 16-bit depth.
PIXELFORMATDESCRIPTOR RequestedPixelFormat(uint8_t color_bits) {
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = color_bits;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

GlSetupResult Failed(const char* step, int pixel_format = 0) {
    return {step, GetLastError(), pixel_format};
}

// Binds a context to the window's device context and makes it current here.
GlSetupResult BindContext(RendererCore& renderer) {
    if (!renderer.window) return {"CreateWindowExW", renderer.window_error, 0};
    renderer.device_context = WindowDc(renderer.window);
    HDC dc = renderer.device_context.get();
    if (!dc) return Failed("GetDC");
    const PIXELFORMATDESCRIPTOR pfd = RequestedPixelFormat(renderer.color_bits);
    const int format = ChoosePixelFormat(dc, &pfd);
    if (format == 0) return Failed("ChoosePixelFormat");
    if (!SetPixelFormat(dc, format, &pfd)) return Failed("SetPixelFormat", format);
    renderer.gl_context.reset(wglCreateContext(dc));
    if (!renderer.gl_context) return Failed("wglCreateContext", format);
    if (!wglMakeCurrent(dc, renderer.gl_context.get())) return Failed("wglMakeCurrent", format);
    return {nullptr, 0, format};
}

}  // namespace

GlSetupResult SetUpGl(RendererCore& renderer) {
    const GlSetupResult result = BindContext(renderer);
    if (!result.failed_step) {
        ShowWindow(renderer.window, SW_SHOWNORMAL);
        SetWindowLongPtrW(renderer.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&renderer));
        return result;
    }
    renderer.gl_context.reset();
    renderer.device_context.reset();
    if (renderer.own_window && renderer.window) {
        DestroyOwnWindow(renderer.window);
        renderer.window = nullptr;
    }
    return result;
}

void GiveBackHostWindow(RendererCore& renderer) {
    if (!renderer.host_window_proc) return;
    SetWindowLongPtrW(renderer.window, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(renderer.host_window_proc));
    SetWindowLongPtrW(renderer.window, GWLP_USERDATA, renderer.host_user_data);
    renderer.host_window_proc = nullptr;
}

HINSTANCE RendererModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

}  // namespace noxd
