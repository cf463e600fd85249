#include "gl_probe.h"

#include <GL/gl.h>

#include <sstream>

namespace noxd_test {

namespace {

const wchar_t kClassName[] = L"noxd_test_gl_probe";

// Each probe's window takes a pixel format of its own: Windows lets a window
// have one only once.
bool RegisterProbeClass() {
    WNDCLASSW wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::string Failed(const char* step) {
    std::ostringstream text;
    text << step << " failed, error " << GetLastError();
    return text.str();
}

std::string StringOf(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : std::string();
}

}  // namespace

GlProbe::GlProbe()
    : previous_dc_(wglGetCurrentDC()), previous_context_(wglGetCurrentContext()) {
    if (!RegisterProbeClass()) {
        failure_ = Failed("RegisterClassW");
        return;
    }
    window_.reset(CreateWindowW(kClassName, L"noxd GL probe", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window_) {
        failure_ = Failed("CreateWindowW");
        return;
    }
    dc_ = noxd::WindowDc(window_.get());
    if (!dc_) {
        failure_ = Failed("GetDC");
        return;
    }
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    const int chosen = ChoosePixelFormat(dc_.get(), &format);
    if (chosen == 0) {
        failure_ = Failed("ChoosePixelFormat");
        return;
    }
    if (!SetPixelFormat(dc_.get(), chosen, &format)) {
        failure_ = Failed("SetPixelFormat");
        return;
    }
    context_.reset(wglCreateContext(dc_.get()));
    if (!context_) {
        failure_ = Failed("wglCreateContext");
        return;
    }
    if (!wglMakeCurrent(dc_.get(), context_.get())) {
        failure_ = Failed("wglMakeCurrent");
        return;
    }
    version_ = StringOf(GL_VERSION);
    renderer_ = StringOf(GL_RENDERER);
    extensions_ = StringOf(GL_EXTENSIONS);
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    max_texture_size_ = size;
}

GlProbe::~GlProbe() {
    context_.reset();
    if (previous_context_) wglMakeCurrent(previous_dc_, previous_context_);
}

bool GlProbe::HasExtension(const char* name) const {
    std::istringstream words(extensions_);
    std::string word;
    while (words >> word) {
        if (word == name) return true;
    }
    return false;
}

PROC GlProbe::Proc(const char* name) const { return wglGetProcAddress(name); }

}  // namespace noxd_test
